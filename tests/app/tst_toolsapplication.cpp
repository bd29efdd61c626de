// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <toolsapplication.h>

#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <memory>

using apt::MainWindowGeometry;
using apt::ScreenFlags;
using apt::ToolsApplication;

namespace {

// Counts the events of one type that actually reach it.
class EventCounter : public QWidget
{
public:
    explicit EventCounter(QEvent::Type type)
        : m_type(type)
    {}
    int count = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == m_type)
            ++count;
        return QWidget::event(event);
    }

private:
    QEvent::Type m_type;
};

} // namespace

class TestToolsApplication : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowGeometry_data();
    void mainWindowGeometry();
    void screenFlags_data();
    void screenFlags();
    void toolTip_data();
    void toolTip();
    void applicationFontChangeIsSwallowed();
};

void TestToolsApplication::mainWindowGeometry_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QPoint>("position");
    QTest::addRow("low work area fills it") << QRect(0, 0, 1366, 728) << QSize(1366, 728) << true << QPoint(0, 0);
    QTest::addRow("full HD, integer division") << QRect(0, 0, 1920, 1040) << QSize(1417, 768) << false << QPoint();
    QTest::addRow("5:4") << QRect(0, 0, 1280, 1024) << QSize(960, 768) << false << QPoint();
    QTest::addRow("exactly 768 scales") << QRect(0, 0, 1024, 768) << QSize(1024, 768) << false << QPoint();
    QTest::addRow("767 fills") << QRect(0, 0, 1024, 767) << QSize(1024, 767) << true << QPoint(0, 0);
    // A panel at the top of the screen: the window starts below it, not under it.
    QTest::addRow("low work area below a top panel")
        << QRect(0, 32, 1366, 700) << QSize(1366, 700) << true << QPoint(0, 32);
}

void TestToolsApplication::mainWindowGeometry()
{
    QFETCH(QRect, available);
    QFETCH(QSize, size);
    QFETCH(bool, placed);
    QFETCH(QPoint, position);
    const MainWindowGeometry geometry = ToolsApplication::mainWindowGeometry(available);
    QCOMPARE(geometry.size, size);
    QCOMPARE(geometry.position.has_value(), placed);
    if (placed)
        QCOMPARE(*geometry.position, position);
}

void TestToolsApplication::screenFlags_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<bool>("tall");
    QTest::addRow("no screen") << QList<QRect>{} << false << false;
    QTest::addRow("1024x768") << QList<QRect>{{0, 0, 1024, 768}} << true << true;
    QTest::addRow("1023x768") << QList<QRect>{{0, 0, 1023, 768}} << false << true;
    QTest::addRow("1024x767") << QList<QRect>{{0, 0, 1024, 767}} << true << false;
    QTest::addRow("two 800x600 side by side") << QList<QRect>{{0, 0, 800, 600}, {800, 0, 800, 600}} << true << false;
    QTest::addRow("flags from different screens")
        << QList<QRect>{{0, 0, 1280, 600}, {0, 600, 600, 800}} << true << true;
}

void TestToolsApplication::screenFlags()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(bool, wide);
    QFETCH(bool, tall);
    QCOMPARE(ToolsApplication::screenFlags(screens), (ScreenFlags{wide, tall}));
}

void TestToolsApplication::toolTip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shown");
    QTest::addRow("button shows its text") << "button"
                                           << "short"
                                           << "Refresh the whole device list";
    QTest::addRow("label shows its text") << "label"
                                          << "short"
                                          << "Total number of online devices:";
    QTest::addRow("combo box shows its current text") << "combo"
                                                      << "short"
                                                      << "255.255.255.0";
    QTest::addRow("line edit keeps its tool tip") << "lineedit"
                                                  << "Enter the address"
                                                  << "Enter the address";
    QTest::addRow("button that says why it is unavailable keeps its tool tip") << "reason"
                                                                               << "Activation uses the device protocol"
                                                                               << "Activation uses the device protocol";
    QTest::addRow("no tool tip, nothing shown") << "button"
                                                << ""
                                                << "";
}

void TestToolsApplication::toolTip()
{
    QFETCH(QString, kind);
    QFETCH(QString, toolTip);
    QFETCH(QString, shown);

    QWidget window;
    QWidget *widget = nullptr;
    if (kind == QLatin1String("button") || kind == QLatin1String("reason"))
        widget = new QPushButton(QStringLiteral("Refresh the whole device list"), &window);
    else if (kind == QLatin1String("label"))
        widget = new QLabel(QStringLiteral("Total number of online devices:"), &window);
    else if (kind == QLatin1String("combo")) {
        auto *combo = new QComboBox(&window);
        combo->addItems({QStringLiteral("255.255.0.0"), QStringLiteral("255.255.255.0")});
        combo->setCurrentIndex(1);
        widget = combo;
    } else {
        widget = new QLineEdit(QStringLiteral("192.168.1.64"), &window);
    }
    if (kind == QLatin1String("reason")) {
        widget->setProperty("reasonToolTip", true);
        widget->setEnabled(false);
    }
    if (!toolTip.isEmpty())
        widget->setToolTip(toolTip);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());

    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(widget, &event);
    if (shown.isEmpty()) {
        QVERIFY(!QToolTip::isVisible());
    } else {
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), shown);
    }
    QToolTip::hideText();
}

void TestToolsApplication::applicationFontChangeIsSwallowed()
{
    EventCounter fontChange(QEvent::ApplicationFontChange);
    EventCounter paletteChange(QEvent::ApplicationPaletteChange);
    QEvent font(QEvent::ApplicationFontChange);
    QEvent palette(QEvent::ApplicationPaletteChange);
    QVERIFY(QCoreApplication::sendEvent(&fontChange, &font));
    QCoreApplication::sendEvent(&paletteChange, &palette);
    QCOMPARE(fontChange.count, 0);
    QCOMPARE(paletteChange.count, 1);
}

int main(int argc, char **argv)
{
    // An id of its own, so that the test never meets a running program.
    ToolsApplication app(QStringLiteral("tst_toolsapplication-%1").arg(QCoreApplication::applicationPid()), argc, argv);
    TestToolsApplication test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_toolsapplication.moc"
