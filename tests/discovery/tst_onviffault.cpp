// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <onviffault.h>
#include <onvifhandler.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

using VexoTool::OnvifFailure;
using VexoTool::OnvifFailureKind;
using VexoTool::OnvifFaultText;

Q_DECLARE_METATYPE(OnvifFailure)

namespace {

OnvifFailure failureOf(OnvifFailureKind kind, int httpStatus = 0)
{
    OnvifFailure failure;
    failure.kind = kind;
    failure.httpStatus = httpStatus;
    return failure;
}

OnvifFailure soapFault(const QString &code, const QStringList &subcodes, const QString &reason = QString())
{
    OnvifFailure failure;
    failure.kind = OnvifFailureKind::SoapFault;
    failure.code = code;
    failure.subcodes = subcodes;
    failure.reason = reason;
    return failure;
}

} // namespace

class tst_OnvifFault : public QObject
{
    Q_OBJECT

private slots:
    void everyFailureReadsAsASentence_data();
    void everyFailureReadsAsASentence();
    void soapFaultText_data();
    void soapFaultText();
    void clientFailuresKeepTheirKind_data();
    void clientFailuresKeepTheirKind();
};

void tst_OnvifFault::everyFailureReadsAsASentence_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<OnvifFailure>("failure");
    for (const char *language : {"en", "zh"}) {
        const auto row = [language](const char *name, const OnvifFailure &failure) {
            QTest::addRow("%s: %s", language, name) << QString::fromLatin1(language) << failure;
        };
        row("unreachable", failureOf(OnvifFailureKind::Unreachable));
        row("connection refused", failureOf(OnvifFailureKind::ConnectionRefused));
        row("time-out", failureOf(OnvifFailureKind::TimedOut));
        row("HTTP status", failureOf(OnvifFailureKind::HttpStatus, 503));
        row("not authorised", failureOf(OnvifFailureKind::NotAuthorized, 401));
        row("malformed answer", failureOf(OnvifFailureKind::MalformedAnswer));
        row("too large", failureOf(OnvifFailureKind::TooLarge));
        row("clear-text passwords only", failureOf(OnvifFailureKind::ClearTextOnly));
        row("address not allowed in this scope", failureOf(OnvifFailureKind::AddressNotAllowed));
        row("ter:NotAuthorized", soapFault("env:Sender", {"ter:NotAuthorized"}));
        row("ter:InvalidIPv4Address", soapFault("env:Sender", {"ter:InvalidArgVal", "ter:InvalidIPv4Address"}));
        row("ter:InvalidGatewayAddress", soapFault("env:Sender", {"ter:InvalidArgVal", "ter:InvalidGatewayAddress"}));
        row("ter:InvalidArgVal", soapFault("env:Sender", {"ter:InvalidArgVal"}));
        row("ter:ActionNotSupported", soapFault("env:Receiver", {"ter:ActionNotSupported"}));
        row("env:Sender alone", soapFault("env:Sender", {}));
        row("env:Receiver alone", soapFault("env:Receiver", {}));
    }
}

void tst_OnvifFault::everyFailureReadsAsASentence()
{
    QFETCH(QString, language);
    QFETCH(OnvifFailure, failure);
    QTranslator translator;
    if (language == QLatin1String("zh")) {
        const QString dir = qEnvironmentVariable("VEXO_TEST_BIN_DIR") + QStringLiteral("/translations");
        QVERIFY2(translator.load(QStringLiteral("vexotool_zh.qm"), dir), qPrintable(dir));
        QCoreApplication::installTranslator(&translator);
    }
    const QString text = OnvifFaultText::text(failure);
    QCoreApplication::removeTranslator(&translator);

    QVERIFY(text.size() > 10);
    // Never a bare code or an untranslated text.
    QVERIFY2(!text.contains(QLatin1String("ter:")) && !text.contains(QLatin1String("env:")), qPrintable(text));
    if (language == QLatin1String("zh"))
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))), qPrintable(text));
    if (failure.kind == OnvifFailureKind::HttpStatus)
        QVERIFY2(text.contains(QLatin1String("503")), qPrintable(text));
}

