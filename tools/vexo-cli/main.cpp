// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// vexo-cli: lists the devices the discovery library finds and runs single operations
// on them, for scripts and for checking a network without the desktop program.
#include "clijournal.h"
#include "commandsecrets.h"
#include "reportcommand.h"
#include "devicetable.h"
#include "journalcommand.h"
#include "listfilter.h"
#include "plancommand.h"
#include "onvifscan.h"

#include "Vexo.h"
#include "environment.h"
#include "silencecheck.h"

#include <certificatepins.h>
#include <macaddress.h>
#include <deviceinfo.h>
#include <snapshotclient.h>
#include <journalrecord.h>
#include <subnetreach.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSet>
#include <QThread>

#include <csignal>
#include <limits>
#include <cstdio>
#include <cstring>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
// How long a target found by endpoint or address is listened for before it is asked, so that a
// second address claiming the same endpoint is heard first.
constexpr int kClaimSettleMs = 600;

void onSignal(int)
{
    g_interrupted = 1;
}

const char *meaning(unsigned code)
{
    switch (code) {
    case VEXO_ERR_NOT_STARTED:
        return "the library is not started";
    case VEXO_ERR_BAD_ARGUMENT:
        return "bad argument or environment variable";
    case VEXO_ERR_UNKNOWN_DEVICE:
        return "no such device answered";
    case VEXO_ERR_NETWORK:
        return "network error";
    case VEXO_ERR_BUFFER_TOO_SMALL:
        return "answer too large";
    case VEXO_ERR_ALREADY_STARTED:
        return "already started";
    case VEXO_ERR_FILE:
        return "the reset file cannot be read or is too large";
    case VEXO_ERR_PROTOCOL:
        return "the device answered something unexpected";
    case VEXO_ERR_DEVICE_DENY:
        return "device refused: wrong password, key or security code";
    case VEXO_ERR_TIMEOUT:
        return "no answer in time";
    case VEXO_ERR_ALREADY_ACTIVE:
        return "the device is already activated";
    case VEXO_ERR_LOCKED:
        return "device locked after too many wrong passwords: wait, or reset the password";
    case VEXO_ERR_NOT_ACTIVATED:
        return "the device is not activated yet";
    case VEXO_ERR_UNSUPPORTED:
        return "the device does not support this";
    case VEXO_ERR_LOG:
        return "the log file cannot be opened";
    case VEXO_ERR_STALE:
        return "the device restarted during the request: try again";
    case VEXO_ERR_UNVERIFIED:
        return "the device has no valid maker certificate, so no password is sent to it "
               "(it may be an impostor)";
    default:
        return "internal error";
    }
}

int fail(const char *what)
{
    const unsigned code = VEXO_GetLastError();
    std::fprintf(stderr, "%s failed: %s (%u)\n", what, meaning(code), code);
    return 1;
}

