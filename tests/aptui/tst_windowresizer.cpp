// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <windowresizer.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

using aptui::WindowResizer;

class tst_WindowResizer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edgesAt_data();
    void edgesAt();
    void dragResizes_data();
    void dragResizes();
    void maximisedWindowIsNotResized();

private:
    // A press, a move with the button held and a release, as the child under the mouse gets them.
    void drag(const QPoint &from, const QPoint &to)
    {
        QWidget *target = m_window->childAt(from) ? m_window->childAt(from) : m_window.get();
        const auto send = [target, this](QEvent::Type type, const QPoint &windowPoint, Qt::MouseButton button,
                                         Qt::MouseButtons buttons) {
            const QPointF local = target->mapFrom(m_window.get(), windowPoint);
            // Positions are taken against the window's start, as the mouse does not move with it.
            const QPointF global = m_start.topLeft() + QPointF(windowPoint);
            QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    std::unique_ptr<QWidget> m_window;
    QLabel *m_content = nullptr;
    QRect m_start;
};

void tst_WindowResizer::init()
{
    m_window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(1, 1, 1, 1);
    // Content up to the edges, as in the main window: the child gets the mouse there.
    m_content = new QLabel(QStringLiteral("content"), m_window.get());
    layout->addWidget(m_content);
    m_window->setMinimumSize(300, 200);
    new WindowResizer(m_window.get());
    m_window->setGeometry(100, 100, 500, 400);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_start = m_window->geometry();
}

void tst_WindowResizer::cleanup()
{
    m_window.reset();
}

void tst_WindowResizer::edgesAt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<Qt::Edges>("edges");
    QTest::addRow("inside") << QPoint(250, 200) << Qt::Edges();
    QTest::addRow("left") << QPoint(1, 200) << Qt::Edges(Qt::LeftEdge);
    QTest::addRow("right") << QPoint(498, 200) << Qt::Edges(Qt::RightEdge);
    QTest::addRow("bottom") << QPoint(250, 399) << Qt::Edges(Qt::BottomEdge);
    QTest::addRow("top left corner") << QPoint(0, 0) << (Qt::TopEdge | Qt::LeftEdge);
    QTest::addRow("bottom right corner") << QPoint(499, 399) << (Qt::BottomEdge | Qt::RightEdge);
    QTest::addRow("outside") << QPoint(600, 200) << Qt::Edges();
}

void tst_WindowResizer::edgesAt()
{
    QFETCH(QPoint, point);
    QFETCH(Qt::Edges, edges);
    QCOMPARE(m_window->findChild<WindowResizer *>()->edgesAt(point), edges);
}

void tst_WindowResizer::dragResizes_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("geometry");
    QTest::addRow("right edge wider") << QPoint(498, 200) << QPoint(598, 260) << QRect(100, 100, 600, 400);
    QTest::addRow("bottom edge taller") << QPoint(250, 398) << QPoint(250, 448) << QRect(100, 100, 500, 450);
    QTest::addRow("left edge narrower") << QPoint(2, 200) << QPoint(52, 200) << QRect(150, 100, 450, 400);
    QTest::addRow("top left corner") << QPoint(1, 1) << QPoint(-19, -9) << QRect(80, 90, 520, 410);
    QTest::addRow("right edge stops at the minimum")
        << QPoint(498, 200) << QPoint(-500, 200) << QRect(100, 100, 300, 400);
    QTest::addRow("top edge stops at the minimum") << QPoint(250, 0) << QPoint(250, 1000) << QRect(100, 300, 500, 200);
    QTest::addRow("inside moves nothing") << QPoint(250, 200) << QPoint(400, 300) << QRect(100, 100, 500, 400);
}

void tst_WindowResizer::dragResizes()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, geometry);
    drag(from, to);
    QCOMPARE(m_window->geometry(), geometry);
    QVERIFY(m_window->width() >= m_window->minimumWidth());
    QVERIFY(m_window->height() >= m_window->minimumHeight());
}

void tst_WindowResizer::maximisedWindowIsNotResized()
{
    m_window->showMaximized();
    QTRY_VERIFY(m_window->isMaximized());
    const QRect maximised = m_window->geometry();
    m_start = maximised;
    drag(QPoint(maximised.width() - 2, 100), QPoint(maximised.width() - 200, 100));
    QCOMPARE(m_window->geometry(), maximised);
}

QTEST_MAIN(tst_WindowResizer)

#include "tst_windowresizer.moc"
