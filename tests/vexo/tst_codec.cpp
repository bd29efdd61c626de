// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "protocol/codec.h"
#include "protocol/crypto.h"
#include "protocol/identity.h"
#include "protocol/keyformats.h"

#include <QTest>

using namespace vxdp;
using Bytes = std::vector<std::uint8_t>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(vxdp::DecodeError)

namespace {

DeviceDescription sampleDevice()
{
    DeviceDescription d;
    d.serial = "VX-C204220260101AAWR123456789";
    d.mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    d.ipv4 = {192, 0, 2, 64};
    d.mask = {255, 255, 255, 0};
    d.gateway = {192, 0, 2, 1};
    d.ipv6[0] = 0x20;
    d.ipv6[1] = 0x01;
    d.ipv6PrefixLength = 64;
    d.typeCode = 0x9D12;
    d.port = 8000;
    d.httpPort = 80;
    d.channels = 1;
    d.capabilities = VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6 | VEXO_CAP_DHCP | VEXO_CAP_KEY_RESET;
    d.extendedValid = 1;
    d.typeText = "VX-C2042";
    d.softwareVersion = "V5.5.0 build 260101";
    d.dspVersion = "V7.3 build 251201";
    d.startTime = "2026-12-08 08:00:00";
    return d;
}

Bytes header(std::uint8_t type, std::uint16_t bodyLength, std::uint8_t version = kVersion)
{
    return {'V',
            'X',
            'D',
            'P',
            version,
            type,
            static_cast<std::uint8_t>(bodyLength),
            static_cast<std::uint8_t>(bodyLength >> 8),
            1,
            0,
            0,
            0};
}

} // namespace

class tst_Codec : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void malformed_data();
    void malformed();
    void everyTruncationRefused();
    void secretRoundTrip();
    void sealing();
    void certificate_data();
    void certificate();
    void deviceSignatures_data();
    void deviceSignatures();
    void passwordHash();
    void keyMaterial_data();
    void keyMaterial();
    void resetKeyAndFile();
    void qrTexts_data();
    void qrTexts();
    void securityCode();
    void macText_data();
    void macText();
};

void tst_Codec::roundTrip_data()
{
    QTest::addColumn<Bytes>("datagram");
    Announce a;
    a.reason = AnnounceReason::Changed;
    a.boot = 77;
    a.sequence = 5;
    a.signingKey.fill(3);
    a.certificate.assign(64, 4);
    a.signature.assign(64, 6);
    a.publicKey.fill(9);
    a.device = sampleDevice();
    Request modify;
    modify.target = {TargetKind::Mac, "02-11-22-33-44-55"};
    modify.net.ipv4 = {198, 51, 100, 7};
    modify.net.flags = kNetIpv4;
    modify.net.port = 8001;
    modify.sealed.assign(80, 0xAB);
    Request getKey;
    getKey.target = {TargetKind::Serial, "SER1"};
    getKey.command = 2;
    Challenge c;
    c.nonce.fill(1);
    c.publicKey.fill(2);

    QTest::addRow("inquiry") << encodeInquiry(5);
    QTest::addRow("announce") << encodeAnnounce(0, a);
    QTest::addRow("challenge") << encodeChallenge(9, c);
    QTest::addRow("challenge request") << encodeRequest(MsgType::ChallengeRequest, 3, getKey);
    QTest::addRow("modify") << encodeRequest(MsgType::Modify, 4, modify);
    QTest::addRow("get key") << encodeRequest(MsgType::GetKey, 6, getKey);
    QTest::addRow("result with key") << encodeResult(8, {Status::Ok, "VK1.SER1.AAAAAAAAAAAAAAAA", {}});
    QTest::addRow("result denied") << encodeResult(8, {Status::Deny, {}, {}});
    c.signature.assign(64, 7);
    QTest::addRow("signed challenge") << encodeChallenge(9, c);
    QTest::addRow("tagged result") << encodeResult(8, {Status::Ok, {}, Bytes(32, 5)});
}

