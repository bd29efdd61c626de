// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"

#include <multistatelineedit.h>
#include <tipdialog.h>
#include <warningdialog.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace std::chrono_literals;
using VexoTest::whenModal;
using VexoTool::TipDialog;
using VexoTool::WarningDialog;

class TestMessageDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void kindIcon_data();
    void kindIcon();
    void closesByItself();
    void readingTime_data();
    void readingTime();
    void hoverPausesTheTime();
    void closesAtOnce_data();
    void closesAtOnce();
    void lastingMessageWaitsForTheUser();
    void closeButtonClosesAndReports();
    void showWarningMarksField_data();
    void showWarningMarksField();
    void boxSizeAndPosition_data();
    void boxSizeAndPosition();
    void tipDialogResult_data();
    void tipDialogResult();
    void tipDialogExec();
};

namespace {

// Each icon of the test resources is one solid colour, so the colour names the file.
QColor pixmapColour(const QLabel *label)
{
    const QPixmap pixmap = label->pixmap();
    if (pixmap.isNull())
        return {};
    return pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
}

} // namespace

void TestMessageDialogs::init()
{
    WarningDialog::setAutoCloseDelay(2000ms);
}

void TestMessageDialogs::kindIcon_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("colour");
    QTest::addRow("success") << 0 << QColor(0, 255, 0);
    QTest::addRow("information") << 1 << QColor(0, 0, 255);
    QTest::addRow("error") << 2 << QColor(255, 0, 0);
    QTest::addRow("unknown kind") << 3 << QColor();
    QTest::addRow("negative kind") << -1 << QColor();
}

void TestMessageDialogs::kindIcon()
{
    QFETCH(int, kind);
    QFETCH(QColor, colour);
    WarningDialog dialog(kind, QStringLiteral("Text of the message"));
    const auto *picture = dialog.findChild<QLabel *>(QStringLiteral("m_labelWarnPicture"));
    QCOMPARE(pixmapColour(picture), colour);
    if (colour.isValid())
        QCOMPARE(picture->pixmap().size(), QSize(32, 32));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("m_labelWarnText"))->text(),
             QStringLiteral("Text of the message"));
}

void TestMessageDialogs::closesByItself()
{
    WarningDialog::setAutoCloseDelay(150ms);
    QElapsedTimer clock;
    clock.start();
    // Nobody closes it: control must come back by itself.
    WarningDialog::showWarning(QPoint(10, 10), 1, QStringLiteral("wait"));
    QVERIFY2(clock.elapsed() >= 140, qPrintable(QString::number(clock.elapsed())));
}

void TestMessageDialogs::readingTime_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("milliseconds");
    const QString line = QStringLiteral("A line of thirty characters...");
    QCOMPARE(line.size(), 30);
    QTest::addRow("short success") << 0 << QStringLiteral("Activate Succeed.") << 2000;
    QTest::addRow("success of one 45-character line") << 0 << line + line.left(15) << 2000;
    QTest::addRow("short error") << 2 << QStringLiteral("Time out.") << 2000;
    QTest::addRow("error of 30 characters") << 2 << line << 2000;
    QTest::addRow("error of 31 characters") << 2 << line + u'.' << 2067;
    QTest::addRow("error of 45 characters") << 2 << line + line.left(15) << 3000;
    QTest::addRow("four-line error of 150 characters") << 2 << QStringList(5, line).join(u'\n').left(150) << 10000;
    QTest::addRow("success of two lines") << 0 << line + u'\n' + line.left(29) << 4000;
    QTest::addRow("information of 225 characters: the longest") << 1 << QString(225, u'x') << 15000;
    QTest::addRow("error of 600 characters: still 15 s") << 2 << QString(600, u'x') << 15000;
    QTest::addRow("Chinese of 12 characters") << 2 << QStringLiteral("密码不能为空请重新输入密码").left(12) << 2000;
    QTest::addRow("Chinese of 36 characters") << 2 << QString(36, QChar(0x5bc6)) << 6000;
}

void TestMessageDialogs::readingTime()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, milliseconds);
    QCOMPARE(WarningDialog::readingTime(kind, text), std::chrono::milliseconds(milliseconds));
    // The box's own timer runs for that time.
    WarningDialog dialog(kind, text);
    QCOMPARE(dialog.findChild<QTimer *>(QStringLiteral("m_closeTimer"))->interval(), milliseconds);
}

void TestMessageDialogs::hoverPausesTheTime()
{
    // The pointer rests elsewhere: the box does not appear under it.
    QCursor::setPos(5, 5);
    WarningDialog dialog(2, QStringLiteral("A message long enough to be read with the pointer on it"));
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *timer = dialog.findChild<QTimer *>(QStringLiteral("m_closeTimer"));
    QVERIFY(timer->isActive());
    // Moved over the text, as a reader does.
    const auto *text = dialog.findChild<QLabel *>(QStringLiteral("m_labelWarnText"));
    for (const QPoint &at : {QPoint(10, 10), QPoint(20, 12)}) {
        QCursor::setPos(text->mapToGlobal(at));
        QCoreApplication::processEvents();
    }
    QVERIFY(!timer->isActive()); // standing still while the pointer is over it
    QVERIFY(dialog.isVisible());
    QCursor::setPos(5, 5);
    QCoreApplication::processEvents();
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() >= 1000); // at least half the shortest time to finish reading
}

