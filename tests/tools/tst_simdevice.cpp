// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// One simulated device as a state machine with its clock in the test's hands: challenge
// lifetimes and the back-off are checked to the millisecond, without waiting for them.
#include "simclient.h"

#include <simdevice.h>

#include <protocol/crypto.h>
#include <protocol/keyformats.h>

#include <QTest>

#include <algorithm>
#include <memory>

namespace {

const char kPassword[] = "Admin12345";
const char kFactoryPassword[] = "70639";
const char kNewPassword[] = "Owner-Pass77";
constexpr qint64 kChallengeLifetimeMs = 30'000;
constexpr int kLockoutSeconds = 60;
constexpr qint64 kLockoutMs = kLockoutSeconds * 1000;
// Some moment of the simulator's monotonic clock; not zero, so that nothing passes for "never".
constexpr std::int64_t kStart = 5'000'000;
const std::string kGuesser = "127.0.0.9";
const std::string kOwner = "127.0.0.1";
const std::array<std::string, 3> kRestoreDates = {"20261207", "20261208", "20261209"};

enum NonceFrom { ThisDevice, OtherDevice, BeforeRestart };
enum Situation { FourRefusals, SenderBlocked, DeviceLocked };
enum Proof { ResetKey, ResetFile, SecurityCode, ForgedResetKey, WrongSecurityCode };

DeviceRecord makeRecord(const std::string &serial, std::uint8_t number)
{
    DeviceRecord record;
    vxdp::DeviceDescription &d = record.description;
    d.serial = serial;
    d.mac = {0x02, 0x00, 0x5e, 0x10, 0x00, number};
    d.ipv4 = {192, 0, 2, number};
    d.mask = {255, 255, 255, 0};
    d.gateway = {192, 0, 2, 1};
    d.port = 8000;
    d.capabilities = VEXO_CAP_KEY_RESET; // the device takes the maker's reset keys
    d.keyFormat = VEXO_KEYFMT_NEW;
    d.typeText = "VXC";
    record.keys = vxdp::makeBoxKeyPair();
    vxdp::randomBytes(record.signingSeed.data(), record.signingSeed.size());
    record.passwordHash = vxdp::hashPassword(kPassword, true);
    vxdp::randomBytes(record.restoreSecret.data(), record.restoreSecret.size());
    vxdp::randomBytes(record.restoreSecretShort.data(), record.restoreSecretShort.size());
    return record;
}

} // namespace

Q_DECLARE_METATYPE(vxdp::Status)
Q_DECLARE_METATYPE(NonceFrom)
Q_DECLARE_METATYPE(Situation)
Q_DECLARE_METATYPE(Proof)

class tst_SimDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void challengeLifetime_data();
    void challengeLifetime();
    void lockoutDoublesPerSender_data();
    void lockoutDoublesPerSender();
    void refusalsCountAfreshAfterALockout_data();
    void refusalsCountAfreshAfterALockout();
    void deviceLockEnds_data();
    void deviceLockEnds();
    void restartForgetsRefusals_data();
    void restartForgetsRefusals();
    void ownerSparedDuringLockout_data();
    void ownerSparedDuringLockout();

private:
    DeviceContext context(std::int64_t nowMs, const std::string &sender) const;
    vxdp::Request target() const;
    /** A Modify of the service port (0: no change) with @p password, sealed with @p challenge. */
    vxdp::Request modify(const vxdp::Challenge &challenge, quint16 port, const std::string &password) const;
    /** A Modify with a challenge the device issues at the same moment. */
    vxdp::Status modifyAt(std::int64_t nowMs, const std::string &sender, const std::string &password);
    /** Five wrong passwords from @p sender at @p nowMs, each refused as such. */
    bool guessFiveTimes(std::int64_t nowMs, const std::string &sender = kGuesser);
    void restart();

    std::unique_ptr<SimDevice> m_device;
    std::unique_ptr<SimDevice> m_other;
    vxdp::SignKeyPair m_maker;
};

void tst_SimDevice::init()
{
    m_device = std::make_unique<SimDevice>(makeRecord("VXC0000001", 1));
    m_other = std::make_unique<SimDevice>(makeRecord("VXC0000002", 2));
    m_device->boot(1, "2026-12-08 10:00:00");
    m_other->boot(1, "2026-12-08 10:00:00");
    std::array<std::uint8_t, 32> seed{};
    vxdp::randomBytes(seed.data(), seed.size());
    m_maker = vxdp::signKeyPairFromSeed(seed);
}

