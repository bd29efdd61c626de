// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "addresstext.h"
#include "commandconsole.h"
#include "onvifpopulation.h"
#include "onvifservice.h"
#include "tlsidentity.h"
#include "populationgenerator.h"
#include "simulator.h"
#include "statefile.h"

#include <makerkeys.h>

#include <protocol/crypto.h>

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

const char kUsage[] = R"(Usage: vexo-devsim [options]

Plays a population of network cameras and recorders speaking VXDP/1 behind one UDP socket
(and, in the lan scope, one more for IPv6).

Scope and port:
  --scope lan|loopback   lan (default, or VEXO_SCOPE): multicast on every IPv4 interface, and
                         on the IPv6 link-local group %3 of every interface with a
                         link-local address (answered to the sender's link-local address);
                         loopback: 127.0.0.1 only, unicast. Tests and demos use loopback.
  --port PORT            device port (default VEXO_PORT or %1); 0 takes a free port
  --group ADDRESS        IPv4 multicast group of the lan scope (default VEXO_GROUP or %2)

Population:
  --count N              number of generated devices (default 32)
  --seed S               seed of the generated population (default 1)
  --state FILE           load the population from FILE, or write the generated one there;
                         every change is saved to it
  --password TEXT        password of the activated generated devices (default Admin12345)
  --onvif N              also play N devices of other makers that speak ONVIF only (default 0)
  --onvif-both N         the first N generated devices also answer ONVIF, with one MAC,
                         serial number and address for both protocols (default 0)
  --onvif-https          the generated ONVIF devices also serve HTTPS, each with a self-signed
                         certificate of its own (kept in the state file); XAddrs name HTTPS first
  --onvif-https-only     the generated ONVIF devices serve HTTPS and no plain HTTP
  --onvif-snapshot QUIRK the ONVIF devices' still images: normal (default), slow (15 s late),
                         huge (50 MB), text (a web page, not an image) or nomedia (no media
                         service at all)
  --onvif-port PORT      WS-Discovery port of the ONVIF devices (default VEXO_WSD_PORT or
                         3702); 0 takes a free port
  --onvif-quirk SERIAL=NAMES  the ONVIF device SERIAL ("all": every one) copies habits of real
                         cameras, comma-separated: soap11 (SOAP 1.1 answers), device-ns (schema
                         elements in the device namespace), fault-200 (faults with HTTP 200 and a
                         non-standard code), silent (no Hello or Bye), port-waits (a new HTTP port
                         waits for the reboot), address-waits (so does a new address, as the
                         console's reboot-needed 1), no-interfaces (no GetNetworkInterfaces);
                         repeatable
  --keys-dir DIR         folder of maker-signing.seed, maker-restore.master and maker-device-ca.seed
                         (default: testkeys/ beside the executable, where the build puts the
                         published test keys of tools/testkeys; an install has them only when
                         built with VEXO_INSTALL_TEST_KEYS=ON)
  --test-mode            cheap password hashing, for tests

Behaviour and faults:
  --lockout-seconds S    after five refusals in a row from one sender address, that address is
                         refused for S seconds, twice as long at each further lockout (default 60)
  --reply-spread-ms MS   spread the answers to an inquiry over MS milliseconds (default 0)
  --delay-ms MS          delay every answer and announcement by MS milliseconds
  --loss PERCENT         drop that share of incoming datagrams (repeatable for a given --seed)
  --silent SERIAL        that device never sends anything (repeatable)
  --no-stdin             ignore standard input (for running in the background)
  --verbose              print datagram counts on standard error at exit
  -h, --help             this text
  --version              print the version

ONVIF devices: each has its own address from 127.1.0.1 upwards and serves the device
management service over HTTP there (a free port), user "admin" with the --password,
the media services (Media and Media2) and a still image of its own (HTTP Digest),
answers WS-Discovery Probes and says Hello and Bye; its clock runs minutes to hours off.

Prints "wsd-port <port>" (with ONVIF devices), then "ready <port>" once listening.
Commands on standard input, one per line, each answered by "ok" or "error <why>"
(list prints its lines first):
  list                          serial mac ipv4 activated(1/0), one line per device; devices
                                that speak ONVIF add "onvif" (ONVIF alone) or "vxdp+onvif"
  stop SERIAL                   goodbye, then silent
  vanish SERIAL                 silent without goodbye
  start SERIAL                  back up after stop/vanish, hello
  restart SERIAL                new boot id and start time, hello; challenges, reset key,
                                blocked senders and a lock forgotten
  lock SERIAL                   refuse passwords from every sender for --lockout-seconds
                                (reset keys and security codes still work)
  rekey SERIAL                  new key pairs and a new certificate (a replaced device), restart, hello
  delay SERIAL MS                that device answers requests and inquiries and announces its changes
                                MS milliseconds late (challenges come at once); 0: prompt again
  set SERIAL FIELD VALUE        ipv4, mask, gateway, inactive (0/1), dhcp (0/1), port, httpport, password,
                                certificate (valid, missing, invalid, foreign)
  onvif SERIAL show             endpoint, XAddr, authentication mode, clock offset, the operations
                                received so far ("received GetUsers:1 SetUser:1") and more
  onvif SERIAL auth MODE        wsse (WS-Security digest), digest (HTTP Digest), both, or
                                text (clear text: HTTP Basic or a PasswordText token)
  onvif SERIAL reboot-needed 0|1  SetNetworkInterfaces answers RebootNeeded and waits for
                                SystemReboot
  onvif SERIAL snapshot QUIRK   normal, slow, huge, text or nomedia (see --onvif-snapshot)
  onvif SERIAL fault KIND       the next request gets receiver (a SOAP fault), garbage (no
                                XML) or close (no answer); none takes it back
  onvif SERIAL quirk NAME 0|1   a habit of real cameras (see --onvif-quirk) on or off
  ONVIF-only devices take stop, vanish, start and set SERIAL ipv4|password VALUE
  quit                          goodbye for all devices, exit
End of input quits as well (unless --no-stdin); so do SIGINT and SIGTERM.
)";

volatile std::sig_atomic_t g_stopRequested = 0;

void onSignal(int)
{
    g_stopRequested = 1;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "vexo-devsim: %s\n", qPrintable(message));
    return 1;
}

