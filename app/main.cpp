// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"
#include "programfolders.h"
#include "toolsapplication.h"
#include "vexotoolmainpage.h"

#include <aboutdialog.h>
#include <devicestore.h>
#include <journal.h>
#include <onvifhandler.h>
#include <vexohandler.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string_view>

namespace {

// Printed before any catalogue is loaded (the language is a setting read later), so it is
// English as the other tools' help is.
const char kUsage[] = R"(Usage: vexotool [options] [Qt options]

Finds the network cameras and recorders on the local network, lists them live,
activates them, changes their network parameters one by one or in batches,
recovers their passwords and exports the list.

Options:
  -h, --help     print this text and exit
  --version      print the version and exit

The options every Qt program takes work as well, for example -platform offscreen,
-style fusion or -reverse. One copy runs at a time: a second start says so and ends.

Environment:
  VEXO_SCOPE     lan (default) or loopback, which keeps all traffic on this machine
  VEXO_WSD_PORT  the WS-Discovery port of the ONVIF devices (default 3702)
)";

// The options the Qt libraries read themselves, with one or two dashes: those whose value is the
// next argument (or follows "="), and the others.
constexpr std::string_view kQtOptionsWithValue[]
    = {"platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
       "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
       "display",     "geometry",           "title",         "icon",   "name",
       "visual"};
constexpr std::string_view kQtFlags[]
    = {"reverse", "widgetcount", "testability", "qmljsdebugger", "sync", "nograb", "dograb", "cmap"};

bool listed(std::string_view name, const auto &names)
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

enum class CommandLine { Run, Help, Version, Unknown };

// Looks only at the options that start with "--" and are not Qt's, so that everything
// else reaches the application object as before. *unknown names the first unknown one.
CommandLine readCommandLine(int argc, char *argv[], const char **unknown)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help")
            return CommandLine::Help;
        if (arg == "--version")
            return CommandLine::Version;
        if (arg.size() < 2 || arg[0] != '-')
            continue;
        const std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::string_view bare = name.substr(0, name.find('='));
        if (listed(bare, kQtOptionsWithValue)) {
            if (bare.size() == name.size())
                ++i; // "-platform offscreen": the value is not an option of ours
        } else if (arg[1] == '-' && !listed(bare, kQtFlags)) {
            *unknown = argv[i];
            return CommandLine::Unknown;
        }
    }
    return CommandLine::Run;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before the application object exists: that needs a display.
    const char *unknown = nullptr;
    switch (readCommandLine(argc, argv, &unknown)) {
    case CommandLine::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case CommandLine::Version:
        std::printf("vexotool %s\n", VEXO_VERSION);
        return 0;
    case CommandLine::Unknown:
        std::fprintf(stderr, "vexotool: unknown option %s\n\n%s", unknown, kUsage);
        return 2;
    case CommandLine::Run:
        break;
    }

    auto app = std::make_unique<apt::ToolsApplication>(QStringLiteral("400VEXOTool"), argc, argv);

    // Style plug-ins are looked for in the program's plug-in folder.
    const apt::ProgramFolders folders = apt::ProgramFolders::current();
    QCoreApplication::setApplicationName(QCoreApplication::translate("apt::ToolsApplication", "VEXOTool"));
    QCoreApplication::addLibraryPath(QDir::toNativeSeparators(folders.pluginDir()));

#ifdef VEXO_TEST_CA_BUILD
    qWarning("test build: accepts test device certificates");
#endif
    // Where the program found its files, for a look in the log when something is missing.
    qInfo("[Tool]folders: %s data %s, plug-ins %s", folders.installed() ? "installed," : "build tree,",
          qUtf8Printable(folders.dataDir()), qUtf8Printable(folders.pluginDir()));

    if (!app->initialize()) {
        QCoreApplication::exit(0);
        app.reset();
        return -1;
    }

    // The site journal: the shipped Setup.xml's settings, then the user's; the shared journal's
    // password only from the environment.
    const QString setup = QStringLiteral("Setup.xml");
    VexoTool::JournalSettings journalSettings = VexoTool::JournalSettings::fromValues(
        VexoTool::JournalSettings::readSetupValues({folders.shippedFile(setup), folders.userFile(setup)}));
    journalSettings.takePasswordFromEnvironment();
    auto journal = std::make_unique<VexoTool::Journal>(journalSettings);
    QObject::connect(journal.get(), &VexoTool::Journal::expiredRemoved, journal.get(), [](qint64 count) {
        qInfo("[Tool]journal: %lld expired entries removed", static_cast<long long>(count));
    });

    // The ONVIF devices are found in the scope the discovery library runs in.
    QString onvifError;
    std::unique_ptr<VEXO::OnvifHandler> onvif;
    if (const auto onvifOptions = onvif::ClientOptions::fromEnvironment(&onvifError)) {
        onvif = std::make_unique<VEXO::OnvifHandler>(*onvifOptions);
        // Devices' TLS certificates, pinned on first use, in the user's configuration folder.
        auto pins = std::make_shared<onvif::CertificatePins>(
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                .filePath(QStringLiteral("onvif-certificates.json")));
        if (!pins->loadError().isEmpty())
            qWarning("[Tool]ONVIF certificate pins not read: %s", qUtf8Printable(pins->loadError()));
        onvif->setCertificatePins(pins);
    } else
        qWarning("[Tool]ONVIF discovery is off: %s", qUtf8Printable(onvifError));

    // The list and the discovery services of the whole program.
    auto window = std::make_unique<VexoTool::VEXOToolMainPage>(DeviceStore::instance(), VEXO::VexoHandler::instance(),
                                                               onvif.get());
    window->setJournal(journal.get());
    apt::ToolsApplication::placeMainWindow(window.get());
    window->show();
    qInfo("[Tool]manual %s",
          qUtf8Printable(AboutDialog::findManual(
              apt::ConfigureManager::GetInstance()->translator(),
              AboutDialog::manualFolders(QCoreApplication::applicationDirPath(), QDir::currentPath()))));
    window->onMovePinButtion();

    const int result = app->exec();
    window.reset();
    journal.reset(); // writes what is still pending
    onvif.reset();   // with it the credentials given this session
    app.reset();
    return result;
}