void TestMessageDialogs::closesAtOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("Esc") << "Esc";
    QTest::addRow("Enter") << "Enter";
    QTest::addRow("Return") << "Return";
    QTest::addRow("a click on the text") << "click";
}

void TestMessageDialogs::closesAtOnce()
{
    QFETCH(QString, how);
    WarningDialog dialog(2, QStringLiteral("A message that would stay for a while"));
    QSignalSpy closed(&dialog, &WarningDialog::signalWarnClose);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (how == QLatin1String("click"))
        QTest::mouseClick(dialog.findChild<QLabel *>(QStringLiteral("m_labelWarnText")), Qt::LeftButton);
    else
        QTest::keyClick(&dialog, how == QLatin1String("Esc")     ? Qt::Key_Escape
                                 : how == QLatin1String("Enter") ? Qt::Key_Enter
                                                                 : Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 1);
}

void TestMessageDialogs::lastingMessageWaitsForTheUser()
{
    bool counting = true;
    QString text;
    whenModal([&](QWidget *dialog) {
        counting = dialog->findChild<QTimer *>(QStringLiteral("m_closeTimer"))->isActive();
        text = dialog->findChild<QLabel *>(QStringLiteral("m_labelWarnText"))->text();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    WarningDialog::showUntilClosed(QPoint(10, 10), 0, QStringLiteral("The password is now 12345."));
    QVERIFY(!counting);
    QCOMPARE(text, QStringLiteral("The password is now 12345."));
}

void TestMessageDialogs::closeButtonClosesAndReports()
{
    WarningDialog dialog(2, QStringLiteral("x"));
    QSignalSpy spy(&dialog, &WarningDialog::signalWarnClose);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("m_btnClose")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(spy.count(), 1);
}

void TestMessageDialogs::showWarningMarksField_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("withField");
    QTest::addColumn<bool>("withHint");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QColor>("hint");
    const QColor none;
    QTest::addRow("error") << 2 << true << true << "Error" << QColor(255, 0, 255);
    QTest::addRow("information") << 1 << true << true << "Tip" << QColor(0, 255, 255);
    QTest::addRow("success leaves the field") << 0 << true << true << "Normal" << none;
    QTest::addRow("unknown kind leaves the field") << 7 << true << true << "Normal" << none;
    QTest::addRow("no hint label") << 2 << true << false << "Normal" << none;
    QTest::addRow("no field") << 2 << false << true << "Normal" << none;
}

void TestMessageDialogs::showWarningMarksField()
{
    QFETCH(int, kind);
    QFETCH(bool, withField);
    QFETCH(bool, withHint);
    QFETCH(QString, state);
    QFETCH(QColor, hint);
    WarningDialog::setAutoCloseDelay(10ms);
    aptui::MultiStateLineEdit field;
    QLabel hintLabel;

    QString stateWhileShown;
    whenModal([&](QWidget *) { stateWhileShown = field.state(); });
    WarningDialog::showWarning(QPoint(0, 0), kind, QStringLiteral("message"), nullptr, withField ? &field : nullptr,
                               withHint ? &hintLabel : nullptr);

    QCOMPARE(field.state(), state);
    QCOMPARE(stateWhileShown, state); // marked before the message shows
    QCOMPARE(pixmapColour(&hintLabel), hint);
}

void TestMessageDialogs::boxSizeAndPosition_data()
{
    QTest::addColumn<bool>("large");
    QTest::addColumn<QSize>("size");
    QTest::addRow("normal") << false << QSize(310, 120);
    QTest::addRow("large") << true << QSize(310, 160);
}

void TestMessageDialogs::boxSizeAndPosition()
{
    QFETCH(bool, large);
    QFETCH(QSize, size);
    QRect seen;
    bool translucent = false;
    bool frameless = false;
    whenModal([&](QWidget *dialog) {
        seen = dialog->geometry();
        translucent = dialog->testAttribute(Qt::WA_TranslucentBackground);
        frameless = dialog->windowFlags().testFlag(Qt::FramelessWindowHint);
        static_cast<WarningDialog *>(dialog)->onBtnClose();
    });
    const QPoint position(123, 77);
    if (large)
        WarningDialog::showLargeWarning(position, 1, QStringLiteral("long text"));
    else
        WarningDialog::showWarning(position, 1, QStringLiteral("text"));
    QCOMPARE(seen.size(), size);
    QCOMPARE(seen.topLeft(), position);
    QVERIFY(translucent);
    QVERIFY(frameless);
}

void TestMessageDialogs::tipDialogResult_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("result");
    QTest::addRow("confirm") << "btnConfirm" << 1;
    QTest::addRow("cancel") << "btnCancel" << 0;
    QTest::addRow("title close") << "btnClose" << 0;
}

void TestMessageDialogs::tipDialogResult()
{
    QFETCH(QString, clicked);
    QFETCH(int, result);
    TipDialog dialog;
    dialog.setTipText(QStringLiteral("Sure?"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("m_labelTip"))->text(), QStringLiteral("Sure?"));
    dialog.setResult(-1);
    dialog.show();
    QAbstractButton *target = dialog.findChild<QAbstractButton *>(clicked);
    QVERIFY(target);
    QVERIFY(target->isVisible());
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
}

void TestMessageDialogs::tipDialogExec()
{
    TipDialog dialog;
    whenModal([](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnConfirm")), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), 1);
}

QTEST_MAIN(TestMessageDialogs)

#include "tst_messagedialogs.moc"
