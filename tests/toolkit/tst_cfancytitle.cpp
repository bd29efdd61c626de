// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cfancytitle.h>
#include <akloguitoolkit/windowhelpers.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using aKLOGUIToolkit::CFancyTitle;
using aKLOGUIToolkit::CWidgetSizeFactory;

class tst_CFancyTitle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void drag_data();
    void drag();
    void doubleClick_data();
    void doubleClick();
    void maximizeAndRestore_data();
    void maximizeAndRestore();
    void independentWindow();

private:
    std::unique_ptr<QWidget> m_window;
    CFancyTitle *m_title = nullptr;
};

void tst_CFancyTitle::init()
{
    m_window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    auto layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_title = new CFancyTitle(m_window.get());
    m_title->setFixedHeight(32);
    layout->addWidget(m_title);
    layout->addStretch();
    m_window->setGeometry(100, 100, 400, 300);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_CFancyTitle::cleanup()
{
    m_window.reset();
    m_title = nullptr;
}

void tst_CFancyTitle::drag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPoint>("expectedShift");

    QTest::addRow("left drag right and down") << Qt::LeftButton << false << QPoint(60, 25) << QPoint(50, 15);
    QTest::addRow("left drag left and up") << Qt::LeftButton << false << QPoint(5, 2) << QPoint(-5, -8);
    QTest::addRow("right button does not drag") << Qt::RightButton << false << QPoint(60, 25) << QPoint(0, 0);
    QTest::addRow("maximised window stays") << Qt::LeftButton << true << QPoint(60, 25) << QPoint(0, 0);
}

void tst_CFancyTitle::drag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, maximized);
    QFETCH(QPoint, to);
    QFETCH(QPoint, expectedShift);

    if (maximized)
        m_title->ShowMaximized(m_window.get());
    const QPoint start = m_window->pos();
    QTest::mousePress(m_title, button, {}, QPoint(10, 10));
    QTest::mouseMove(m_title, to);
    QTest::mouseRelease(m_title, button, {}, to);
    QCOMPARE(m_window->pos(), start + expectedShift);

    // After the release, moving the mouse over the title no longer drags.
    const QPoint afterRelease = m_window->pos();
    QTest::mouseMove(m_title, QPoint(100, 20));
    QCOMPARE(m_window->pos(), afterRelease);
}

void tst_CFancyTitle::doubleClick_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("toggles");

    QTest::addRow("enabled, left button") << true << Qt::LeftButton << true;
    QTest::addRow("enabled, right button") << true << Qt::RightButton << false;
    QTest::addRow("disabled") << false << Qt::LeftButton << false;
}

void tst_CFancyTitle::doubleClick()
{
    QFETCH(bool, enabled);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, toggles);

    m_title->SetOpenDoubleClickEnable(enabled);
    QSignalSpy spy(m_title, &CFancyTitle::SignalWndSizeStatusChanged);
    const QRect normal = m_window->geometry();

    QTest::mouseDClick(m_title, button, {}, QPoint(10, 10));
    QCOMPARE(m_title->IsMaximized(m_window.get()), toggles);
    QCOMPARE(spy.count(), toggles ? 1 : 0);

    QTest::mouseDClick(m_title, button, {}, QPoint(10, 10));
    QCOMPARE(m_title->IsMaximized(m_window.get()), false);
    QCOMPARE(spy.count(), toggles ? 2 : 0);
    QCOMPARE(m_window->geometry(), normal);
}

void tst_CFancyTitle::maximizeAndRestore_data()
{
    QTest::addColumn<QSize>("restoreSize");

    QTest::addRow("earlier geometry") << QSize();
    QTest::addRow("given size") << QSize(320, 200);
}

void tst_CFancyTitle::maximizeAndRestore()
{
    QFETCH(QSize, restoreSize);

    const QRect normal = m_window->geometry();
    const QRect area = m_window->screen()->availableGeometry();
    CWidgetSizeFactory factory;
    factory.ShowMaximized(m_window.get());
    QVERIFY(factory.IsMaximized(m_window.get()));
    QVERIFY(m_title->IsMaximized(m_window.get()));
    QCOMPARE(m_window->geometry(), area);

    // Maximising twice must not forget the normal geometry.
    factory.ShowMaximized(m_window.get());
    m_title->ShowNormal(m_window.get(), restoreSize);
    QVERIFY(!factory.IsMaximized(m_window.get()));
    if (restoreSize.isValid()) {
        QCOMPARE(m_window->size(), restoreSize);
        QCOMPARE(m_window->geometry().center(), area.center());
    } else {
        QCOMPARE(m_window->geometry(), normal);
    }
    QVERIFY(!factory.IsFullScreen(m_window.get()));
}

void tst_CFancyTitle::independentWindow()
{
    QCOMPARE(aKLOGUIToolkit::GetIndependentWindow(m_title, 0), m_window.get());
    QCOMPARE(aKLOGUIToolkit::GetIndependentWindow(m_window.get(), 0), nullptr);
    QCOMPARE(aKLOGUIToolkit::GetIndependentWindow(m_window.get(), true), m_window.get());
    QCOMPARE(aKLOGUIToolkit::GetIndependentWindow(nullptr, 0), nullptr);

    CFancyTitle loose;
    QSignalSpy spy(&loose, &CFancyTitle::SignalWndSizeStatusChanged);
    QTest::mouseDClick(&loose, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(tst_CFancyTitle)

#include "tst_cfancytitle.moc"
