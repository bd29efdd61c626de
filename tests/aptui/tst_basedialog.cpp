// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <basedialog.h>
#include <basetitle.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using aptui::BaseDialog;

class TestBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowConstructionFlags_data();
    void buttonsFollowConstructionFlags();
    void buttonOutcome_data();
    void buttonOutcome();
    void execResult_data();
    void execResult();
    void reEnablingDoesNotConnectTwice();
    void defaultTextForms_data();
    void defaultTextForms();
    void contentWidgetReplacesDefaultText();
    void framelessDialogKeepsDialogType();
    void titleDoubleClickMaximisesOnlyWithMaximiseButton_data();
    void titleDoubleClickMaximisesOnlyWithMaximiseButton();
};

namespace {

QPushButton *button(const BaseDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

QToolButton *titleButton(const BaseDialog &dialog, const char *name)
{
    return dialog.titleBar()->findChild<QToolButton *>(QLatin1String(name));
}

} // namespace

void TestBaseDialog::buttonsFollowConstructionFlags_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("close");
    QTest::addRow("both buttons") << true << true << true;
    QTest::addRow("confirm only") << true << false << true;
    QTest::addRow("no buttons, no close") << false << false << false;
}

void TestBaseDialog::buttonsFollowConstructionFlags()
{
    QFETCH(bool, confirm);
    QFETCH(bool, cancel);
    QFETCH(bool, close);
    BaseDialog dialog(false, false, false, false, close, confirm, cancel);
    dialog.show();
    QCOMPARE(button(dialog, "btnConfirm")->isVisible(), confirm);
    QCOMPARE(button(dialog, "btnConfirm")->isEnabled(), confirm);
    QCOMPARE(button(dialog, "btnCancel")->isVisible(), cancel);
    QCOMPARE(button(dialog, "btnCancel")->isEnabled(), cancel);
    QCOMPARE(titleButton(dialog, "btnClose")->isVisible(), close);
    QCOMPARE(titleButton(dialog, "btnMax")->isVisible(), false);
    // The bottom bar stays until the caller hides it.
    QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("m_BaseDialogBottom"))->isVisible());
    dialog.setBottomVisible(false);
    QVERIFY(!dialog.findChild<QWidget *>(QStringLiteral("m_BaseDialogBottom"))->isVisible());
}

void TestBaseDialog::buttonOutcome_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("defaultsOn");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<int>("result");
    QTest::addRow("confirm accepts") << "btnConfirm" << true << false << int(QDialog::Accepted);
    QTest::addRow("cancel closes") << "btnCancel" << true << false << int(QDialog::Rejected);
    QTest::addRow("title close closes") << "btnClose" << true << false << int(QDialog::Rejected);
    QTest::addRow("confirm off stays open") << "btnConfirm" << false << true << int(QDialog::Rejected);
    QTest::addRow("cancel off stays open") << "btnCancel" << false << true << int(QDialog::Rejected);
    QTest::addRow("title close off stays open") << "btnClose" << false << true << int(QDialog::Rejected);
}

void TestBaseDialog::buttonOutcome()
{
    QFETCH(QString, clicked);
    QFETCH(bool, defaultsOn);
    QFETCH(bool, staysOpen);
    QFETCH(int, result);

    BaseDialog dialog(false, false, true, true, true, true, true);
    if (!defaultsOn)
        dialog.setEnableDefaultConnections(true, true, false, false, false);
    QSignalSpy confirmSpy(&dialog, &BaseDialog::signalConfirmButtonClicked);
    QSignalSpy cancelSpy(&dialog, &BaseDialog::signalCancelButtonClicked);
    QSignalSpy closeSpy(&dialog, &BaseDialog::signalCloseButtonClicked);
    dialog.setResult(-1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QAbstractButton *target = clicked == QLatin1String("btnClose")
                                  ? static_cast<QAbstractButton *>(titleButton(dialog, "btnClose"))
                                  : button(dialog, clicked.toLatin1().constData());
    QTest::mouseClick(target, Qt::LeftButton);

    QCOMPARE(dialog.isVisible(), staysOpen);
    if (!staysOpen)
        QCOMPARE(dialog.result(), result);
    else
        QCOMPARE(dialog.result(), -1);
    // The signals reach the caller whether or not the default reaction ran.
    QCOMPARE(confirmSpy.count(), clicked == QLatin1String("btnConfirm") ? 1 : 0);
    QCOMPARE(cancelSpy.count(), clicked == QLatin1String("btnCancel") ? 1 : 0);
    QCOMPARE(closeSpy.count(), clicked == QLatin1String("btnClose") ? 1 : 0);
}

void TestBaseDialog::execResult_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("result");
    QTest::addRow("confirm") << "btnConfirm" << 1;
    QTest::addRow("cancel") << "btnCancel" << 0;
}