DeviceContext tst_SimDevice::context(std::int64_t nowMs, const std::string &sender) const
{
    DeviceContext c;
    c.nowMs = nowMs;
    c.testMode = true;
    c.lockoutSeconds = kLockoutSeconds;
    c.makerPublicKey = m_maker.publicKey;
    c.restoreDates = kRestoreDates;
    c.sender = sender;
    return c;
}

vxdp::Request tst_SimDevice::target() const
{
    vxdp::Request request;
    request.target = SimClient::serialTarget(m_device->description().serial);
    return request;
}

vxdp::Request tst_SimDevice::modify(const vxdp::Challenge &challenge, quint16 port, const std::string &password) const
{
    vxdp::Request request = target();
    request.net.port = port;
    vxdp::Secret secret;
    secret.password = password;
    return SimClient::sealedWith(challenge, vxdp::MsgType::Modify, request, secret);
}

vxdp::Status tst_SimDevice::modifyAt(std::int64_t nowMs, const std::string &sender, const std::string &password)
{
    const vxdp::Challenge challenge = m_device->issueChallenge(nowMs, SimClient::newTxid(), sender);
    return m_device->handle(vxdp::MsgType::Modify, modify(challenge, 0, password), context(nowMs, sender))
        .result.status;
}

bool tst_SimDevice::guessFiveTimes(std::int64_t nowMs, const std::string &sender)
{
    for (int i = 0; i < 5; ++i) {
        if (modifyAt(nowMs, sender, "wrong-guess") != vxdp::Status::Deny)
            return false;
    }
    return true;
}

void tst_SimDevice::restart()
{
    m_device->boot(m_device->bootNumber() + 1, "2026-12-08 10:05:00");
}

void tst_SimDevice::challengeLifetime_data()
{
    QTest::addColumn<NonceFrom>("nonceFrom");
    QTest::addColumn<qint64>("usedAfterMs");
    QTest::addColumn<int>("earlierUses");
    QTest::addColumn<int>("newerChallenges");
    QTest::addColumn<int>("otherSenders"); // 0: the newer challenges went to the owner
    QTest::addColumn<vxdp::Status>("expected");

    const auto ok = vxdp::Status::Ok;
    const auto stale = vxdp::Status::StaleChallenge;
    QTest::addRow("used at once") << ThisDevice << qint64(0) << 0 << 0 << 0 << ok;
    QTest::addRow("used just inside its lifetime") << ThisDevice << kChallengeLifetimeMs - 1 << 0 << 0 << 0 << ok;
    QTest::addRow("used at the end of its lifetime") << ThisDevice << kChallengeLifetimeMs << 0 << 0 << 0 << stale;
    QTest::addRow("used after its lifetime") << ThisDevice << kChallengeLifetimeMs + 1 << 0 << 0 << 0 << stale;
    QTest::addRow("used a second time") << ThisDevice << qint64(0) << 1 << 0 << 0 << stale;
    QTest::addRow("issued by another device") << OtherDevice << qint64(0) << 0 << 0 << 0 << stale;
    QTest::addRow("issued before a restart") << BeforeRestart << qint64(0) << 0 << 0 << 0 << stale;
    // Each sender holds at most 8 outstanding challenges, all senders together 32.
    QTest::addRow("7 newer challenges of the owner") << ThisDevice << qint64(0) << 0 << 7 << 0 << ok;
    QTest::addRow("8 newer challenges of the owner") << ThisDevice << qint64(0) << 0 << 8 << 0 << stale;
    QTest::addRow("a flood of 12000 from another address") << ThisDevice << qint64(0) << 0 << 12000 << 1 << ok;
    QTest::addRow("a flood of 12000 from 31 other addresses") << ThisDevice << qint64(0) << 0 << 12000 << 31 << ok;
    // A sender that forges as many addresses as the table holds can still push the owner out.
    QTest::addRow("one from each of 31 other addresses") << ThisDevice << qint64(0) << 0 << 31 << 31 << ok;
    QTest::addRow("one from each of 32 other addresses") << ThisDevice << qint64(0) << 0 << 32 << 32 << stale;
}