void tst_Codec::roundTrip()
{
    QFETCH(Bytes, datagram);
    const Decoded d = decode(datagram.data(), datagram.size());
    QCOMPARE(d.error, DecodeError::None);
    const Message &m = d.message;
    Bytes again;
    switch (m.header.type) {
    case MsgType::Inquiry:
        again = encodeInquiry(m.header.txid);
        break;
    case MsgType::Announce:
        again = encodeAnnounce(m.header.txid, m.announce);
        QCOMPARE(m.announce.device, sampleDevice());
        break;
    case MsgType::Challenge:
        again = encodeChallenge(m.header.txid, m.challenge);
        break;
    case MsgType::Result:
        again = encodeResult(m.header.txid, m.result);
        break;
    default:
        again = encodeRequest(m.header.type, m.header.txid, m.request);
    }
    QCOMPARE(again, datagram);
}

void tst_Codec::malformed_data()
{
    QTest::addColumn<Bytes>("datagram");
    QTest::addColumn<DecodeError>("error");

    Bytes good = encodeResult(1, {Status::Ok, "key", {}});
    QTest::addRow("empty") << Bytes{} << DecodeError::TooShort;
    QTest::addRow("header cut") << Bytes(good.begin(), good.begin() + 11) << DecodeError::TooShort;
    Bytes huge = header(0x01, 1461);
    huge.resize(1473);
    QTest::addRow("oversized") << huge << DecodeError::TooLong;
    Bytes magic = good;
    magic[0] = 'W';
    QTest::addRow("bad magic") << magic << DecodeError::BadMagic;
    Bytes version = good;
    version[4] = 2;
    QTest::addRow("future version") << version << DecodeError::BadVersion;
    Bytes length = good;
    length[6] += 1;
    QTest::addRow("length says more") << length << DecodeError::BadLength;
    QTest::addRow("unknown type") << header(0x7F, 0) << DecodeError::UnknownType;
    Bytes trailing = encodeInquiry(1);
    trailing.push_back(0);
    trailing[6] = 1;
    QTest::addRow("trailing bytes") << trailing << DecodeError::TrailingBytes;

    // A key text that claims more bytes than the datagram has.
    Bytes cut = header(0x30, 6);
    cut.insert(cut.end(), {0, 0, 0, 0, 10, 0});
    QTest::addRow("string past the end") << cut << DecodeError::Truncated;

    Bytes longSerial = header(0x10, 2 + 48);
    longSerial.push_back(1);
    longSerial.push_back(48);
    longSerial.insert(longSerial.end(), 48, 'A');
    QTest::addRow("serial wider than its field") << longSerial << DecodeError::BadField;

    Bytes nul = header(0x10, 2 + 3);
    nul.insert(nul.end(), {1, 3, 'A', 0, 'B'});
    QTest::addRow("NUL inside a text") << nul << DecodeError::BadField;

    Bytes kind = header(0x10, 2 + 1);
    kind.insert(kind.end(), {7, 1, 'A'});
    QTest::addRow("unknown target kind") << kind << DecodeError::BadField;

    Request r;
    r.target = {TargetKind::Serial, "S"};
    r.sealed.assign(10, 1);
    QTest::addRow("sealed box too small") << encodeRequest(MsgType::Activate, 1, r) << DecodeError::BadField;

    Announce a;
    a.device = sampleDevice();
    a.device.ipv6PrefixLength = 129;
    QTest::addRow("prefix above 128") << encodeAnnounce(0, a) << DecodeError::BadField;
    a.device = sampleDevice();
    a.device.serial.clear();
    QTest::addRow("empty serial") << encodeAnnounce(0, a) << DecodeError::BadField;
}

void tst_Codec::malformed()
{
    QFETCH(Bytes, datagram);
    QFETCH(DecodeError, error);
    QCOMPARE(decode(datagram.data(), datagram.size()).error, error);
}

void tst_Codec::everyTruncationRefused()
{
    Announce a;
    a.device = sampleDevice();
    const Bytes full = encodeAnnounce(0, a);
    for (std::size_t n = 0; n < full.size(); ++n) {
        // Keep the length field honest so that the body parser itself meets the cut.
        Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        if (n >= kHeaderSize) {
            cut[6] = static_cast<std::uint8_t>(n - kHeaderSize);
            cut[7] = static_cast<std::uint8_t>((n - kHeaderSize) >> 8);
        }
        QVERIFY2(!decode(cut.data(), cut.size()), qPrintable(QString::number(n)));
    }
}

