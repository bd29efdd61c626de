// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <windowtitle.h>

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using aptui::WindowTitle;

namespace {

// A frameless window with the title on top that counts its close requests.
class TitledWindow : public QWidget
{
public:
    TitledWindow()
    {
        setWindowFlags(Qt::FramelessWindowHint);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        title = new WindowTitle(this);
        layout->addWidget(title);
        layout->addStretch();
        setGeometry(40, 30, 500, 300);
    }
    WindowTitle *title = nullptr;
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeRequests;
        event->ignore();
    }
};

} // namespace

class TestWindowTitle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void maximiseTwiceRestores_data();
    void maximiseTwiceRestores();
    void rightDoubleClickDoesNothing();
    void altF4ClosesTheWindow();
    void systemMenuButtonSignals();
    void slotsWithoutWindowDoNothing();

private:
    QToolButton *button(const char *name) const
    {
        return m_window->title->findChild<QToolButton *>(QLatin1String(name));
    }

    std::unique_ptr<TitledWindow> m_window;
};

void TestWindowTitle::init()
{
    m_window = std::make_unique<TitledWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindowTitle::cleanup()
{
    m_window.reset();
}

void TestWindowTitle::maximiseTwiceRestores_data()
{
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addRow("button") << false;
    QTest::addRow("double click on the title") << true;
}

void TestWindowTitle::maximiseTwiceRestores()
{
    QFETCH(bool, byDoubleClick);
    const QRect normal = m_window->geometry();
    const QRect area = m_window->screen()->availableGeometry();
    QSignalSpy sizeSpy(m_window->title, &WindowTitle::SignalWndSizeStatusChanged);
    auto toggle = [&] {
        if (byDoubleClick)
            QTest::mouseDClick(m_window->title, Qt::LeftButton, {}, QPoint(100, 10));
        else
            QTest::mouseClick(m_window->title->findChild<QToolButton *>(QStringLiteral("m_btnMaximize"))
                                  ? m_window->title->findChild<QToolButton *>(QStringLiteral("m_btnMaximize"))
                                  : m_window->title->findChild<QToolButton *>(QStringLiteral("m_btnResore")),
                              Qt::LeftButton);
    };

    toggle();
    QTRY_VERIFY(button("m_btnResore"));
    QVERIFY(!button("m_btnMaximize"));
    QCOMPARE(m_window->geometry(), area);

    toggle();
    QTRY_VERIFY(button("m_btnMaximize"));
    QVERIFY(!button("m_btnResore"));
    QCOMPARE(m_window->geometry(), normal);
    QCOMPARE(sizeSpy.count(), byDoubleClick ? 2 : 0);
}

void TestWindowTitle::rightDoubleClickDoesNothing()
{
    const QRect normal = m_window->geometry();
    QTest::mouseDClick(m_window->title, Qt::RightButton, {}, QPoint(100, 10));
    QTest::qWait(20);
    QCOMPARE(m_window->geometry(), normal);
    QVERIFY(button("m_btnMaximize"));
}

void TestWindowTitle::altF4ClosesTheWindow()
{
    QSignalSpy closeSpy(m_window->title, &WindowTitle::signalCloseApp);
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
    QTRY_COMPARE(m_window->closeRequests, 1);
    QCOMPARE(closeSpy.count(), 1);
}

void TestWindowTitle::systemMenuButtonSignals()
{
    QSignalSpy spy(m_window->title, &WindowTitle::signalSystemMenu);
    QTest::mouseClick(button("m_btnSystemMenu"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

void TestWindowTitle::slotsWithoutWindowDoNothing()
{
    // A title that is a window of its own has no window to act on.
    WindowTitle lonely;
    lonely.show();
    const QRect geometry = lonely.geometry();
    QSignalSpy closeSpy(&lonely, &WindowTitle::signalCloseApp);
    lonely.maxOrRestoreWindow();
    lonely.closeWindow();
    lonely.minimizeWindow();
    QCOMPARE(lonely.geometry(), geometry);
    QVERIFY(lonely.isVisible());
    QCOMPARE(closeSpy.count(), 0);
    QVERIFY(lonely.findChild<QToolButton *>(QStringLiteral("m_btnMaximize")));
}

QTEST_MAIN(TestWindowTitle)

#include "tst_windowtitle.moc"
