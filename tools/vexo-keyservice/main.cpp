// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "keyservice.h"
#include "makerkeys.h"

#include <protocol/keyformats.h>
#include <secretinput.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;

const char kUsage[] = R"(Usage:
  vexo-keyservice reset (--key-file FILE | --key TEXT | --qr TEXT) [--out-file RESETFILE] [--keys-dir DIR]
  vexo-keyservice restore --qr "A:<type>**<serial>" [--date yyyyMMdd] [--keys-dir DIR]
  vexo-keyservice certify --serial S --mac aa-bb-cc-dd-ee-ff --type-code N --public-key HEX
                          --signing-key HEX [--keys-dir DIR]

The maker's customer service and factory, with the published test keys only.

reset    signs a device's key material (a key file as the program writes it, the key
         text "VK1.<serial>.<nonce>", or its QR text "B:<type>**<key>" / "<type>**<key>")
         and prints the typed reset key, or with --out-file writes the reset file.
restore  prints the security code of a restore QR text for today (local date) or --date.
certify  prints the device certificate (128 hex digits) over a device's serial number, MAC,
         type code (decimal or 0x hex), X25519 public key and Ed25519 signing key.

Options:
  --keys-dir DIR  folder with maker-signing.seed, maker-restore.master and maker-device-ca.seed
                  (default: testkeys/ beside the executable, where the build puts the
                  published test keys of tools/testkeys; an install has them only when built
                  with VEXO_INSTALL_TEST_KEYS=ON)
  -h, --help      this text
  --version       print the version

Exit codes: 0 success, 1 keys or files unusable, 2 bad input.
)";

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "vexo-keyservice: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexo-keyservice"));

    QCommandLineParser parser;
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("version"));
    const QCommandLineOption keyFileOption(QStringLiteral("key-file"), QStringLiteral("key file"),
                                           QStringLiteral("FILE"));
    const QCommandLineOption keyOption(QStringLiteral("key"), QStringLiteral("key text"), QStringLiteral("TEXT"));
    const QCommandLineOption qrOption(QStringLiteral("qr"), QStringLiteral("QR text"), QStringLiteral("TEXT"));
    const QCommandLineOption outFileOption(QStringLiteral("out-file"), QStringLiteral("reset file"),
                                           QStringLiteral("RESETFILE"));
    const QCommandLineOption dateOption(QStringLiteral("date"), QStringLiteral("date"), QStringLiteral("yyyyMMdd"));
    const QCommandLineOption keysDirOption(QStringLiteral("keys-dir"), QStringLiteral("keys folder"),
                                           QStringLiteral("DIR"), MakerKeys::defaultDir());
    const QCommandLineOption serialOption(QStringLiteral("serial"), QStringLiteral("serial"), QStringLiteral("S"));
    const QCommandLineOption macOption(QStringLiteral("mac"), QStringLiteral("MAC"), QStringLiteral("MAC"));
    const QCommandLineOption typeCodeOption(QStringLiteral("type-code"), QStringLiteral("type code"),
                                            QStringLiteral("N"));
    const QCommandLineOption publicKeyOption(QStringLiteral("public-key"), QStringLiteral("X25519 key"),
                                             QStringLiteral("HEX"));
    const QCommandLineOption signingKeyOption(QStringLiteral("signing-key"), QStringLiteral("Ed25519 key"),
                                              QStringLiteral("HEX"));
    parser.addOptions({helpOption, versionOption, keyFileOption, keyOption, qrOption, outFileOption, dateOption,
                       keysDirOption, serialOption, macOption, typeCodeOption, publicKeyOption, signingKeyOption});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("reset, restore or certify"));

    if (!parser.parse(app.arguments()))
        return fail(kExitBadInput, parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("vexo-keyservice %s\n", VEXO_VERSION);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(kExitBadInput, QStringLiteral("expected one command, reset, restore or certify (see --help)"));
    const QString command = positional.first();

    QString error;
    const auto keys = MakerKeys::load(parser.value(keysDirOption), &error);
    if (!keys)
        return fail(kExitFailure, error);
    const KeyService service(*keys);

    if (command == QLatin1String("reset")) {
        const int sources
            = int(parser.isSet(keyFileOption)) + int(parser.isSet(keyOption)) + int(parser.isSet(qrOption));
        if (sources != 1)
            return fail(kExitBadInput, QStringLiteral("reset needs exactly one of --key-file, --key and --qr"));
        if (parser.isSet(dateOption))
            return fail(kExitBadInput, QStringLiteral("--date belongs to restore"));
        QByteArray input;
        if (parser.isSet(keyFileOption)) {
            // A key file is short; anything big is not one.
            const auto text = SecretInput::readFile(parser.value(keyFileOption), &error);
            if (!text)
                return fail(kExitBadInput, error);
            input = *text;
        } else {
            input = (parser.isSet(keyOption) ? parser.value(keyOption) : parser.value(qrOption)).toUtf8();
        }
        const auto signedReset = service.signReset(std::string_view(input.constData(), size_t(input.size())), &error);
        if (!signedReset)
            return fail(kExitBadInput, error);
        if (!parser.isSet(outFileOption)) {
            std::printf("%s\n", signedReset->resetKey.c_str());
            return 0;
        }
        QSaveFile out(parser.value(outFileOption));
        const std::string xml = vxdp::formatResetFile(signedReset->serial, signedReset->resetKey);
        if (!out.open(QIODevice::WriteOnly) || out.write(xml.data(), qint64(xml.size())) != qint64(xml.size())
            || !out.commit())
            return fail(kExitFailure, QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
        return 0;
    }

    if (command == QLatin1String("restore")) {
        if (!parser.isSet(qrOption))
            return fail(kExitBadInput, QStringLiteral("restore needs --qr \"A:<type>**<serial>\""));
        if (parser.isSet(keyFileOption) || parser.isSet(keyOption) || parser.isSet(outFileOption))
            return fail(kExitBadInput, QStringLiteral("restore takes only --qr and --date"));
        const QString date = parser.isSet(dateOption) ? parser.value(dateOption)
                                                      : QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        const QByteArray qr = parser.value(qrOption).toUtf8();
        const auto code = service.securityCode(std::string_view(qr.constData(), size_t(qr.size())), date, &error);
        if (!code)
            return fail(kExitBadInput, error);
        std::printf("%s\n", code->c_str());
        return 0;
    }

    if (command == QLatin1String("certify")) {
        for (const QCommandLineOption *needed :
             {&serialOption, &macOption, &typeCodeOption, &publicKeyOption, &signingKeyOption}) {
            if (!parser.isSet(*needed))
                return fail(kExitBadInput, QStringLiteral("certify needs --%1").arg(needed->names().first()));
        }
        bool typeOk = false;
        const uint typeCode = parser.value(typeCodeOption).toUInt(&typeOk, 0);
        if (!typeOk)
            return fail(kExitBadInput, QStringLiteral("--type-code takes a 32-bit number"));
        KeyService::DeviceIdentity identity;
        identity.serial = parser.value(serialOption).toStdString();
        identity.mac = parser.value(macOption).toStdString();
        identity.typeCode = typeCode;
        identity.publicKey = parser.value(publicKeyOption).toStdString();
        identity.signingKey = parser.value(signingKeyOption).toStdString();
        const auto certificate = service.certify(identity, &error);
        if (!certificate)
            return fail(kExitBadInput, error);
        std::printf("%s\n", certificate->c_str());
        return 0;
    }

    return fail(kExitBadInput, QStringLiteral("unknown command \"%1\" (see --help)").arg(command));
}