void tst_SimDevice::challengeLifetime()
{
    QFETCH(NonceFrom, nonceFrom);
    QFETCH(qint64, usedAfterMs);
    QFETCH(int, earlierUses);
    QFETCH(int, newerChallenges);
    QFETCH(int, otherSenders);
    QFETCH(vxdp::Status, expected);

    SimDevice &issuer = nonceFrom == OtherDevice ? *m_other : *m_device;
    vxdp::Challenge challenge = issuer.issueChallenge(kStart, SimClient::newTxid(), kOwner);
    // Sealed to the asked device whoever issued the nonce, so that the device can open it.
    challenge.publicKey = m_device->record().keys.publicKey;
    for (int i = 0; i < newerChallenges; ++i) {
        const std::string sender = otherSenders ? "192.0.2." + std::to_string(1 + i % otherSenders) : kOwner;
        m_device->issueChallenge(kStart + i % 1000, SimClient::newTxid(), sender);
    }
    if (nonceFrom == BeforeRestart)
        restart();
    for (int i = 0; i < earlierUses; ++i) {
        const auto earlier = m_device->handle(vxdp::MsgType::Modify, modify(challenge, quint16(9000 + i), kPassword),
                                              context(kStart, kOwner));
        QCOMPARE(earlier.result.status, vxdp::Status::Ok);
    }

    vxdp::Request request = target();
    request.net.port = 8123;
    vxdp::Secret secret;
    secret.password = kPassword;
    vxdp::randomBytes(secret.replyKey.data(), secret.replyKey.size());
    const DeviceOutcome outcome = m_device->handle(
        vxdp::MsgType::Modify, SimClient::sealedWith(challenge, vxdp::MsgType::Modify, request, secret),
        context(kStart + usedAfterMs, kOwner));
    QCOMPARE(outcome.result.status, expected);
    // A stale answer is carried out no further, but still tagged: the requester must be able
    // to trust it to ask again.
    QCOMPARE(m_device->description().port == 8123, expected == vxdp::Status::Ok);
    QCOMPARE(outcome.persist, expected == vxdp::Status::Ok);
    QVERIFY(outcome.replyKey.has_value());
    QVERIFY(*outcome.replyKey == secret.replyKey);
}

void tst_SimDevice::lockoutDoublesPerSender_data()
{
    QTest::addColumn<int>("earlierLockouts");
    QTest::addColumn<bool>("rightPasswordBetween");
    QTest::addColumn<qint64>("triedAfterMs");
    QTest::addColumn<vxdp::Status>("expected");

    const auto ok = vxdp::Status::Ok;
    const auto locked = vxdp::Status::Locked;
    QTest::addRow("first lockout, its last millisecond") << 0 << false << kLockoutMs - 1 << locked;
    QTest::addRow("first lockout, at its end") << 0 << false << kLockoutMs << ok;
    QTest::addRow("second lockout twice as long, its last millisecond") << 1 << false << 2 * kLockoutMs - 1 << locked;
    QTest::addRow("second lockout, at its end") << 1 << false << 2 * kLockoutMs << ok;
    QTest::addRow("third lockout four times as long, its last millisecond")
        << 2 << false << 4 * kLockoutMs - 1 << locked;
    QTest::addRow("seventh lockout 64 times as long, its last millisecond")
        << 6 << false << 64 * kLockoutMs - 1 << locked;
    QTest::addRow("seventh lockout, at its end") << 6 << false << 64 * kLockoutMs << ok;
    QTest::addRow("eighth lockout no longer than the seventh") << 7 << false << 64 * kLockoutMs << ok;
    QTest::addRow("after a right password the next lockout is a first one, its last millisecond")
        << 2 << true << kLockoutMs - 1 << locked;
    QTest::addRow("after a right password the next lockout is a first one, at its end")
        << 2 << true << kLockoutMs << ok;
}

void tst_SimDevice::lockoutDoublesPerSender()
{
    QFETCH(int, earlierLockouts);
    QFETCH(bool, rightPasswordBetween);
    QFETCH(qint64, triedAfterMs);
    QFETCH(vxdp::Status, expected);

    std::int64_t now = kStart;
    for (int k = 0; k < earlierLockouts; ++k) {
        QVERIFY(guessFiveTimes(now));
        now += kLockoutMs << std::min(k, 6);
    }
    if (rightPasswordBetween)
        QCOMPARE(modifyAt(now, kGuesser, kPassword), vxdp::Status::Ok);

    QVERIFY(guessFiveTimes(now));
    // Blocked from the fifth refusal on, without its password being checked; others are not.
    QCOMPARE(modifyAt(now, kGuesser, kPassword), vxdp::Status::Locked);
    QCOMPARE(modifyAt(now, kOwner, kPassword), vxdp::Status::Ok);
    QCOMPARE(modifyAt(now + triedAfterMs, kGuesser, kPassword), expected);
}

