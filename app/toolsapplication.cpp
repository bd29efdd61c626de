// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "toolsapplication.h"

#include "configuremanager.h"
#include "lanaguagemanager.h"
#include "languagefont.h"
#include "programfolders.h"
#include "skinloader.h"

#include <basedialog.h>

#include <akloguitoolkit/guitext.h>

#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QScreen>
#include <QTextCodec>
#include <QTimer>
#include <QToolTip>
#include <QVariant>

#include <exception>

namespace apt {

Q_LOGGING_CATEGORY(lcApp, "vexo.app")

namespace {

constexpr int MinimumWidth = 1024;
constexpr int MinimumHeight = 768;

// Start-up messages close themselves after VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS milliseconds (see
// README.md), so that an automated run of the program never waits for a click that cannot come.
int messageTimeoutForTests()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 0;
}

// A property "is set" when it holds a string that is not null; an empty text still counts.
std::optional<QString> stringProperty(const QObject *object, const char *name)
{
    const QVariant value = object->property(name);
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    const QString text = value.toString();
    if (text.isNull())
        return std::nullopt;
    return text;
}

} // namespace

ToolsApplication::ToolsApplication(const QString &appId, int &argc, char **argv)
    : QtSingleApplication(appId, argc, argv)
{}

ToolsApplication::~ToolsApplication() = default;

void ToolsApplication::placeMainWindow(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const MainWindowGeometry geometry = mainWindowGeometry(screen->availableGeometry());
    window->resize(geometry.size);
    if (geometry.position)
        window->move(*geometry.position);
}

MainWindowGeometry ToolsApplication::mainWindowGeometry(const QRect &available)
{
    // A low work area is filled from its own corner, which is (0, 0) unless a panel sits on top.
    if (available.height() < MinimumHeight)
        return {available.size(), available.topLeft()};
    return {QSize(int(qint64(available.width()) * MinimumHeight / available.height()), MinimumHeight), std::nullopt};
}

ScreenFlags ToolsApplication::screenFlags(const QList<QRect> &screenGeometries)
{
    ScreenFlags flags;
    for (const QRect &geometry : screenGeometries) {
        if (geometry.right() + 1 >= MinimumWidth)
            flags.wide = true;
        if (geometry.bottom() + 1 >= MinimumHeight)
            flags.tall = true;
    }
    return flags;
}

int ToolsApplication::showStartupMessage(const QString &text, bool withButtons)
{
    qCWarning(lcApp, "[ToolsApplication]%s", qPrintable(text));
    aptui::BaseDialog dialog(false, false, false, false, true, withButtons, withButtons, nullptr);
    dialog.setFixedSize(400, 256);
    dialog.setTitle(tr("Hint"));
    dialog.setObjectName(QStringLiteral("APP_WARNINGDLG"));
    dialog.setDefaultText(text);
    dialog.setBottomVisible(withButtons);
    if (const int timeout = messageTimeoutForTests())
        QTimer::singleShot(timeout, &dialog, &QDialog::reject);
    return dialog.exec();
}

void ToolsApplication::loadLook()
{
    // The skin library registers the images and style sheets, so it comes before the sheet.
    SkinLoader::loadSkin();
    if (SkinLoader::loadStyle())
        qInfo("[Tool]style %s", qUtf8Printable(style()->objectName()));
    SkinLoader::loadStyleSheet();
}

bool ToolsApplication::initialize()
{
    // The user's settings over the shipped ones; defaults apply where both are missing or unreadable.
    const ProgramFolders folders = ProgramFolders::current();
    const QString setup = QStringLiteral("Setup.xml");
    ConfigureManager::GetInstance()->load(folders.shippedFile(setup), folders.userFile(setup));

    QFont font(QStringLiteral("Microsoft YaHei"), 9);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    QApplication::setFont(font);

    loadLook();

    aKLOGUIToolkit::InitGuiTextCodec(QTextCodec::codecForLocale());
    const LanaguageManager *languages = LanaguageManager::GetInstance(); // installs the translations
    applyLanguageFont(languages->language(), languages->locale());

    if (isRunning()) {
        showStartupMessage(tr("VEXO is already running."), false);
        return false;
    }

    QList<QRect> geometries;
    for (const QScreen *screen : QGuiApplication::screens())
        geometries.append(screen->geometry());
    const ScreenFlags flags = screenFlags(geometries);
    if (flags.wide && flags.tall) {
        setWindowIcon(QIcon(QStringLiteral(":/aptui/complex/Images/System/Complex/calculate.png")));
        return true;
    }
    return showStartupMessage(tr("Display resolution less than 1024*768,are you sure to start the program?"), true)
           == QDialog::Accepted;
}

bool ToolsApplication::notify(QObject *receiver, QEvent *event)
{
    if (event->type() == QEvent::ApplicationFontChange)
        return true;

    // A widget whose tool tip says why it is unavailable ("reasonToolTip") keeps that tool tip.
    if (event->type() == QEvent::ToolTip && receiver && !receiver->inherits("QLineEdit")
        && !receiver->property("reasonToolTip").toBool() && stringProperty(receiver, "toolTip")) {
        const QPoint position = static_cast<QHelpEvent *>(event)->globalPos();
        std::optional<QString> text = stringProperty(receiver, "text");
        if (!text)
            text = stringProperty(receiver, "currentText");
        if (text) {
            QToolTip::showText(position, *text);
            return true;
        }
    }

    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        qCCritical(lcApp, "[ToolsApplication::notify]exception while delivering an event: %s", e.what());
    } catch (...) {
        qCCritical(lcApp, "[ToolsApplication::notify]exception while delivering an event");
    }
    return false;
}

} // namespace apt