void tst_Codec::secretRoundTrip()
{
    Secret s;
    s.type = MsgType::Reset;
    s.nonce.fill(4);
    s.bound.fill(5);
    s.replyKey.fill(6);
    s.password = "Abcdef123456789!";
    s.resetIpc = 1;
    s.materialKind = static_cast<std::uint8_t>(MaterialKind::File);
    s.material = std::string("<xml>\0</xml>", 12);
    const Bytes b = encodeSecret(s);
    const auto back = decodeSecret(b.data(), b.size());
    QVERIFY(back.has_value());
    QCOMPARE(*back, s);

    Bytes wrongType = b;
    wrongType[0] = static_cast<std::uint8_t>(MsgType::GetKey);
    QVERIFY(!decodeSecret(wrongType.data(), wrongType.size()));
    Bytes cut(b.begin(), b.end() - 1);
    QVERIFY(!decodeSecret(cut.data(), cut.size()));
}

void tst_Codec::sealing()
{
    const BoxKeyPair device = makeBoxKeyPair();
    const BoxKeyPair other = makeBoxKeyPair();
    const Bytes plain{'s', 'e', 'c', 'r', 'e', 't'};
    Bytes sealed = seal(device.publicKey, plain);
    QCOMPARE(sealed.size(), plain.size() + kSealOverhead);
    QVERIFY(std::search(sealed.begin(), sealed.end(), plain.begin(), plain.end()) == sealed.end());
    QCOMPARE(openSealed(device, sealed).value_or(Bytes{}), plain);
    QVERIFY(!openSealed(other, sealed));
    sealed[40] ^= 1;
    QVERIFY(!openSealed(device, sealed));
}

namespace {

SignKeyPair randomSignKeys()
{
    std::array<std::uint8_t, 32> seed{};
    randomBytes(seed.data(), seed.size());
    return signKeyPairFromSeed(seed);
}

Announce certifiedSample(const SignKeyPair &ca, const SignKeyPair &device)
{
    Announce a;
    a.device = sampleDevice();
    a.publicKey = makeBoxKeyPair().publicKey;
    a.signingKey = device.publicKey;
    a.certificate = issueCertificate(ca, a);
    return a;
}

} // namespace

void tst_Codec::certificate_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("valid");
    QTest::addRow("as issued") << 0 << true;
    QTest::addRow("another serial number") << 1 << false;
    QTest::addRow("another MAC") << 2 << false;
    QTest::addRow("another type code") << 3 << false;
    QTest::addRow("another public key") << 4 << false;
    QTest::addRow("another signing key") << 5 << false;
    QTest::addRow("issued by another CA") << 6 << false;
    QTest::addRow("missing") << 7 << false;
    QTest::addRow("another address and name (not certified)") << 8 << true;
}

void tst_Codec::certificate()
{
    QFETCH(int, change);
    QFETCH(bool, valid);
    const SignKeyPair ca = randomSignKeys();
    Announce a = certifiedSample(ca, randomSignKeys());
    switch (change) {
    case 1:
        a.device.serial += "X";
        break;
    case 2:
        a.device.mac[5] ^= 1;
        break;
    case 3:
        a.device.typeCode += 1;
        break;
    case 4:
        a.publicKey[0] ^= 1;
        break;
    case 5:
        a.signingKey = randomSignKeys().publicKey;
        break;
    case 6:
        a.certificate = issueCertificate(randomSignKeys(), a);
        break;
    case 7:
        a.certificate.clear();
        break;
    case 8:
        a.device.ipv4 = {203, 0, 113, 9};
        a.device.typeText = "OTHER";
        break;
    }
    QCOMPARE(certificateValid(ca.publicKey, a), valid);
    // What goes over the wire verifies the same.
    const Bytes wire = encodeAnnounce(0, a);
    const Decoded d = decode(wire.data(), wire.size());
    QVERIFY(d);
    QCOMPARE(certificateValid(ca.publicKey, d.message.announce), valid);
}