void tst_SimDevice::refusalsCountAfreshAfterALockout_data()
{
    QTest::addColumn<int>("triesWhileBlocked");
    QTest::addColumn<int>("wrongAfterTheEnd");
    QTest::addColumn<vxdp::Status>("rightPasswordThen");

    QTest::addRow("right password at the end") << 0 << 0 << vxdp::Status::Ok;
    QTest::addRow("one wrong password after the end is only refused") << 0 << 1 << vxdp::Status::Ok;
    QTest::addRow("four wrong passwords after the end do not block") << 0 << 4 << vxdp::Status::Ok;
    QTest::addRow("the fifth wrong password after the end blocks again") << 0 << 5 << vxdp::Status::Locked;
    QTest::addRow("tries while blocked do not count") << 4 << 4 << vxdp::Status::Ok;
}

void tst_SimDevice::refusalsCountAfreshAfterALockout()
{
    QFETCH(int, triesWhileBlocked);
    QFETCH(int, wrongAfterTheEnd);
    QFETCH(vxdp::Status, rightPasswordThen);

    QVERIFY(guessFiveTimes(kStart));
    for (int i = 1; i <= triesWhileBlocked; ++i)
        QCOMPARE(modifyAt(kStart + kLockoutMs - i, kGuesser, "wrong-guess"), vxdp::Status::Locked);
    const std::int64_t end = kStart + kLockoutMs;
    for (int i = 0; i < wrongAfterTheEnd; ++i)
        QCOMPARE(modifyAt(end + i, kGuesser, "wrong-guess"), vxdp::Status::Deny);
    QCOMPARE(modifyAt(end + wrongAfterTheEnd, kGuesser, kPassword), rightPasswordThen);
}

void tst_SimDevice::deviceLockEnds_data()
{
    QTest::addColumn<qint64>("triedAfterMs");
    QTest::addColumn<bool>("restartBefore");
    QTest::addColumn<vxdp::Status>("expected");

    QTest::addRow("its last millisecond") << kLockoutMs - 1 << false << vxdp::Status::Locked;
    QTest::addRow("at its end") << kLockoutMs << false << vxdp::Status::Ok;
    QTest::addRow("after a restart") << qint64(1) << true << vxdp::Status::Ok;
}

void tst_SimDevice::deviceLockEnds()
{
    QFETCH(qint64, triedAfterMs);
    QFETCH(bool, restartBefore);
    QFETCH(vxdp::Status, expected);

    m_device->lock(kStart, kLockoutSeconds);
    QCOMPARE(modifyAt(kStart, kOwner, kPassword), vxdp::Status::Locked);
    if (restartBefore)
        restart();
    QCOMPARE(modifyAt(kStart + triedAfterMs, kOwner, kPassword), expected);
    QCOMPARE(modifyAt(kStart + triedAfterMs, kGuesser, kPassword), expected);
}

void tst_SimDevice::restartForgetsRefusals_data()
{
    QTest::addColumn<int>("wrongBeforeRestart");
    QTest::addColumn<int>("wrongAfterRestart");

    QTest::addRow("a block") << 5 << 0;
    QTest::addRow("four refusals") << 4 << 4;
}

void tst_SimDevice::restartForgetsRefusals()
{
    QFETCH(int, wrongBeforeRestart);
    QFETCH(int, wrongAfterRestart);

    for (int i = 0; i < wrongBeforeRestart; ++i)
        QCOMPARE(modifyAt(kStart, kGuesser, "wrong-guess"), vxdp::Status::Deny);
    restart();
    for (int i = 0; i < wrongAfterRestart; ++i)
        QCOMPARE(modifyAt(kStart + 1, kGuesser, "wrong-guess"), vxdp::Status::Deny);
    QCOMPARE(modifyAt(kStart + 1, kGuesser, kPassword), vxdp::Status::Ok);
}