template<std::size_t N>
void put(char (&field)[N], const QString &text)
{
    const QByteArray bytes = text.toLatin1().left(N - 1);
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Waits until the device with that MAC or serial number has been reported.
// Nothing answered: say what this host shows, with the same checks the library logs.
void printSilenceHint()
{
    const vexo::Environment env = vexo::readEnvironment();
    if (!env.valid || env.scope != vexo::Scope::Lan)
        return;
    const auto adapters = vexo::multicastAdapters();
    std::fprintf(stderr, "hint: no device answered on %zu adapter(s). What this host shows:\n", adapters.size());
    for (const std::string &cause : vexo::silenceCauses(adapters, {}, env.devicePort, env.group))
        std::fprintf(stderr, "  - %s\n", cause.c_str());
}

bool waitForDevice(const DeviceTable &table, const QString &id, int waitMs, VEXO_DEVICE_INFO *out)
{
    QElapsedTimer timer;
    timer.start();
    do {
        for (const auto &d : table.devices()) {
            if (QString::fromLatin1(d.macAddress).compare(id, Qt::CaseInsensitive) == 0
                || QString::fromLatin1(d.serialNumber) == id) {
                *out = d;
                return true;
            }
        }
        QThread::msleep(20);
    } while (timer.elapsed() < waitMs && !g_interrupted);
    return false;
}

// A failure's kind and the device's words, for the journal.
QString onvifWhy(const onvif::Failure &f)
{
    return f.detail.isEmpty() ? QString::fromLatin1(onvif::kindName(f.kind))
                              : QStringLiteral("%1: %2").arg(QLatin1String(onvif::kindName(f.kind)), f.detail);
}

int onvifFail(const char *what, const onvif::Failure &f)
{
    QString detail = f.detail;
    if (f.fault) {
        QStringList codes;
        for (const auto &c : f.fault->subcodes)
            codes.append(c.localName);
        if (!codes.isEmpty())
            detail += QStringLiteral(" [%1]").arg(codes.join(QLatin1Char('/')));
    }
    std::fprintf(stderr, "%s failed: %s%s%s\n", what, onvif::kindName(f.kind), detail.isEmpty() ? "" : ": ",
                 qPrintable(DeviceTable::escaped(detail)));
    return 1;
}

// Takes the camera's snapshot and writes its bytes unchanged; the image was checked and decoded first.
int saveSnapshot(const onvif::DeviceClient::Options &options, const onvif::Identity &identity,
                 const onvif::Credentials &credentials, const QString &path)
{
    onvif::SnapshotClient::Options snapshotOptions;
    snapshotOptions.device = options;
    onvif::SnapshotClient client(snapshotOptions);
    onvif::SnapshotOutcome outcome;
    QEventLoop loop;
    client.take(identity, credentials, [&](const onvif::SnapshotOutcome &o) {
        outcome = o;
        loop.quit();
    });
    loop.exec();
    if (!outcome) {
        std::fprintf(stderr, "snapshot failed: %s\n", onvif::problemName(outcome.problem));
        return outcome.failure.detail.isEmpty() ? 1 : onvifFail("snapshot", outcome.failure);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(outcome.snapshot->bytes) != outcome.snapshot->bytes.size()
        || !file.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return 1;
    }
    const onvif::Snapshot &s = *outcome.snapshot;
    std::printf("%s %dx%d, %lld bytes, in %lld ms, saved to %s\n", onvif::ImageCheck::formatName(s.format),
                s.size.width(), s.size.height(), static_cast<long long>(s.bytes.size()),
                static_cast<long long>(s.elapsedMs), qPrintable(path));
    return 0;
}

// What a partly identified device did not tell; what it told is listed all the same.
void printGaps(const onvif::Identity &identity)
{
    for (const onvif::IdentityGap &gap : identity.gaps)
        onvifFail(qPrintable(QStringLiteral("%1 of %2")
                                 .arg(gap.operation,
                                      identity.endpoint.isEmpty() ? identity.serviceUrl.host() : identity.endpoint)),
                  gap.failure);
}

// Devices' TLS certificates, pinned on first use, in the user's configuration folder.
QString certificatePinFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("onvif-certificates.json"));
}