void tst_Codec::deviceSignatures_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("valid");
    QTest::addRow("as signed") << 0 << true;
    QTest::addRow("announcement: reason changed to goodbye") << 1 << false;
    QTest::addRow("announcement: older sequence") << 2 << false;
    QTest::addRow("announcement: address changed") << 3 << false;
    QTest::addRow("announcement: signed by another key") << 4 << false;
    QTest::addRow("announcement: unsigned") << 5 << false;
    QTest::addRow("challenge for another transaction") << 6 << false;
    QTest::addRow("challenge with another nonce") << 7 << false;
    QTest::addRow("result: status changed") << 8 << false;
    QTest::addRow("result: tagged with another reply key") << 9 << false;
    QTest::addRow("result: untagged") << 10 << false;
    QTest::addRow("result: key material changed") << 11 << false;
}

void tst_Codec::deviceSignatures()
{
    QFETCH(int, change);
    QFETCH(bool, valid);
    const SignKeyPair device = randomSignKeys();
    Announce a = certifiedSample(randomSignKeys(), device);
    a.boot = 1000;
    a.sequence = 7;
    signAnnounce(device, a);
    Challenge c;
    c.nonce.fill(3);
    c.publicKey = a.publicKey;
    signChallenge(device, 42, c);
    std::uint32_t challengeTx = 42;
    std::array<std::uint8_t, kReplyKeySize> replyKey{};
    replyKey.fill(9);
    Result r{Status::Ok, "VK1.SER.AAAAAAAAAAAAAAAA", {}};
    tagResult(replyKey, 77, r);

    switch (change) {
    case 1:
        a.reason = AnnounceReason::Goodbye;
        break;
    case 2:
        a.sequence = 6;
        break;
    case 3:
        a.device.ipv4[3] = 200;
        break;
    case 4:
        signAnnounce(randomSignKeys(), a);
        break;
    case 5:
        a.signature.clear();
        break;
    case 6:
        challengeTx = 43;
        break;
    case 7:
        c.nonce[0] = 4;
        break;
    case 8:
        r.status = Status::Deny;
        break;
    case 9:
        replyKey[0] = 1;
        break;
    case 10:
        r.tag.clear();
        break;
    case 11:
        r.keyMaterial = "VK1.OTHER.AAAAAAAAAAAAAAAA";
        break;
    }
    const bool all = announceSignatureValid(device.publicKey, a)
                     && challengeSignatureValid(device.publicKey, challengeTx, c) && resultTagValid(replyKey, 77, r);
    QCOMPARE(all, valid);
}

void tst_Codec::passwordHash()
{
    const std::string h = hashPassword("Admin12345", true);
    QVERIFY(!h.empty());
    QVERIFY(h.find("Admin12345") == std::string::npos);
    QVERIFY(verifyPassword(h, "Admin12345"));
    QVERIFY(!verifyPassword(h, "admin12345"));
    QVERIFY(!verifyPassword({}, "Admin12345"));
    QVERIFY(hashPassword("Admin12345", true) != h); // salted
}

void tst_Codec::keyMaterial_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("serial");
    QTest::addRow("older scheme") << 1 << QStringLiteral("VX-C204220260101AAWR123456789");
    QTest::addRow("newer scheme") << 2 << QStringLiteral("SER.WITH.DOTS");
    QTest::addRow("longest serial") << 1 << QString(47, QLatin1Char('Z'));
}

void tst_Codec::keyMaterial()
{
    QFETCH(int, scheme);
    QFETCH(QString, serial);
    KeyMaterial k;
    k.scheme = scheme;
    k.serial = serial.toStdString();
    randomBytes(k.nonce.data(), k.nonce.size());
    const std::string text = formatKeyMaterial(k);
    QVERIFY(text.size() <= 100); // keeps the QR symbol scannable at a small size
    const auto back = parseKeyMaterial(text);
    QVERIFY(back.has_value());
    QCOMPARE(back->scheme, scheme);
    QCOMPARE(back->serial, k.serial);
    QVERIFY(back->nonce == k.nonce);
    QVERIFY(!parseKeyMaterial(text.substr(0, text.size() - 1)));
    QVERIFY(!parseKeyMaterial("VK3" + text.substr(3)));
}