void tst_SimDevice::ownerSparedDuringLockout_data()
{
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<Proof>("proof");
    QTest::addColumn<vxdp::Status>("expected");
    QTest::addColumn<vxdp::Status>("passwordThen");

    const auto ok = vxdp::Status::Ok;
    const auto locked = vxdp::Status::Locked;
    QTest::addRow("reset key while the sender is blocked") << SenderBlocked << ResetKey << ok << ok;
    QTest::addRow("reset file while the sender is blocked") << SenderBlocked << ResetFile << ok << ok;
    QTest::addRow("security code while the sender is blocked") << SenderBlocked << SecurityCode << ok << ok;
    QTest::addRow("reset key while the device is locked") << DeviceLocked << ResetKey << ok << ok;
    QTest::addRow("security code while the device is locked") << DeviceLocked << SecurityCode << ok << ok;
    QTest::addRow("forged reset key while the sender is blocked")
        << SenderBlocked << ForgedResetKey << locked << locked;
    QTest::addRow("wrong security code while the device is locked")
        << DeviceLocked << WrongSecurityCode << locked << locked;
    QTest::addRow("forged reset key as the fifth refusal")
        << FourRefusals << ForgedResetKey << vxdp::Status::Deny << locked;
    QTest::addRow("wrong security code as the fifth refusal")
        << FourRefusals << WrongSecurityCode << vxdp::Status::Deny << locked;
}

void tst_SimDevice::ownerSparedDuringLockout()
{
    QFETCH(Situation, situation);
    QFETCH(Proof, proof);
    QFETCH(vxdp::Status, expected);
    QFETCH(vxdp::Status, passwordThen);

    const std::string serial = m_device->description().serial;
    vxdp::Request keyQuery = target();
    keyQuery.command = 1;
    const auto material = vxdp::parseKeyMaterial(
        m_device->handle(vxdp::MsgType::GetKey, keyQuery, context(kStart, kGuesser)).result.keyMaterial);
    QVERIFY(material);

    switch (situation) {
    case FourRefusals:
        for (int i = 0; i < 4; ++i)
            QCOMPARE(modifyAt(kStart, kGuesser, "wrong-guess"), vxdp::Status::Deny);
        break;
    case SenderBlocked:
        QVERIFY(guessFiveTimes(kStart));
        break;
    case DeviceLocked:
        m_device->lock(kStart, kLockoutSeconds);
        break;
    }

    vxdp::SignKeyPair signer = m_maker;
    if (proof == ForgedResetKey) {
        std::array<std::uint8_t, 32> seed{};
        vxdp::randomBytes(seed.data(), seed.size());
        signer = vxdp::signKeyPairFromSeed(seed);
    }
    const std::string resetKey
        = vxdp::formatResetKey(1, vxdp::sign(signer, vxdp::resetMessage(1, serial, material->nonce)));
    vxdp::Secret secret;
    auto type = vxdp::MsgType::Reset;
    switch (proof) {
    case ResetKey:
    case ForgedResetKey:
        secret.password = kNewPassword;
        secret.materialKind = std::uint8_t(vxdp::MaterialKind::Key);
        secret.material = resetKey;
        break;
    case ResetFile:
        secret.password = kNewPassword;
        secret.materialKind = std::uint8_t(vxdp::MaterialKind::File);
        secret.material = vxdp::formatResetFile(serial, resetKey);
        break;
    case SecurityCode:
    case WrongSecurityCode:
        type = vxdp::MsgType::Restore;
        secret.material = proof == SecurityCode
                              ? vxdp::securityCode(m_device->record().restoreSecret, serial, kRestoreDates[1])
                              : std::string("0000000000000000");
        break;
    }
    const vxdp::Challenge challenge = m_device->issueChallenge(kStart, SimClient::newTxid(), kGuesser);
    const DeviceOutcome outcome
        = m_device->handle(type, SimClient::sealedWith(challenge, type, target(), secret), context(kStart, kGuesser));
    QCOMPARE(outcome.result.status, expected);

    // A success clears every block at once: the sender's own password works again.
    std::string password = kPassword;
    if (expected == vxdp::Status::Ok)
        password = type == vxdp::MsgType::Restore ? kFactoryPassword : kNewPassword;
    QCOMPARE(modifyAt(kStart, kGuesser, password), passwordThen);
}

QTEST_GUILESS_MAIN(tst_SimDevice)
#include "tst_simdevice.moc"
