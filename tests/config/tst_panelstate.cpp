// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// What the modify panel shows for a selection, without widgets.

#include <panelstate.h>

#include <QTest>
#include <QTranslator>

using VexoTool::PanelSelection;
using VexoTool::PanelState;

Q_DECLARE_METATYPE(PanelSelection)

namespace {

PanelSelection ticked(int count, int inactive = 0, int onvifOnly = 0)
{
    PanelSelection selection;
    selection.count = count;
    selection.inactive = inactive;
    selection.onvifOnly = onvifOnly;
    selection.loopbackScope = true;
    return selection;
}

PanelSelection running(PanelSelection selection)
{
    selection.operationRunning = true;
    return selection;
}

PanelSelection unreachable(bool goAhead)
{
    PanelSelection selection = ticked(1, 0, 1);
    selection.unreachable = true;
    selection.goAhead = goAhead;
    return selection;
}

} // namespace

class tst_PanelState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void controls_data();
    void controls();
    void disabledControlsSayWhy();
    void selectionNote_data();
    void selectionNote();

private:
    QTranslator m_english;
};

void tst_PanelState::initTestCase()
{
    // English users read the English catalogue's plural forms.
    const QString dir = qEnvironmentVariable("VEXO_TEST_BIN_DIR") + QStringLiteral("/translations");
    QVERIFY2(m_english.load(QStringLiteral("vexotool_en.qm"), dir), qPrintable(dir));
    QCoreApplication::installTranslator(&m_english);
}

void tst_PanelState::controls_data()
{
    QTest::addColumn<PanelSelection>("selection");
    QTest::addColumn<PanelState::View>("view");
    QTest::addColumn<bool>("modify");
    QTest::addColumn<bool>("activate");
    QTest::addColumn<QString>("recovery"); // "hidden", "enabled", "disabled"
    QTest::addColumn<bool>("changePassword");
    QTest::addColumn<bool>("port");
    QTest::addColumn<bool>("loopback"); // a loopback address may be given

    using View = PanelState::View;
    QTest::addRow("nothing ticked") << ticked(0) << View::Empty << false << false << "disabled" << false << false
                                    << false;
    QTest::addRow("one activated device")
        << ticked(1) << View::Modify << true << false << "enabled" << false << true << false;
    QTest::addRow("one ONVIF device") << ticked(1, 0, 1) << View::Modify << true << false << "hidden" << true << false
                                      << true;
    QTest::addRow("one device not activated: Activate enabled")
        << ticked(1, 1) << View::Activate << false << true << "hidden" << false << false << false;
    QTest::addRow("batch hides recovery")
        << ticked(3) << View::Modify << true << false << "hidden" << false << true << false;
    QTest::addRow("batch of ONVIF devices")
        << ticked(3, 0, 3) << View::Modify << true << false << "hidden" << false << false << true;
    QTest::addRow("batch of both protocols: every device's rules")
        << ticked(3, 0, 2) << View::Modify << true << false << "hidden" << false << true << false;
    QTest::addRow("batch of both protocols, one ONVIF")
        << ticked(2, 0, 1) << View::Modify << true << false << "hidden" << false << true << false;
    QTest::addRow("batch not activated") << ticked(4, 4) << View::Activate << false << true << "hidden" << false
                                         << false << false;
    QTest::addRow("activated and not activated")
        << ticked(4, 2) << View::Mixed << false << false << "hidden" << false << false << false;
    QTest::addRow("running single modification")
        << running(ticked(1)) << View::Modify << false << false << "disabled" << false << true << false;
    QTest::addRow("running activation") << running(ticked(1, 1)) << View::Activate << false << false << "hidden"
                                        << false << false << false;
    QTest::addRow("running ONVIF change")
        << running(ticked(1, 0, 1)) << View::Modify << false << false << "hidden" << true << false << true;
    QTest::addRow("unreachable device waits for the go-ahead")
        << unreachable(false) << View::Modify << false << false << "hidden" << true << false << true;
    QTest::addRow("unreachable device with the go-ahead")
        << unreachable(true) << View::Modify << true << false << "hidden" << true << false << true;
    PanelSelection network = ticked(1, 0, 1);
    network.loopbackScope = false;
    QTest::addRow("ONVIF device on the network scope")
        << network << View::Modify << true << false << "hidden" << true << false << false;
}

void tst_PanelState::controls()
{
    QFETCH(PanelSelection, selection);
    QFETCH(PanelState::View, view);
    QFETCH(bool, modify);
    QFETCH(bool, activate);
    QFETCH(QString, recovery);
    QFETCH(bool, changePassword);
    QFETCH(bool, port);
    QFETCH(bool, loopback);

    const PanelState state = PanelState::forSelection(selection);
    QCOMPARE(state.view, view);
    QCOMPARE(state.modifyEnabled, modify);
    QCOMPARE(state.activeEnabled, activate);
    QCOMPARE(!state.forgetShown    ? QStringLiteral("hidden")
             : state.forgetEnabled ? QStringLiteral("enabled")
                                   : QStringLiteral("disabled"),
             recovery);
    QCOMPARE(state.changePasswordShown, changePassword);
    QCOMPARE(state.changePasswordShown && state.forgetShown, false); // one takes the other's place
    QCOMPARE(state.devicePortEnabled, port);
    QCOMPARE(state.loopbackAllowed, loopback);
    QCOMPARE(state.emptyGatewayAllowed, selection.count > 0 && selection.onvifOnly == selection.count);
    QCOMPARE(state.busyShown, selection.operationRunning);
}

