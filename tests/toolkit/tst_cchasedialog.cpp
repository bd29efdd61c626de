// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cchasedialog.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

using aKLOGUIToolkit::CChaseDialog;

namespace {

constexpr int WatchdogMs = 10000;
constexpr int DoneByWatchdog = 77;

class SleepingThread : public QThread
{
public:
    explicit SleepingThread(int ms)
        : m_ms(ms)
    {}

protected:
    void run() override { msleep(m_ms); }

private:
    int m_ms;
};

// A hanging exec() would otherwise block the test until CTest kills it.
void armWatchdog(CChaseDialog &dialog)
{
    QTimer::singleShot(WatchdogMs, &dialog, [&dialog] { dialog.done(DoneByWatchdog); });
}

} // namespace

class tst_CChaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void execReturnsOnStop_data();
    void execReturnsOnStop();
    void escapeDoesNotEndBusyDialog();
    void cancelableDialogEndsOnEscape();
    void imageIsAnimated_data();
    void imageIsAnimated();
};

void tst_CChaseDialog::execReturnsOnStop_data()
{
    QTest::addColumn<QString>("when");

    QTest::addRow("thread finishes while exec runs") << "during";
    QTest::addRow("thread finished before exec") << "before";
    QTest::addRow("slot called directly before exec") << "direct";
    QTest::addRow("stop queued while exec shows the dialog") << "on-show";
}

void tst_CChaseDialog::execReturnsOnStop()
{
    QFETCH(QString, when);

    QWidget page;
    CChaseDialog dialog(&page, QString(), QStringLiteral("Loading..."), false);
    QCOMPARE(dialog.Text(), QStringLiteral("Loading..."));
    armWatchdog(dialog);

    SleepingThread thread(when == "during" ? 200 : 0);
    connect(&thread, &QThread::finished, &dialog, &CChaseDialog::OnImmediatelyStopChase);

    if (when == "during") {
        thread.start();
    } else if (when == "before") {
        thread.start();
        QVERIFY(thread.wait(5000));
        QTRY_VERIFY(dialog.IsStopped());
    } else if (when == "direct") {
        dialog.OnImmediatelyStopChase();
    } else {
        // Posted before exec(), so it is handled by the dialog's own loop right away.
        QMetaObject::invokeMethod(&dialog, &CChaseDialog::OnImmediatelyStopChase, Qt::QueuedConnection);
    }

    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(dialog.IsStopped());
    QVERIFY(!dialog.isVisible());
    QVERIFY(thread.wait(5000));
}

void tst_CChaseDialog::escapeDoesNotEndBusyDialog()
{
    CChaseDialog dialog(nullptr, QString(), QStringLiteral("Working"), false);
    armWatchdog(dialog);
    bool escapeSent = false;
    QTimer::singleShot(50, &dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        escapeSent = true;
    });
    QTimer::singleShot(300, &dialog, &CChaseDialog::OnImmediatelyStopChase);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(escapeSent);
    QVERIFY(clock.elapsed() >= 250);
}

void tst_CChaseDialog::cancelableDialogEndsOnEscape()
{
    CChaseDialog dialog(nullptr, QString(), QStringLiteral("Working"), true);
    armWatchdog(dialog);
    QTimer::singleShot(50, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

void tst_CChaseDialog::imageIsAnimated_data()
{
    QTest::addColumn<QString>("imagePath");

    QTest::addRow("missing image, drawn spinner") << QStringLiteral(":/no/such/Loading.gif");
    QTest::addRow("no image") << QString();
}

void tst_CChaseDialog::imageIsAnimated()
{
    QFETCH(QString, imagePath);

    CChaseDialog dialog(nullptr, imagePath, QStringLiteral("Loading..."), false);
    armWatchdog(dialog);
    auto image = dialog.findChild<QLabel *>(QStringLiteral("m_labelImage"));
    QVERIFY(image);
    QVERIFY(!image->pixmap().isNull());
    const QImage first = image->pixmap().toImage();
    bool changed = false;
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY_WITH_TIMEOUT(image->pixmap().toImage() != first, 2000);
        changed = true;
        dialog.OnImmediatelyStopChase();
    });
    dialog.exec();
    QVERIFY(changed);
}

QTEST_MAIN(tst_CChaseDialog)

#include "tst_cchasedialog.moc"