// After a device got a new certificate (a reset, a new firmware), the user forgets the old pin.
int forgetCertificate(const QString &id)
{
    onvif::CertificatePins pins(certificatePinFile());
    if (!pins.loadError().isEmpty()) {
        std::fprintf(stderr, "onvif-forget-certificate: %s\n", qPrintable(pins.loadError()));
        return 2;
    }
    QString error;
    if (pins.forget(id, id, &error)) {
        std::printf("certificate of %s forgotten: the next connection pins the one the device shows\n",
                    qPrintable(DeviceTable::escaped(id)));
        return 0;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "onvif-forget-certificate: %s\n", qPrintable(error));
        return 2;
    }
    std::fprintf(stderr, "no certificate is pinned for %s\n", qPrintable(DeviceTable::escaped(id)));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The report writes a PDF, which needs an application object with fonts.
    if (argc > 1 && std::strcmp(argv[1], "report") == 0)
        return runReportCommand(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEXO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds the cameras and recorders on the local network and works on them.\n\n"
        "Commands:\n"
        "  list                          list the devices found within --wait ms, VXDP and ONVIF; with the\n"
        "                                password of --user, ONVIF devices are identified (model, serial, MAC)\n"
        "  watch                         print device events, VXDP and ONVIF, until interrupted\n"
        "  activate SERIAL               give a new device the password as its administrator password\n"
        "  modify MAC                    change network parameters (--ipv4, --mask, --gateway, --port, ...)\n"
        "  key SERIAL                    print the device's reset key material (--command 2: newer scheme)\n"
        "  reset SERIAL                  set a forgotten password anew, with --key TEXT or --file RESETFILE\n"
        "  restore SERIAL CODE           restore the default password with a security code\n"
        "  plan FILE                     apply an address plan (CSV) with the admin password and save a\n"
        "                                report beside it; --dry-run only prints what would change\n"
        "  onvif-modify ID               change an ONVIF device's network parameters (--ipv4 with --prefix or\n"
        "                                --mask, --dhcp, --gateway, --http-port); ID is its MAC, serial number,\n"
        "                                endpoint (urn:uuid:...) or IPv4 address\n"
        "  onvif-reboot ID               restart an ONVIF device (after a change it applies only on restart)\n"
        "  onvif-password ID             change the password of the --user (admin) of an ONVIF device to\n"
        "                                the new password\n"
        "  onvif-forget-certificate ID   forget the TLS certificate pinned for an ONVIF device (its endpoint\n"
        "                                urn:uuid:... or MAC), so that the next connection pins the one it shows\n"
        "  snapshot ID --out FILE        save what an ONVIF camera sees (its still image, JPEG or PNG as the\n"
        "                                camera sends it) to FILE\n"
        "  journal                       print the site journal, newest first (--since, --device, --json);\n"
        "                                every command that changes a device writes one entry per device\n"
        "  report --site NAME --out FILE.pdf\n"
        "                                the site's hand-over report (devices, the journal's changes since\n"
        "                                --since, open failures) as PDF and .xls; report --help for more\n\n"
        "Passwords: from --password-file FILE (the file's line break is dropped), else from the environment\n"
        "variable VEXO_PASSWORD, else typed at a prompt without echo when standard input is a terminal\n"
        "(a password the device is to get is typed twice). onvif-password takes the new password from\n"
        "--new-password-file FILE or VEXO_NEW_PASSWORD the same way. A password may still follow the\n"
        "command's other words (activate SERIAL PASSWORD, onvif-password ID PASSWORD NEWPASSWORD), with\n"
        "a warning: every user of this computer can read a program's arguments. An unreadable or empty\n"
        "password file is refused with exit status 2.\n\n"
        "ONVIF devices are asked with WS-Security and HTTP Digest only; the password goes in clear only\n"
        "with --allow-clear-text. VEXO_WSD_PORT sets the WS-Discovery port (3702).\n"
        "An ONVIF device outside the subnets of this computer's adapters answers discovery but no\n"
        "request: list marks it unreachable and says which subnet to add, onvif-modify and onvif-reboot\n"
        "refuse it at once (exit status 1); --force asks it anyway (a device behind a router).\n"
        "The environment variable VEXO_SCOPE=loopback keeps all traffic on this machine."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("list, watch, activate, modify, key, reset, restore, plan, onvif-modify, onvif-reboot, "
                       "onvif-password, onvif-forget-certificate, snapshot, journal or report"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON instead of a table."));
    const QCommandLineOption wait(QStringLiteral("wait"), QStringLiteral("Milliseconds to wait for answers (2000)."),
                                  QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption filter(
        QStringLiteral("filter"),
        QStringLiteral("List and watch only the devices the window's filter box would show: a network "
                       "(192.0.2.0/24), an address range (192.0.2.10-192.0.2.50) or a text of the serial number, "
                       "MAC, type, address or version; several separated by ';'; \"host\" for this computer's "
                       "subnets."),
        QStringLiteral("filter"));
    const QCommandLineOption ipv4(QStringLiteral("ipv4"), QStringLiteral("New IPv4 address."), QStringLiteral("addr"));
    const QCommandLineOption mask(QStringLiteral("mask"), QStringLiteral("New subnet mask."), QStringLiteral("mask"));
    const QCommandLineOption gateway(QStringLiteral("gateway"), QStringLiteral("New gateway."), QStringLiteral("addr"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("New service port."), QStringLiteral("port"));
    const QCommandLineOption httpPort(QStringLiteral("http-port"), QStringLiteral("New web port."),
                                      QStringLiteral("port"));
    const QCommandLineOption dhcp(QStringLiteral("dhcp"), QStringLiteral("on or off."), QStringLiteral("on|off"));
    const QCommandLineOption command(QStringLiteral("command"), QStringLiteral("Key command, 1 or 2."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Write the key (key) or the image (snapshot) to this file."),
                                 QStringLiteral("file"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("Typed reset key."), QStringLiteral("text"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("Reset file."), QStringLiteral("path"));
    const QCommandLineOption ipc(QStringLiteral("ipc"), QStringLiteral("Also reset the connected cameras."));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("ONVIF user name (admin)."),
                                  QStringLiteral("name"), QStringLiteral("admin"));
    const QCommandLineOption prefix(QStringLiteral("prefix"), QStringLiteral("New IPv4 prefix length (ONVIF)."),
                                    QStringLiteral("bits"));
    const QCommandLineOption clearText(QStringLiteral("allow-clear-text"),
                                       QStringLiteral("Send a password in clear to an ONVIF device that offers "
                                                      "nothing safer: HTTP Basic, or onvif-password's new password "
                                                      "to a device without HTTPS."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Ask ONVIF devices outside every adapter's subnet too."));
    parser.addOptions({json, wait, filter, ipv4, mask, gateway, port, httpPort, dhcp, command, out, key, file, ipc,
                       user, prefix, clearText, force});
    const QCommandLineOption dryRun = planDryRunOption();
    parser.addOption(dryRun);
    const QCommandLineOption passwordFile = passwordFileOption();
    const QCommandLineOption newPasswordFile = newPasswordFileOption();
    parser.addOptions({passwordFile, newPasswordFile});
    parser.addOptions(journalOptions());
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString cmd = args.value(0);
    const int waitMs = parser.value(wait).toInt();
    auto usage = [&parser] {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    };
    if (!commandWordsFit(args))
        return usage();
    if (cmd == QLatin1String("journal"))
        return runJournalCommand(
            {parser.value(QStringLiteral("since")), parser.value(QStringLiteral("device")), parser.isSet(json)});
    if (cmd == QLatin1String("onvif-forget-certificate"))
        return forgetCertificate(args.value(1));
    const QVector<VexoTool::AdapterAddress> adapters = VexoTool::reachableAdapters();
    std::optional<ListFilter> listFilter;
    if (parser.isSet(filter)) {
        QString filterError;
        listFilter = ListFilter::parse(parser.value(filter), adapters, &filterError);
        if (!listFilter) {
            std::fprintf(stderr, "vexo-cli: %s\n", qPrintable(filterError));
            return 2;
        }
    }
    QString secretError;
    const auto secrets = readCommandSecrets(args, parser.isSet(dryRun), parser.value(passwordFile),
                                            parser.value(newPasswordFile), &secretError);
    if (!secrets) {
        std::fprintf(stderr, "vexo-cli: %s\n", qPrintable(secretError));
        return 2;
    }
    const bool listWithPassword = cmd == QLatin1String("list") && secrets->passwordGiven;
    QString onvifError;
    const auto onvifOptions = onvif::ClientOptions::fromEnvironment(&onvifError);
    if (!onvifOptions) {
        std::fprintf(stderr, "%s\n", qPrintable(onvifError));
        return 2;
    }
    const bool usesOnvif = cmd == QLatin1String("list") || cmd == QLatin1String("watch")
                           || cmd.startsWith(QLatin1String("onvif-")) || cmd == QLatin1String("snapshot");
    OnvifScan onvifScan(*onvifOptions, adapters);
    onvifScan.setEchoEvents(cmd == QLatin1String("watch"));
    const auto keep = [&listFilter](const VEXO_DEVICE_INFO &d) {
        return !listFilter || listFilter->matches(d);
    };
    onvifScan.setEchoFilter(keep);
    if (usesOnvif && !onvifScan.start(&onvifError)) // VXDP devices are still listed
        std::fprintf(stderr, "ONVIF discovery: %s\n", qPrintable(onvifError));
    onvif::Credentials credentials;
    credentials.username = parser.value(user);
    credentials.password = QString::fromLocal8Bit(secrets->password);
    credentials.allowClearText = parser.isSet(clearText);
    credentials.allowClearTextNewPassword = parser.isSet(clearText);
    onvifScan.setCertificatePins(std::make_shared<onvif::CertificatePins>(certificatePinFile()));

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    VEXO_SetLogToFile(qEnvironmentVariableIsSet("VEXO_LOG_DIR") ? 4 : 0, nullptr, 1);

    DeviceTable table;
    table.setEchoEvents(cmd == QLatin1String("watch"));
    table.setEchoFilter(keep);
    if (!VEXO_Start_V30(&DeviceTable::onDeviceEvent, VEXO_START_AUTO_INQUIRY, &table))
        return fail("start");

    // One journal entry per device for every command that reaches a device; the passwords,
    // keys and codes of these commands are never part of one.
    CliJournal journal;
    const auto failure = [](bool ok) {
        return ok ? QString() : QString::fromLatin1(meaning(VEXO_GetLastError()));
    };
    const auto listed = [&table](const QString &id, VEXO_DEVICE_INFO *record) {
        return waitForDevice(table, id, 500, record) ? record : nullptr;
    };
    int rc = 0;
    const QByteArray a1 = args.value(1).toLatin1();
    const QByteArray &password = secrets->password;
    if (cmd == QLatin1String("list")) {
        onvifScan.wait(qMax(0, waitMs), g_interrupted);
        if (listWithPassword)
            onvifScan.identifyAll(credentials, parser.isSet(force));
        std::vector<ListedDevice> rows;
        for (const auto &d : table.devices())
            rows.push_back(ListedDevice::fromVxdp(d));
        for (const OnvifScan::Found &found : onvifScan.found()) {
            if (found.failure.failed())
                onvifFail(qPrintable(QStringLiteral("identifying %1").arg(found.discovered.target.endpoint)),
                          found.failure);
            else if (found.identity)
                printGaps(*found.identity);
            ListedDevice onvifRow = onvifScan.toListed(found);
            // One physical device is one entry: a VXDP device with the same MAC also speaks ONVIF.
            const QString mac = QString::fromLatin1(onvifRow.info.macAddress);
            const auto same = std::find_if(rows.begin(), rows.end(), [&mac](const ListedDevice &r) {
                return !mac.isEmpty() && r.protocol == QLatin1String("VXDP/1")
                       && VexoTool::MacAddress::canonical(QString::fromLatin1(r.info.macAddress)) == mac;
            });
            if (same != rows.end()) {
                same->protocol = QStringLiteral("VXDP/1+ONVIF");
                same->endpoint = onvifRow.endpoint;
                same->serviceUrl = onvifRow.serviceUrl;
                same->unreachableAdvice = onvifRow.unreachableAdvice;
            } else {
                rows.push_back(onvifRow);
            }
        }
        // Whichever protocol found a device, the filter decides as the window's filter box would.
        rows.erase(std::remove_if(rows.begin(), rows.end(), [&keep](const ListedDevice &r) { return !keep(r.info); }),
                   rows.end());
        if (parser.isSet(json)) {
            QJsonArray list;
            for (const auto &d : rows)
                list.append(DeviceTable::toJson(d));
            std::fputs(QJsonDocument(list).toJson().constData(), stdout);
        } else {
            std::fputs(qPrintable(DeviceTable::toText(rows)), stdout);
        }
        if (rows.empty() && !parser.isSet(filter)) // with a filter, devices may have answered unlisted
            printSilenceHint();
    } else if (cmd == QLatin1String("watch")) {
        onvifScan.wait(std::numeric_limits<int>::max(), g_interrupted);
    } else if (cmd == QLatin1String("activate")) {
        const bool ok = VEXO_ActivateDevice(a1.constData(), password.constData());
        const QString why = failure(ok);
        rc = ok ? 0 : fail("activate");
        VEXO_DEVICE_INFO record{};
        journal.record(
            VexoTool::JournalFlow::Activation, listed(args.value(1), &record), args.value(1),
            [](VexoTool::JournalValues &after) { after.passwordSet = true; }, ok, why);
    } else if (cmd == QLatin1String("modify")) {
        VEXO_DEVICE_INFO d{};
        if (!waitForDevice(table, args.value(1), qMax(waitMs, 1), &d)) {
            std::fprintf(stderr, "device %s not found\n", a1.constData());
            rc = 1;
        } else {
            // Parameters not given on the command line keep the device's current values.
            DeviceNetParam p{};
            std::memcpy(p.ipv4Address, d.ipv4Address, sizeof d.ipv4Address);
            std::memcpy(p.ipv4SubnetMask, d.ipv4SubnetMask, sizeof d.ipv4SubnetMask);
            std::memcpy(p.ipv4Gateway, d.ipv4Gateway, sizeof d.ipv4Gateway);
            std::memcpy(p.ipv6Address, d.ipv6Address, sizeof d.ipv6Address);
            std::memcpy(p.ipv6Gateway, d.ipv6Gateway, sizeof d.ipv6Gateway);
            p.ipv6PrefixLength = d.ipv6PrefixLength;
            p.port = static_cast<uint16_t>(d.port);
            p.httpPort = d.httpPort;
            p.dhcpEnabled = d.dhcpEnabled;
            if (parser.isSet(ipv4)) {
                std::memset(p.ipv4Address, 0, sizeof p.ipv4Address);
                put(p.ipv4Address, parser.value(ipv4));
            }
            if (parser.isSet(mask)) {
                std::memset(p.ipv4SubnetMask, 0, sizeof p.ipv4SubnetMask);
                put(p.ipv4SubnetMask, parser.value(mask));
            }
            if (parser.isSet(gateway)) {
                std::memset(p.ipv4Gateway, 0, sizeof p.ipv4Gateway);
                put(p.ipv4Gateway, parser.value(gateway));
            }
            if (parser.isSet(port))
                p.port = static_cast<uint16_t>(parser.value(port).toUInt());
            if (parser.isSet(httpPort))
                p.httpPort = static_cast<uint16_t>(parser.value(httpPort).toUInt());
            if (parser.isSet(dhcp))
                p.dhcpEnabled = parser.value(dhcp) == QLatin1String("on") ? 1 : 0;
            // With DHCP on, the device ignores a static address: say so rather than "succeed".
            const bool staticGiven = parser.isSet(ipv4) || parser.isSet(mask) || parser.isSet(gateway);
            if (staticGiven && d.dhcpEnabled && !parser.isSet(dhcp)) {
                std::fputs("modify refused: the device uses DHCP, so a static IPv4 address would not be used; "
                           "add --dhcp off\n",
                           stderr);
                rc = 2;
            } else {
                const bool ok = VEXO_ModifyDeviceNetParam(d.macAddress, password.constData(), &p);
                const QString why = failure(ok);
                rc = ok ? 0 : fail("modify");
                journal.record(
                    VexoTool::JournalFlow::NetworkChange, &d, args.value(1),
                    [&p](VexoTool::JournalValues &after) { after = VexoTool::journalValuesOf(p); }, ok, why);
            }
        }
    } else if (cmd == QLatin1String("key")) {
        VEXO_KEY_BUFFER_V2 buffer{};
        const uint32_t c = parser.value(command).toUInt();
        const uint32_t size = c == VEXO_GET_KEY_V2 ? sizeof(VEXO_KEY_BUFFER_V2) : sizeof(VEXO_KEY_BUFFER);
        const bool ok = VEXO_GetDeviceConfig(a1.constData(), c, nullptr, 0, &buffer, size);
        VEXO_DEVICE_INFO record{};
        journal.record(VexoTool::JournalFlow::BatchKeyExport, listed(args.value(1), &record), args.value(1), {}, ok,
                       failure(ok));
        if (!ok) {
            rc = fail("key");
        } else {
            const QByteArray material(buffer.data, static_cast<qsizetype>(buffer.length));
            if (parser.isSet(out)) {
                QFile f(parser.value(out));
                if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(material) != material.size()) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(out)));
                    rc = 1;
                }
            } else {
                std::printf("%s\n", material.constData());
            }
        }
    } else if (cmd == QLatin1String("reset")) {
        VEXO_RESET_PARAM p{};
        const QByteArray k = parser.value(key).toLocal8Bit();
        const QByteArray f = parser.value(file).toLocal8Bit();
        if (k.isEmpty() == f.isEmpty()) {
            std::fputs("reset needs exactly one of --key and --file\n", stderr);
            rc = 2;
        } else {
            std::memcpy(p.secretKey, k.constData(),
                        static_cast<std::size_t>(qMin(k.size(), qsizetype(sizeof p.secretKey))));
            std::memcpy(p.keyFilePath, f.constData(),
                        static_cast<std::size_t>(qMin(f.size(), qsizetype(sizeof p.keyFilePath))));
            std::memcpy(p.password, password.constData(),
                        static_cast<std::size_t>(qMin(password.size(), qsizetype(sizeof p.password))));
            p.resetIpc = parser.isSet(ipc) ? 1 : 0;
            const bool ok = VEXO_ResetPasswd(a1.constData(), &p);
            const QString why = failure(ok);
            rc = ok ? 0 : fail("reset");
            VEXO_DEVICE_INFO record{};
            journal.record(
                VexoTool::JournalFlow::PasswordReset, listed(args.value(1), &record), args.value(1),
                [](VexoTool::JournalValues &after) { after.passwordSet = true; }, ok, why);
        }
    } else if (cmd == QLatin1String("plan")) {
        rc = runPlanCommand({args.value(1), password, parser.isSet(dryRun), parser.isSet(json), waitMs}, table,
                            &journal);
    } else if (cmd == QLatin1String("snapshot") && !parser.isSet(out)) {
        std::fputs("snapshot needs --out FILE\n", stderr);
        rc = 2;
    } else if (cmd.startsWith(QLatin1String("onvif-")) || cmd == QLatin1String("snapshot")) {
        const QString id = args.value(1);
        // An endpoint or address is known from discovery; a MAC or serial number only after identification.
        onvifScan.wait(qMax(waitMs, 1), g_interrupted, [&] { return onvifScan.matchesWithoutIdentity(id); });
        if (!onvifScan.matchesWithoutIdentity(id))
            onvifScan.identifyAll(credentials, parser.isSet(force));
        else
            onvifScan.wait(kClaimSettleMs, g_interrupted); // a rival claim answers the same Probe
        // A target that devices at several addresses claim is refused: the password would go to
        // whichever of them answered.
        QStringList candidates;
        for (const OnvifScan::Found &f : onvifScan.candidates(id))
            candidates.append(QStringLiteral("ONVIF %1 %2").arg(f.serviceUrl.host(), f.discovered.target.endpoint));
        const QString idMac = VexoTool::MacAddress::canonical(id);
        for (const VEXO_DEVICE_INFO &d : table.devices()) {
            const QString serial = QString::fromLatin1(fieldBytes(d.serialNumber));
            if ((!idMac.isEmpty()
                 && VexoTool::MacAddress::canonical(QString::fromLatin1(fieldBytes(d.macAddress))) == idMac)
                || (!serial.isEmpty() && serial == id))
                candidates.append(
                    QStringLiteral("VXDP/1 %1 %2").arg(QString::fromLatin1(fieldBytes(d.ipv4Address)), serial));
        }
        QSet<QString> addresses;
        for (const QString &c : std::as_const(candidates))
            addresses.insert(c.section(u' ', 1, 1));
        const bool ambiguous = addresses.size() > 1;
        const auto found = ambiguous ? std::nullopt : onvifScan.match(id);
        onvif::BlockingDeviceOperations operations(onvifScan.clientOptions());
        std::optional<onvif::Identity> identity;
        // A device no adapter reaches is refused here, with what to do, instead of after a time-out.
        const QString advice = found && !parser.isSet(force) ? onvifScan.unreachableAdvice(*found) : QString();
        if (ambiguous) {
            std::fprintf(stderr, "%s refused: devices at %lld addresses claim %s:\n", qPrintable(cmd),
                         static_cast<long long>(addresses.size()), qPrintable(DeviceTable::escaped(id)));
            for (const QString &c : std::as_const(candidates))
                std::fprintf(stderr, "  %s\n", qPrintable(DeviceTable::escaped(c)));
            rc = 2;
        } else if (!found) {
            std::fprintf(stderr, "ONVIF device %s not found\n", qPrintable(DeviceTable::escaped(id)));
            int unasked = 0;
            for (const OnvifScan::Found &f : onvifScan.found())
                unasked += !f.identity && !onvifScan.unreachableAdvice(f).isEmpty();
            if (unasked > 0 && !parser.isSet(force))
                std::fprintf(stderr,
                             "%d device(s) outside every adapter's subnet were not asked for their MAC and serial "
                             "number: name them by address or endpoint (see list), or give --force\n",
                             unasked);
            rc = 1;
        } else if (!advice.isEmpty()) {
            std::fprintf(stderr, "%s refused: %s\n(--force sends the request anyway, for a device behind a router)\n",
                         qPrintable(cmd), qPrintable(DeviceTable::escaped(advice)));
            rc = 1;
        } else if (found->identity) {
            identity = found->identity;
        } else {
            const auto identified
                = operations.identify(found->serviceUrl, credentials, found->discovered.target.endpoint);
            using Kind = onvif::Failure::Kind;
            const Kind why = identified.failure.kind;
            if (identified) {
                identity = identified.value;
                printGaps(*identity);
            } else if (cmd == QLatin1String("onvif-reboot")
                       && (why == Kind::SoapFault || why == Kind::Malformed || why == Kind::HttpStatus)) {
                // SystemReboot needs only the service address and the credentials.
                onvifFail("identify", identified.failure);
                identity = onvif::Identity{};
                identity->serviceUrl = found->serviceUrl;
                identity->endpoint = found->discovered.target.endpoint;
            } else {
                rc = onvifFail("identify", identified.failure);
            }
        }
        if (identity && cmd == QLatin1String("onvif-password")) {
            // The user signs in with the old password and sets the new one for itself, keeping its level.
            const auto changed = operations.changePassword(*identity, credentials, credentials.username,
                                                           QString::fromLocal8Bit(secrets->newPassword));
            journal.record(VexoTool::JournalFlow::OnvifPasswordChange, *identity, *identity, bool(changed),
                           changed ? QString() : onvifWhy(changed.failure));
            if (changed)
                std::printf("password of %s changed\n", qPrintable(DeviceTable::escaped(credentials.username)));
            else
                rc = onvifFail("onvif-password", changed.failure);
            if (changed.failure.kind == onvif::Failure::Kind::NotEncrypted)
                std::fputs("(--allow-clear-text sends it anyway, readable by anyone on the network)\n", stderr);
        } else if (identity && cmd == QLatin1String("snapshot")) {
            rc = saveSnapshot(onvifScan.clientOptions(), *identity, credentials, parser.value(out));
        } else if (identity && cmd == QLatin1String("onvif-reboot")) {
            const auto rebooted = operations.reboot(*identity, credentials);
            journal.record(VexoTool::JournalFlow::Reboot, *identity, *identity, bool(rebooted),
                           rebooted ? QString() : onvifWhy(rebooted.failure));
            if (rebooted)
                std::printf("%s\n", qPrintable(DeviceTable::escaped(*rebooted.value)));
            else
                rc = onvifFail("reboot", rebooted.failure);
        } else if (identity) {
            const bool addressGiven = parser.isSet(ipv4) || parser.isSet(prefix) || parser.isSet(mask);
            const QString dhcpValue = parser.value(dhcp);
            // Options that would be dropped or would not mean what they say are refused, not ignored.
            const char *refusal = nullptr;
            if (parser.isSet(port))
                refusal = "--port is the device protocol's; an ONVIF device's web port is --http-port";
            else if (parser.isSet(dhcp) && dhcpValue != QLatin1String("on") && dhcpValue != QLatin1String("off"))
                refusal = "--dhcp takes on or off";
            else if (dhcpValue == QLatin1String("on") && addressGiven)
                refusal = "with --dhcp on the device takes its address from DHCP: leave out --ipv4, --prefix and "
                          "--mask";
            else if (addressGiven && identity->dhcp && !parser.isSet(dhcp))
                refusal = "the device uses DHCP, so a static IPv4 address would not be used; add --dhcp off";
            onvif::NetworkChange change;
            if (dhcpValue == QLatin1String("on")) {
                change.ipv4 = onvif::devicemgmt::Ipv4Settings{true, {}};
            } else if (addressGiven || parser.isSet(dhcp)) {
                // Values not given keep the device's current ones.
                onvif::devicemgmt::PrefixedAddress manual = identity->ipv4;
                if (parser.isSet(ipv4))
                    manual.address = parser.value(ipv4);
                if (parser.isSet(prefix)) {
                    bool ok = false;
                    manual.prefixLength = parser.value(prefix).toInt(&ok);
                    if (!ok)
                        manual.prefixLength = -1;
                } else if (parser.isSet(mask)) {
                    manual.prefixLength = VexoTool::prefixOfMask(parser.value(mask));
                }
                change.ipv4 = onvif::devicemgmt::Ipv4Settings{false, manual};
            }
            if (parser.isSet(gateway))
                change.gateway = parser.value(gateway);
            if (parser.isSet(httpPort)) {
                bool ok = false;
                const int p = parser.value(httpPort).toInt(&ok);
                change.httpPort = ok ? p : 0;
            }
            if (refusal) {
                std::fprintf(stderr, "onvif-modify refused: %s\n", refusal);
                rc = 2;
            } else if (!change.ipv4 && !change.gateway && !change.httpPort) {
                std::fputs("onvif-modify needs at least one of --ipv4, --prefix, --mask, --dhcp, --gateway, "
                           "--http-port\n",
                           stderr);
                rc = 2;
            } else {
                const auto changed = operations.changeNetwork(*identity, credentials, change);
                onvif::Identity requested = *identity;
                if (change.ipv4) {
                    requested.dhcp = change.ipv4->dhcp;
                    if (!change.ipv4->dhcp)
                        requested.ipv4 = change.ipv4->manual;
                }
                if (change.gateway)
                    requested.gateways = change.gateway->isEmpty() ? QStringList() : QStringList{*change.gateway};
                if (change.httpPort)
                    requested.httpPort = *change.httpPort;
                journal.record(VexoTool::JournalFlow::OnvifChange, *identity, requested, bool(changed),
                               changed ? QString() : onvifWhy(changed.failure));
                if (!changed) {
                    rc = onvifFail("onvif-modify", changed.failure);
                    if (changed.failure.kind == onvif::Failure::Kind::InvalidArgument)
                        rc = 2;
                } else if (changed.value->rebootNeeded) {
                    std::puts("changed; the device applies it after a restart: run onvif-reboot");
                } else {
                    std::printf("changed%s; the device service is now at %s\n",
                                changed.value->confirmed ? " (the device shows the new values)" : "",
                                qPrintable(changed.value->serviceUrl.toString()));
                }
                if (changed && !changed.value->notApplied.isEmpty()) {
                    QStringList parts;
                    for (const auto part : changed.value->notApplied)
                        parts.append(part == onvif::NetworkChangeResult::Part::Gateway   ? QStringLiteral("gateway")
                                     : part == onvif::NetworkChangeResult::Part::Address ? QStringLiteral("address")
                                                                                         : QStringLiteral("HTTP port"));
                    const onvif::Failure &why = changed.value->why;
                    std::fprintf(stderr, "applied, but not the %s: %s: %s\n",
                                 qPrintable(parts.join(QStringLiteral(" and "))), onvif::kindName(why.kind),
                                 qPrintable(DeviceTable::escaped(why.detail)));
                    rc = 1;
                }
            }
        }
    } else if (cmd == QLatin1String("restore")) {
        const bool ok = VEXO_ResetDefaultPasswd(a1.constData(), args.value(2).toLatin1().constData());
        const QString why = failure(ok);
        rc = ok ? 0 : fail("restore");
        VEXO_DEVICE_INFO record{};
        journal.record(
            VexoTool::JournalFlow::PasswordRestore, listed(args.value(1), &record), args.value(1),
            [](VexoTool::JournalValues &after) { after.passwordSet = true; }, ok, why);
    }
    VEXO_Stop();
    journal.close();
    return rc;
}