void tst_OnvifFault::soapFaultText_data()
{
    QTest::addColumn<OnvifFailure>("failure");
    QTest::addColumn<QString>("says");    // a phrase the text holds
    QTest::addColumn<QString>("notSays"); // a phrase it must not hold, if any

    QTest::addRow("innermost known subcode wins")
        << soapFault("env:Sender", {"ter:InvalidArgVal", "ter:InvalidGatewayAddress"}) << "gateway"
        << "one of the values";
    QTest::addRow("any namespace prefix") << soapFault("s:Sender", {"tt:InvalidIPv4Address"}) << "IPv4 address"
                                          << "";
    QTest::addRow("unknown subcode keeps the device's reason")
        << soapFault("env:Receiver", {"ter:HardwareBusy"}, "Sensor is recalibrating") << "Sensor is recalibrating"
        << "ter:HardwareBusy";
    QTest::addRow("unknown subcode without reason names the fault in a sentence")
        << soapFault("env:Receiver", {"ter:HardwareBusy"}) << "without saying why (fault ter:HardwareBusy)"
        << "";
    QTest::addRow("reason's control characters are dropped")
        << soapFault("env:Receiver", {"x:Other"}, QStringLiteral("Busy\x1b[31m\nnow")) << "Busy[31m now"
        << "\x1b";
    QTest::addRow("reason's format characters are dropped (no right-to-left override)")
        << soapFault("env:Receiver", {"x:Other"}, QStringLiteral("Busy \u202Ewon\u200B")) << "Busy won"
        << QStringLiteral("\u202E");
    QTest::addRow("overlong reason is cut") << soapFault("env:Receiver", {"x:Other"}, QString(5000, QLatin1Char('a')))
                                            << QString(199, QLatin1Char('a')) << QString(200, QLatin1Char('a'));
}

void tst_OnvifFault::soapFaultText()
{
    QFETCH(OnvifFailure, failure);
    QFETCH(QString, says);
    QFETCH(QString, notSays);
    const QString text = OnvifFaultText::text(failure);
    QVERIFY2(text.contains(says), qPrintable(text));
    if (!notSays.isEmpty())
        QVERIFY2(!text.contains(notSays), qPrintable(text));
}

// What the client saw is what the user reads: a refused connection is not an unreachable device.
void tst_OnvifFault::clientFailuresKeepTheirKind_data()
{
    using Kind = onvif::Failure::Kind;
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("shown");
    QTest::addRow("refused") << int(Kind::Refused) << int(OnvifFailureKind::ConnectionRefused);
    QTest::addRow("unreachable") << int(Kind::Unreachable) << int(OnvifFailureKind::Unreachable);
    QTest::addRow("timed out") << int(Kind::TimedOut) << int(OnvifFailureKind::TimedOut);
    QTest::addRow("wrong password") << int(Kind::NotAuthorized) << int(OnvifFailureKind::NotAuthorized);
    QTest::addRow("too large") << int(Kind::TooLarge) << int(OnvifFailureKind::TooLarge);
    QTest::addRow("certificate changed") << int(Kind::CertificateChanged) << int(OnvifFailureKind::CertificateChanged);
    QTest::addRow("not encrypted") << int(Kind::NotEncrypted) << int(OnvifFailureKind::NotEncrypted);
}

void tst_OnvifFault::clientFailuresKeepTheirKind()
{
    QFETCH(int, client);
    QFETCH(int, shown);
    const auto failure = onvif::Failure::of(onvif::Failure::Kind(client), QStringLiteral("detail"));
    QCOMPARE(int(VEXO::OnvifHandler::failureOf(failure).kind), shown);
}

QTEST_GUILESS_MAIN(tst_OnvifFault)

#include "tst_onviffault.moc"
