// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <menu.h>
#include <multistatelineedit.h>
#include <pinbutton.h>
#include <treeviewwithleftpixmapdelegate.h>
#include <widget.h>

#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

using aptui::MultiStateLineEdit;
using aptui::PinButton;

class TestSmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void writeStateText_data();
    void writeStateText();
    void sameStateTwiceEmitsTwice();
    void setLineEditStateAppliesStyleSheetAtOnce_data();
    void setLineEditStateAppliesStyleSheetAtOnce();
    void pinButtonWithoutBuddyOnlySignals();
    void pinButtonFoldsAndSpreadsBuddy();
    void widgetReportsMouse();
    void menuKeepsPopupSettingsWhenRenamed();
    void delegateDrawsSelectedRowsAsHovered();
};

void TestSmallWidgets::writeStateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("state");
    QTest::addRow("tip, any case") << "tip"
                                   << "Tip";
    QTest::addRow("TIP") << "TIP"
                         << "Tip";
    QTest::addRow("2") << "2"
                       << "Tip";
    QTest::addRow("normal") << "Normal"
                            << "Normal";
    QTest::addRow("3") << "3"
                       << "Normal";
    QTest::addRow("error") << "error"
                           << "Error";
    QTest::addRow("1") << "1"
                       << "Error";
    QTest::addRow("unknown text is an error") << "warning"
                                              << "Error";
    QTest::addRow("empty text is an error") << ""
                                            << "Error";
    QTest::addRow("number out of range") << "4"
                                         << "Error";
}

void TestSmallWidgets::writeStateText()
{
    QFETCH(QString, text);
    QFETCH(QString, state);
    MultiStateLineEdit edit;
    QSignalSpy spy(&edit, &MultiStateLineEdit::stateChanged);
    QVERIFY(edit.setProperty("state", text));
    QCOMPARE(edit.state(), state);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), state);
}

void TestSmallWidgets::sameStateTwiceEmitsTwice()
{
    MultiStateLineEdit edit;
    QSignalSpy spy(&edit, &MultiStateLineEdit::stateChanged);
    edit.setLineEditState(MultiStateLineEdit::TIP);
    edit.setLineEditState(MultiStateLineEdit::TIP);
    QCOMPARE(spy.count(), 2);
}

void TestSmallWidgets::setLineEditStateAppliesStyleSheetAtOnce_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QColor>("colour");
    QTest::addRow("error") << int(MultiStateLineEdit::ERROR) << QColor(Qt::red);
    QTest::addRow("tip") << int(MultiStateLineEdit::TIP) << QColor(Qt::blue);
    QTest::addRow("normal") << int(MultiStateLineEdit::NORMAL) << QColor(Qt::black);
}

void TestSmallWidgets::setLineEditStateAppliesStyleSheetAtOnce()
{
    QFETCH(int, state);
    QFETCH(QColor, colour);
    MultiStateLineEdit edit;
    edit.setStyleSheet(QStringLiteral("aptui--MultiStateLineEdit { color: black; }"
                                      "aptui--MultiStateLineEdit[state=\"Error\"] { color: red; }"
                                      "aptui--MultiStateLineEdit[state=\"Tip\"] { color: blue; }"));
    edit.show();
    edit.ensurePolished();
    edit.setLineEditState(MultiStateLineEdit::State(
        state == int(MultiStateLineEdit::NORMAL) ? MultiStateLineEdit::ERROR : MultiStateLineEdit::NORMAL));
    edit.setLineEditState(MultiStateLineEdit::State(state));
    QCOMPARE(edit.palette().color(QPalette::Text), colour);
}