void tst_PanelState::disabledControlsSayWhy()
{
    // Every selection of up to three devices in every situation: a control the user sees
    // disabled always has its reason.
    for (int count = 0; count <= 3; ++count) {
        for (int inactive = 0; inactive <= count; ++inactive) {
            for (int onvif = 0; onvif + inactive <= count; ++onvif) {
                for (int flags = 0; flags < 8; ++flags) {
                    PanelSelection selection = ticked(count, inactive, onvif);
                    selection.operationRunning = flags & 1;
                    selection.unreachable = (flags & 2) && count == 1 && onvif == 1;
                    selection.goAhead = flags & 4;
                    const PanelState state = PanelState::forSelection(selection);
                    const QString where = QStringLiteral("%1 ticked, %2 inactive, %3 ONVIF, flags %4")
                                              .arg(count)
                                              .arg(inactive)
                                              .arg(onvif)
                                              .arg(flags);
                    const bool modifyShown
                        = state.view == PanelState::View::Modify || state.view == PanelState::View::Empty;
                    if (modifyShown && !state.modifyEnabled)
                        QVERIFY2(!state.modifyReason.isEmpty(), qPrintable(where));
                    if (state.view == PanelState::View::Activate && !state.activeEnabled)
                        QVERIFY2(!state.activeReason.isEmpty(), qPrintable(where));
                    if (state.forgetShown && !state.forgetEnabled)
                        QVERIFY2(!state.forgetReason.isEmpty(), qPrintable(where));
                    if (state.changePasswordShown && !state.changePasswordEnabled)
                        QVERIFY2(!state.changePasswordReason.isEmpty(), qPrintable(where));
                    if (modifyShown && !state.devicePortEnabled)
                        QVERIFY2(!state.devicePortReason.isEmpty(), qPrintable(where));
                    // Enabled controls carry no reason to be disabled.
                    if (state.modifyEnabled)
                        QVERIFY2(state.modifyReason.isEmpty(), qPrintable(where));
                }
            }
        }
    }
}

void tst_PanelState::selectionNote_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<int>("activated");
    QTest::addColumn<int>("inactive");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("unverified");
    QTest::addRow("single mode says nothing") << false << 1 << 0 << "" << 0;
    QTest::addRow("batch mode, none ticked") << true << 0 << 0 << "0 devices ticked" << 0;
    QTest::addRow("batch mode, one ticked") << true << 1 << 0 << "1 device ticked" << 0;
    QTest::addRow("batch mode, three ticked") << true << 3 << 0 << "3 devices ticked" << 0;
    QTest::addRow("mixed: names them") << true << 1 << 2 << "3 devices ticked\nNot activated: d1, d2" << 0;
    QTest::addRow("mixed: five names") << true << 1 << 5 << "6 devices ticked\nNot activated: d1, d2, d3, d4, d5" << 0;
    QTest::addRow("mixed: six, one left out")
        << true << 1 << 6 << "7 devices ticked\nNot activated: d1, d2, d3, d4, d5 and 1 more" << 0;
    QTest::addRow("mixed: twelve, seven left out")
        << true << 2 << 12 << "14 devices ticked\nNot activated: d1, d2, d3, d4, d5 and 7 more" << 0;
    const QString one = QStringLiteral("1 ticked device without a valid maker certificate: no password is sent to it "
                                       "until it shows one.");
    QTest::addRow("one device without certificate") << false << 1 << 0 << one << 1;
    QTest::addRow("a batch, two without certificate")
        << true << 3 << 0
        << "3 devices ticked\n2 ticked devices without a valid maker certificate: no password is sent to them "
           "until they show one."
        << 2;
    QTest::addRow("activation without certificate") << false << 0 << 1 << one << 1;
}

void tst_PanelState::selectionNote()
{
    QFETCH(bool, batch);
    QFETCH(int, activated);
    QFETCH(int, inactive);
    QFETCH(QString, note);
    QFETCH(int, unverified);
    PanelSelection selection = ticked(activated + inactive, inactive);
    selection.batch = batch;
    selection.unverified = unverified;
    for (int i = 1; i <= inactive; ++i)
        selection.inactiveNames.append(QStringLiteral("d%1").arg(i));
    QCOMPARE(PanelState::forSelection(selection).selectionNote, note);
}

QTEST_GUILESS_MAIN(tst_PanelState)

#include "tst_panelstate.moc"