void TestBaseDialog::execResult()
{
    QFETCH(QString, clicked);
    QFETCH(int, result);
    BaseDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog, clicked] {
        QTest::mouseClick(button(dialog, clicked.toLatin1().constData()), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), result);
}

void TestBaseDialog::reEnablingDoesNotConnectTwice()
{
    // A second maximise/restore connection would undo the first on every click.
    BaseDialog dialog(false, false, true, true, true, true, true);
    // Already connected by the constructor: enabling again must not add a second connection.
    dialog.setEnableDefaultConnections(true, true, true, true, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(titleButton(dialog, "btnMax"), Qt::LeftButton);
    QTRY_VERIFY(dialog.isMaximized());

    QTest::mouseClick(titleButton(dialog, "btnMax"), Qt::LeftButton);
    QTRY_VERIFY(!dialog.isMaximized());

    // Switched off, the button only signals.
    dialog.setEnableDefaultConnections(true, false, true, true, true);
    QSignalSpy maxSpy(&dialog, &BaseDialog::signalMaxButtonClicked);
    QTest::mouseClick(titleButton(dialog, "btnMax"), Qt::LeftButton);
    QCOMPARE(maxSpy.count(), 1);
    QVERIFY(!dialog.isMaximized());
}

void TestBaseDialog::defaultTextForms_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("expected");
    QTest::addRow("regular") << false
                             << "<html><head/><body><p align=\"center\"><span style=\" font-size:12pt;\">Hello"
                                "</span></p></body></html>";
    QTest::addRow("bold") << true
                          << "<html><head/><body><p align=\"center\"><span style=\" font-size:12pt; "
                             "font-weight:600;\">Hello</span></p></body></html>";
}

void TestBaseDialog::defaultTextForms()
{
    QFETCH(bool, bold);
    QFETCH(QString, expected);
    BaseDialog dialog;
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("m_labelNULL"));
    QVERIFY(label);
    dialog.setDefaultText(QStringLiteral("Hello"), 12, bold);
    QCOMPARE(label->text(), expected);
    dialog.setDefaultText(QStringLiteral("plain 50%"));
    QCOMPARE(label->text(), QStringLiteral("plain 50%"));
}

void TestBaseDialog::contentWidgetReplacesDefaultText()
{
    BaseDialog dialog;
    auto *content = new QLabel(QStringLiteral("mine"));
    dialog.setContentWidget(content);
    QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("m_labelNULL")));
    QCOMPARE(content->parentWidget(), dialog.findChild<QWidget *>(QStringLiteral("mainBorder")));

    // Ignored from now on rather than touching a deleted label.
    dialog.setDefaultText(QStringLiteral("late"));
    dialog.setDefaultText(QStringLiteral("late"), 10, true);
    QCOMPARE(content->text(), QStringLiteral("mine"));

    auto *second = new QLabel(QStringLiteral("second"));
    dialog.setContentWidget(second);
    // The earlier widget leaves the layout but stays alive with its parent.
    QCOMPARE(content->text(), QStringLiteral("mine"));
    QCOMPARE(second->parentWidget(), dialog.findChild<QWidget *>(QStringLiteral("mainBorder")));
}

void TestBaseDialog::framelessDialogKeepsDialogType()
{
    QWidget owner;
    BaseDialog dialog(false, false, false, false, true, true, true, &owner);
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(dialog.isWindow());
}

void TestBaseDialog::titleDoubleClickMaximisesOnlyWithMaximiseButton_data()
{
    QTest::addColumn<bool>("maxButton");
    QTest::addColumn<bool>("maximises");
    QTest::addRow("question without maximise button") << false << false;
    QTest::addRow("dialog with maximise button") << true << true;
}

void TestBaseDialog::titleDoubleClickMaximisesOnlyWithMaximiseButton()
{
    QFETCH(bool, maxButton);
    QFETCH(bool, maximises);
    BaseDialog dialog(false, false, false, maxButton, true, true, true);
    dialog.resize(350, 220);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QSize before = dialog.size();

    QTest::mouseDClick(dialog.titleBar(), Qt::LeftButton, {}, QPoint(40, 10));
    QCOMPARE(dialog.titleBar()->IsMaximized(&dialog), maximises);
    QCOMPARE(dialog.size() == before, !maximises);

    // The title still moves the dialog.
    const QPoint start = dialog.pos();
    QTest::mousePress(dialog.titleBar(), Qt::LeftButton, {}, QPoint(40, 10));
    QMouseEvent drag(QEvent::MouseMove, QPointF(70, 30), dialog.titleBar()->mapToGlobal(QPointF(70, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.titleBar(), &drag);
    QTest::mouseRelease(dialog.titleBar(), Qt::LeftButton, {}, QPoint(70, 30));
    if (!maximises)
        QCOMPARE(dialog.pos(), start + QPoint(30, 20));
}

QTEST_MAIN(TestBaseDialog)
#include "tst_basedialog.moc"