void tst_Codec::resetKeyAndFile()
{
    std::array<std::uint8_t, 32> seed{};
    seed.fill(7);
    const SignKeyPair maker = signKeyPairFromSeed(seed);
    std::array<std::uint8_t, kResetNonceSize> nonce{};
    nonce.fill(3);
    const auto sig = sign(maker, resetMessage(1, "SER<&>", nonce));
    const std::string key = formatResetKey(1, sig);
    QVERIFY(key.size() <= 128);
    const auto parsed = parseResetKey(" " + key + "\r\n");
    QVERIFY(parsed.has_value());
    QCOMPARE(parsed->scheme, 1);
    QVERIFY(verifySignature(maker.publicKey, resetMessage(1, "SER<&>", nonce), parsed->signature.data(),
                            parsed->signature.size()));
    nonce[0] ^= 1; // another nonce: the key is useless
    QVERIFY(!verifySignature(maker.publicKey, resetMessage(1, "SER<&>", nonce), parsed->signature.data(),
                             parsed->signature.size()));

    const auto file = parseResetFile(formatResetFile("SER<&>", key));
    QVERIFY(file.has_value());
    QCOMPARE(file->serial, std::string("SER<&>"));
    QCOMPARE(file->resetKey, key);
    QVERIFY(!parseResetFile("<VexoResetFile version=\"1\"><SerialNumber>A</SerialNumber></VexoResetFile>"));
    QVERIFY(!parseResetFile("<VexoResetFile version=\"2\"><SerialNumber>A</SerialNumber><ResetKey>k</ResetKey>"
                            "</VexoResetFile>"));
}

void tst_Codec::qrTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("keyQr");
    QTest::addColumn<bool>("older");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addRow("older scheme") << "B:T1**K" << true << true << "T1"
                                  << "K";
    QTest::addRow("newer scheme") << "T1**K" << true << false << "T1"
                                  << "K";
    QTest::addRow("no separator") << "B:T1K" << false << false << ""
                                  << "";
    QTest::addRow("empty key") << "T1**" << false << false << ""
                               << "";
    QTest::addRow("restore") << "A:VX-12C3**2026SER" << false << false << "VX-12C3"
                             << "2026SER";
}

void tst_Codec::qrTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, keyQr);
    QFETCH(bool, older);
    QFETCH(QString, type);
    QFETCH(QString, value);
    const std::string t = text.toStdString();
    if (t.rfind("A:", 0) == 0) {
        const auto r = parseRestoreQr(t);
        QVERIFY(r.has_value());
        QCOMPARE(QString::fromStdString(r->deviceType), type);
        QCOMPARE(QString::fromStdString(r->serial), value);
        return;
    }
    const auto q = parseKeyQr(t);
    QCOMPARE(q.has_value(), keyQr);
    if (q) {
        QCOMPARE(q->olderScheme, older);
        QCOMPARE(QString::fromStdString(q->deviceType), type);
        QCOMPARE(QString::fromStdString(q->key), value);
    }
}

void tst_Codec::securityCode()
{
    std::array<std::uint8_t, 32> master{};
    master.fill(1);
    const auto secret = restoreDeviceSecret(master, "SER1");
    const std::string code = vxdp::securityCode(secret, "SER1", "20261208");
    QCOMPARE(code.size(), std::size_t(16));
    QVERIFY(code.size() <= kMaxSecurityCode);
    QCOMPARE(vxdp::securityCode(secret, "SER1", "20261208"), code);
    QVERIFY(vxdp::securityCode(secret, "SER1", "20261209") != code);
    QVERIFY(vxdp::securityCode(restoreDeviceSecret(master, "SER2"), "SER2", "20261208") != code);
    QCOMPARE(serialWithoutType("VX-12C3VX-12C3X77", "VX-12C3"), std::string("X77"));
    QCOMPARE(serialWithoutType("ABC", ""), std::string("ABC"));
}

void tst_Codec::macText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addRow("dashes") << "02-11-22-aa-BB-cc" << true;
    QTest::addRow("colons") << "02:11:22:aa:bb:cc" << true;
    QTest::addRow("short") << "02-11-22-aa-bb-c" << false;
    QTest::addRow("not hex") << "02-11-22-aa-bb-cg" << false;
}

void tst_Codec::macText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto mac = macFromText(text.toStdString());
    QCOMPARE(mac.has_value(), valid);
    if (mac)
        QCOMPARE(QString::fromStdString(macToText(*mac)), text.toLower().replace(QLatin1Char(':'), QLatin1Char('-')));
}

QTEST_GUILESS_MAIN(tst_Codec)
#include "tst_codec.moc"
