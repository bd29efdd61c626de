// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"

#include <multistatelineedit.h>
#include <tipdialog.h>
#include <warningdialog.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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
