// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include <errorexplanation.h>

#include <Vexo.h>

#include <QTest>

using VexoTool::ErrorExplanation;

class tst_ErrorExplanation : public QObject
{
    Q_OBJECT

private slots:
    void secondLine_data();
    void secondLine();
    void codeInResult_data();
    void codeInResult();
};

void tst_ErrorExplanation::secondLine_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QString>("says"); // a phrase the explanation must hold; empty: no second line

    QTest::addRow("wrong password warns of the lock-out") << quint32(VEXO_ERR_DEVICE_DENY) << "five wrong tries";
    QTest::addRow("time-out may still be applied") << quint32(VEXO_ERR_TIMEOUT) << "may still apply the change";
    QTest::addRow("lock-out: wait or use Forget Password") << quint32(VEXO_ERR_LOCKED) << "or use Forget Password";
    QTest::addRow("unsupported setting names IPv6") << quint32(VEXO_ERR_UNSUPPORTED) << "IPv6";
    QTest::addRow("impostor got nothing secret") << quint32(VEXO_ERR_UNVERIFIED) << "Nothing secret was sent";
    QTest::addRow("missing reset file: choose it again") << quint32(VEXO_ERR_FILE) << "Choose the file again";
    QTest::addRow("already active has none") << quint32(VEXO_ERR_ALREADY_ACTIVE) << "";
    QTest::addRow("protocol fault has none") << quint32(VEXO_ERR_PROTOCOL) << "";
    QTest::addRow("success has none") << quint32(VEXO_NOERROR) << "";
}

void tst_ErrorExplanation::secondLine()
{
    QFETCH(quint32, code);
    QFETCH(QString, says);
    const QString explanation = ErrorExplanation::forCode(code);
    QVERIFY2(explanation.contains(says), qPrintable(explanation));
    QCOMPARE(explanation.isEmpty(), says.isEmpty());
    const QString message = ErrorExplanation::withExplanation(QStringLiteral("Time out."), code);
    QCOMPARE(message, says.isEmpty() ? QStringLiteral("Time out.") : QStringLiteral("Time out.\n") + explanation);
}

void tst_ErrorExplanation::codeInResult_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<quint32>("code");

    QTest::addRow("English result text") << "Error2022:others" << quint32(2022);
    QTest::addRow("translated result text") << "错误2028：其他" << quint32(2028);
    QTest::addRow("success") << "Succeed" << quint32(0);
    QTest::addRow("not yet operated") << "0" << quint32(0);
}

void tst_ErrorExplanation::codeInResult()
{
    QFETCH(QString, result);
    QFETCH(quint32, code);
    QCOMPARE(ErrorExplanation::codeInResult(result), code);
}

QTEST_GUILESS_MAIN(tst_ErrorExplanation)
#include "tst_errorexplanation.moc"