bool readInt(const QString &text, int min, int max, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = v;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The cameras' still images are drawn with fonts, which need a GUI application; no window
    // is ever shown, so no display is needed either.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexo-devsim"));

    auto option = [](const char *name, const char *value = nullptr) {
        return value ? QCommandLineOption(QLatin1String(name), QString(), QLatin1String(value))
                     : QCommandLineOption(QLatin1String(name), QString());
    };
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const auto versionOpt = option("version");
    const auto scopeOpt = option("scope", "SCOPE"), portOpt = option("port", "PORT"),
               groupOpt = option("group", "ADDR");
    const auto countOpt = option("count", "N"), seedOpt = option("seed", "S"), stateOpt = option("state", "FILE");
    const auto passwordOpt = option("password", "TEXT"), keysOpt = option("keys-dir", "DIR");
    const auto testOpt = option("test-mode"), lockoutOpt = option("lockout-seconds", "S");
    const auto spreadOpt = option("reply-spread-ms", "MS"), delayOpt = option("delay-ms", "MS");
    const auto lossOpt = option("loss", "PERCENT"), silentOpt = option("silent", "SERIAL");
    const auto noStdinOpt = option("no-stdin"), verboseOpt = option("verbose");
    const auto onvifOpt = option("onvif", "N"), onvifBothOpt = option("onvif-both", "N"),
               onvifPortOpt = option("onvif-port", "PORT");
    const auto onvifHttpsOpt = option("onvif-https"), onvifHttpsOnlyOpt = option("onvif-https-only");
    const auto onvifSnapshotOpt = option("onvif-snapshot", "QUIRK");
    const auto onvifQuirkOpt = option("onvif-quirk", "SERIAL=NAMES");
    QCommandLineParser parser;
    parser.addOptions({help,         versionOpt,    scopeOpt,          portOpt,          groupOpt,
                       countOpt,     seedOpt,       stateOpt,          passwordOpt,      keysOpt,
                       testOpt,      lockoutOpt,    spreadOpt,         delayOpt,         lossOpt,
                       silentOpt,    noStdinOpt,    verboseOpt,        onvifOpt,         onvifBothOpt,
                       onvifPortOpt, onvifHttpsOpt, onvifHttpsOnlyOpt, onvifSnapshotOpt, onvifQuirkOpt});
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(help)) {
        const QString usage = QString::fromUtf8(kUsage)
                                  .arg(vxdp::kDefaultDevicePort)
                                  .arg(QLatin1String(vxdp::kDefaultGroup), QLatin1String(vxdp::kLinkLocalGroupText));
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(versionOpt)) {
        std::printf("vexo-devsim %s\n", VEXO_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    Simulator::Options options;
    const QString scope = parser.isSet(scopeOpt) ? parser.value(scopeOpt) : qEnvironmentVariable("VEXO_SCOPE", "lan");
    if (scope == QLatin1String("loopback"))
        options.scope = Simulator::Scope::Loopback;
    else if (scope == QLatin1String("lan"))
        options.scope = Simulator::Scope::Lan;
    else
        return fail(QStringLiteral("the scope is lan or loopback, not %1").arg(scope));

    const QString portText = parser.isSet(portOpt)
                                 ? parser.value(portOpt)
                                 : qEnvironmentVariable("VEXO_PORT", QString::number(vxdp::kDefaultDevicePort));
    int port = 0;
    if (!readInt(portText, 0, vxdp::kMaxDevicePort, &port))
        return fail(QStringLiteral("bad port %1").arg(portText));
    options.port = quint16(port);
    options.group = QHostAddress(parser.isSet(groupOpt) ? parser.value(groupOpt)
                                                        : qEnvironmentVariable("VEXO_GROUP", vxdp::kDefaultGroup));
    if (options.scope == Simulator::Scope::Lan && !options.group.isMulticast())
        return fail(QStringLiteral("%1 is not an IPv4 multicast group").arg(options.group.toString()));

    int count = 32;
    if (parser.isSet(countOpt) && !readInt(parser.value(countOpt), 1, 100000, &count))
        return fail(QStringLiteral("--count takes 1 to 100000"));
    bool seedOk = true;
    options.seed = parser.isSet(seedOpt) ? parser.value(seedOpt).toULongLong(&seedOk) : 1;
    if (!seedOk)
        return fail(QStringLiteral("--seed takes an unsigned number"));
    if (parser.isSet(lockoutOpt) && !readInt(parser.value(lockoutOpt), 1, 86400, &options.lockoutSeconds))
        return fail(QStringLiteral("--lockout-seconds takes 1 to 86400"));
    if (parser.isSet(spreadOpt) && !readInt(parser.value(spreadOpt), 0, 600000, &options.replySpreadMs))
        return fail(QStringLiteral("--reply-spread-ms takes 0 to 600000"));
    if (parser.isSet(delayOpt) && !readInt(parser.value(delayOpt), 0, 600000, &options.delayMs))
        return fail(QStringLiteral("--delay-ms takes 0 to 600000"));
    if (parser.isSet(lossOpt)) {
        bool ok = false;
        options.lossPercent = parser.value(lossOpt).toDouble(&ok);
        if (!ok || options.lossPercent < 0 || options.lossPercent > 100)
            return fail(QStringLiteral("--loss takes 0 to 100"));
    }
    int onvifOnly = 0, onvifBoth = 0, wsdPort = 3702;
    if (parser.isSet(onvifOpt) && !readInt(parser.value(onvifOpt), 0, 10000, &onvifOnly))
        return fail(QStringLiteral("--onvif takes 0 to 10000"));
    if (parser.isSet(onvifBothOpt) && !readInt(parser.value(onvifBothOpt), 0, count, &onvifBoth))
        return fail(QStringLiteral("--onvif-both takes 0 to the --count of devices"));
    const QString wsdPortText = parser.isSet(onvifPortOpt)
                                    ? parser.value(onvifPortOpt)
                                    : qEnvironmentVariable("VEXO_WSD_PORT", QStringLiteral("3702"));
    if (!readInt(wsdPortText, 0, 65535, &wsdPort))
        return fail(QStringLiteral("bad WS-Discovery port %1").arg(wsdPortText));
    options.testMode = parser.isSet(testOpt);
    options.silent = parser.values(silentOpt);
    options.statePath = parser.value(stateOpt);
    options.password = parser.isSet(passwordOpt) ? parser.value(passwordOpt).toStdString() : "Admin12345";
    if (options.password.empty() || options.password.size() > vxdp::kMaxPassword)
        return fail(QStringLiteral("--password takes 1 to %1 bytes").arg(vxdp::kMaxPassword));

    if (!vxdp::cryptoInit())
        return fail(QStringLiteral("the crypto library cannot be initialised"));
    QString error;
    const auto keys = MakerKeys::load(parser.isSet(keysOpt) ? parser.value(keysOpt) : MakerKeys::defaultDir(), &error);
    if (!keys)
        return fail(error + QStringLiteral(" (give --keys-dir the published test keys, tools/testkeys in the source)"));
    options.makerPublicKey = keys->signing().publicKey;
    options.deviceCa = keys->deviceCa();

    std::vector<DeviceRecord> devices;
    std::vector<OnvifDeviceState> onvifDevices;
    if (!options.statePath.isEmpty() && QFileInfo::exists(options.statePath)) {
        bool upgraded = false;
        auto loaded = StateFile::load(options.statePath, keys->deviceCa(), &upgraded, &error, &onvifDevices);
        if (!loaded)
            return fail(error + QStringLiteral(" (the file was left as it is)"));
        devices = std::move(*loaded);
        // Keep the certificates issued for an older file, so the devices keep their identity.
        if (upgraded && !StateFile::save(options.statePath, devices, &error, &onvifDevices))
            return fail(error);
    } else {
        PopulationGenerator::Options generate;
        generate.count = count;
        generate.seed = options.seed;
        generate.restoreMaster = keys->restoreMaster();
        generate.deviceCa = keys->deviceCa();
        // One hash for all activated devices: hashing thousands at full cost would take minutes.
        generate.passwordHash = vxdp::hashPassword(options.password, options.testMode);
        if (generate.passwordHash.empty())
            return fail(QStringLiteral("the password cannot be hashed"));
        devices = PopulationGenerator::generate(generate);
        const QString password = QString::fromStdString(options.password);
        onvifDevices = OnvifPopulation::generate(onvifOnly, options.seed, password, 0);
        for (int i = 0; i < onvifBoth; ++i) {
            // One device, one address: its VXDP records name the address it serves ONVIF from.
            vxdp::DeviceDescription &d = devices[std::size_t(i)].description;
            const QString address = OnvifPopulation::onvifAddress(onvifOnly + i);
            d.ipv4 = *AddressText::parseIpv4(address);
            d.mask = {255, 0, 0, 0};
            onvifDevices.push_back(OnvifPopulation::forOwnDevice(
                QString::fromStdString(d.serial), QString::fromStdString(vxdp::macToText(d.mac)).replace('-', ':'),
                QString::fromStdString(d.typeText), QString::fromStdString(d.softwareVersion), address, options.seed,
                password));
        }
        const bool httpsOnly = parser.isSet(onvifHttpsOnlyOpt);
        for (OnvifDeviceState &state : onvifDevices) {
            if (!httpsOnly && !parser.isSet(onvifHttpsOpt))
                break;
            state.https = true;
            state.httpsOnly = httpsOnly;
            // Each device its own key, as cameras make one on first start.
            const auto identity = makeSelfSignedIdentity(state.serial, &error);
            if (!identity)
                return fail(QStringLiteral("no certificate for %1: %2").arg(state.serial, error));
            state.tlsCertificatePem = identity->certificatePem;
            state.tlsKeyPem = identity->privateKeyPem;
        }
        if (!options.statePath.isEmpty() && !StateFile::save(options.statePath, devices, &error, &onvifDevices))
            return fail(error);
    }

    if (parser.isSet(onvifSnapshotOpt)) {
        const auto quirk = snapshotQuirkFromName(parser.value(onvifSnapshotOpt));
        if (!quirk)
            return fail(QStringLiteral("--onvif-snapshot takes normal, slow, huge, text or nomedia"));
        for (OnvifDeviceState &state : onvifDevices)
            state.snapshotQuirk = *quirk;
    }

    for (const QString &entry : parser.values(onvifQuirkOpt)) {
        const QString serial = entry.section(u'=', 0, 0);
        quint32 quirks = 0;
        bool addressWaits = false;
        for (const QString &name : entry.section(u'=', 1).split(u',', Qt::SkipEmptyParts)) {
            // The console's reboot-needed, for devices set up at start.
            if (name == QLatin1String("address-waits")) {
                addressWaits = true;
                continue;
            }
            const auto quirk = quirkFromName(name);
            if (!quirk)
                return fail(QStringLiteral("--onvif-quirk: no quirk %1 (%2)").arg(name, quirkNames(~0u).join(u", ")));
            quirks |= quint32(*quirk);
        }
        bool matched = false;
        for (OnvifDeviceState &state : onvifDevices) {
            if (serial == QLatin1String("all") || state.serial == serial) {
                state.quirks |= quirks;
                state.rebootNeeded = state.rebootNeeded || addressWaits;
                matched = true;
            }
        }
        if (!matched || (quirks == 0 && !addressWaits))
            return fail(QStringLiteral("--onvif-quirk takes SERIAL=NAMES of an ONVIF device: %1").arg(entry));
    }

    Simulator simulator(options, std::move(devices));
    if (!onvifDevices.empty()) {
        simulator.attachOnvif(std::make_unique<OnvifService>(options.scope == Simulator::Scope::Loopback,
                                                             quint16(wsdPort), std::move(onvifDevices)));
    }
    if (!simulator.start(&error))
        return fail(error);

    bool quitting = false;
    const bool verbose = parser.isSet(verboseOpt);
    auto quit = [&] {
        if (quitting)
            return;
        quitting = true;
        simulator.shutdown();
        if (verbose) {
            const QStringList lines = simulator.statistics();
            for (const QString &line : lines)
                std::fprintf(stderr, "vexo-devsim: %s\n", qPrintable(line));
        }
        QCoreApplication::exit(0);
    };

    // A signal handler may only set a flag; the event loop looks at it often enough for a
    // simulator, and the same code serves every platform.
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, &simulator, [&] {
        if (g_stopRequested)
            quit();
    });
    signalWatch.start(50);

    std::unique_ptr<CommandConsole> console;
    if (!parser.isSet(noStdinOpt)) {
        console = std::make_unique<CommandConsole>();
        QObject::connect(console.get(), &CommandConsole::lineReceived, &simulator, [&](const QString &line) {
            if (quitting)
                return;
            bool quitRequested = false;
            const QStringList reply = simulator.execute(line, &quitRequested);
            for (const QString &text : reply)
                std::fprintf(stdout, "%s\n", qPrintable(text));
            std::fflush(stdout);
            if (quitRequested)
                quit();
        });
        QObject::connect(console.get(), &CommandConsole::endOfInput, &simulator, quit);
    }

    if (simulator.onvifPort() != 0)
        std::fprintf(stdout, "wsd-port %u\n", unsigned(simulator.onvifPort()));
    std::fprintf(stdout, "ready %u\n", unsigned(simulator.port()));
    std::fflush(stdout);
    return app.exec();
}
