// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cwarningdlg.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using aKLOGUIToolkit::CWarningDlg;

class tst_CWarningDlg : public QObject
{
    Q_OBJECT

private slots:
    void showMessageInfoReturnsWhenClosed();
};

void tst_CWarningDlg::showMessageInfoReturnsWhenClosed()
{
    QWidget parent;
    parent.show();
    QString shownTitle;
    QString shownText;
    bool wasModal = false;
    QTimer::singleShot(50, &parent, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        wasModal = modal->isModal();
        shownTitle = modal->windowTitle();
        auto label = modal->findChild<QLabel *>(QStringLiteral("m_labelText"));
        QVERIFY(label);
        shownText = label->text();
        auto ok = modal->findChild<QPushButton *>(QStringLiteral("m_btnOk"));
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    // Closes whatever is left open if the click did not end the dialog.
    bool watchdogFired = false;
    QTimer::singleShot(5000, &parent, [&watchdogFired] {
        watchdogFired = true;
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });

    CWarningDlg::ShowMessageInfo(QStringLiteral("Hint"), QStringLiteral("Exported"), &parent);
    QVERIFY(!watchdogFired);
    QVERIFY(wasModal);
    QCOMPARE(shownTitle, QStringLiteral("Hint"));
    QCOMPARE(shownText, QStringLiteral("Exported"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(tst_CWarningDlg)

#include "tst_cwarningdlg.moc"