void TestSmallWidgets::pinButtonWithoutBuddyOnlySignals()
{
    PinButton pin;
    QCOMPARE(pin.size(), QSize(14, 69));
    QSignalSpy spy(&pin, &PinButton::pinButtonClicked);
    QTest::mouseClick(&pin, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(pin.styleSheet(), PinButton::spreadStyleSheet());
}

void TestSmallWidgets::pinButtonFoldsAndSpreadsBuddy()
{
    QWidget window;
    auto *panel = new QWidget(&window);
    auto *pin = new PinButton(&window);
    pin->setBuddy(panel);
    window.show();

    // Receivers of the signal see the buddy already toggled.
    QList<bool> hiddenWhenSignalled;
    const QPointer<QWidget> guardedPanel(panel);
    connect(pin, &PinButton::pinButtonClicked, this,
            [&] { hiddenWhenSignalled.append(!guardedPanel || guardedPanel->isHidden()); });

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(panel->isHidden());
    QCOMPARE(pin->styleSheet(), PinButton::foldedStyleSheet());
    QVERIFY(pin->styleSheet().contains(QStringLiteral("Complex/right.png")));

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(!panel->isHidden());
    QCOMPARE(pin->styleSheet(), PinButton::spreadStyleSheet());
    QVERIFY(pin->styleSheet().contains(QStringLiteral("Complex/left.png")));
    QCOMPARE(hiddenWhenSignalled, (QList<bool>{true, false}));

    // A buddy that has gone away leaves only the signal.
    delete panel;
    QTest::mouseClick(pin, Qt::LeftButton);
    QCOMPARE(hiddenWhenSignalled.size(), 3);
}

void TestSmallWidgets::widgetReportsMouse()
{
    aptui::Widget widget;
    widget.resize(50, 50);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QList<QString> order;
    connect(&widget, &aptui::Widget::signalMouseClicked, this, [&] { order << QStringLiteral("click"); });
    connect(&widget, &aptui::Widget::signalDoubleClicked, this, [&] { order << QStringLiteral("double"); });
    // A double click arrives as a press, a release, then the double-click event.
    QTest::mousePress(&widget, Qt::LeftButton);
    QTest::mouseRelease(&widget, Qt::LeftButton);
    QTest::mouseDClick(&widget, Qt::LeftButton);
    QCOMPARE(order.first(), QStringLiteral("click"));
    QVERIFY(order.contains(QStringLiteral("double")));
    QCOMPARE(order.indexOf(QStringLiteral("double")), order.size() - 1);

    QSignalSpy enter(&widget, &aptui::Widget::signalMouseEnter);
    QSignalSpy leave(&widget, &aptui::Widget::signalMouseLeave);
    QEvent enterEvent(QEvent::Enter);
    QEvent leaveEvent(QEvent::Leave);
    QApplication::sendEvent(&widget, &enterEvent);
    QApplication::sendEvent(&widget, &leaveEvent);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(leave.count(), 1);
}

void TestSmallWidgets::menuKeepsPopupSettingsWhenRenamed()
{
    aptui::Menu menu(QStringLiteral("About"));
    QCOMPARE(menu.objectName(), QStringLiteral("Menu"));
    menu.setObjectName(QStringLiteral("aboutMenu"));
    QCOMPARE(menu.windowFlags() & (Qt::Popup | Qt::FramelessWindowHint), Qt::Popup | Qt::FramelessWindowHint);
    QVERIFY(menu.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(menu.title(), QStringLiteral("About"));
}

void TestSmallWidgets::delegateDrawsSelectedRowsAsHovered()
{
    QStandardItemModel model(2, 1);
    model.setItem(0, 0, new QStandardItem(QStringLiteral("a")));
    model.setItem(1, 0, new QStandardItem(QStringLiteral("b")));
    QTreeView view;
    view.setStyleSheet(QStringLiteral("QTreeView::item { background: white; }"
                                      "QTreeView::item:hover { background: rgb(0, 200, 0); }"
                                      "QTreeView::item:selected { background: rgb(200, 0, 0); }"));
    view.setRootIsDecorated(false);
    view.setModel(&model);
    view.setItemDelegate(new aptui::TreeViewWithLeftPixmapDelegate(&view));
    view.resize(200, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select);

    const QImage image = view.viewport()->grab().toImage();
    const QRect selectedRect = view.visualRect(model.index(0, 0));
    const QRect plainRect = view.visualRect(model.index(1, 0));
    // The hover look (green), not the selected one (red); the style may blend the edges a little.
    const QColor selected = image.pixelColor(QPoint(selectedRect.right() - 5, selectedRect.center().y()));
    QVERIFY2(selected.green() > 150 && selected.red() < 60, qPrintable(selected.name()));
    QCOMPARE(image.pixelColor(QPoint(plainRect.right() - 5, plainRect.center().y())), QColor(Qt::white));
}

QTEST_MAIN(TestSmallWidgets)

#include "tst_smallwidgets.moc"
