// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <qtsingleapplication.h>

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace apt {

/** @brief Where the main window goes on a screen with a given work area. */
struct MainWindowGeometry
{
    QSize size;
    /** @brief Set when the program places the window itself; otherwise the window system does. */
    std::optional<QPoint> position;

    friend bool operator==(const MainWindowGeometry &, const MainWindowGeometry &) = default;
};

/** @brief Whether any screen reaches 1024 pixels to the right and any reaches 768 down. */
struct ScreenFlags
{
    bool wide = false;
    bool tall = false;

    friend bool operator==(const ScreenFlags &, const ScreenFlags &) = default;
};

/**
 * @brief The application object: a single instance per user, the start-up sequence
 *        (settings, fonts, look, languages, instance and screen checks) and two
 *        program-wide event rules.
 *
 * Application font changes are swallowed, and a widget with a tool tip shows its full
 * text (a combo box its current text) as the tool tip; line edits keep their own tool tips.
 */
class ToolsApplication : public SharedTools::QtSingleApplication
{
    Q_OBJECT

public:
    ToolsApplication(const QString &appId, int &argc, char **argv);
    ~ToolsApplication() override;

    /**
     * @brief Runs the start-up steps in order; false means the program must not start
     *        (another instance runs, or the user declined a small screen).
     */
    bool initialize();

    bool notify(QObject *receiver, QEvent *event) override;

    /**
     * @brief The main window's size for the work area \a available: the whole work area at
     *        its top left corner when it is less than 768 high, otherwise 768 high with the
     *        work area's aspect ratio (integer arithmetic), placed by the window system.
     */
    static MainWindowGeometry mainWindowGeometry(const QRect &available);

    /** @brief Sizes and places @p window by mainWindowGeometry() on the primary screen. */
    static void placeMainWindow(QWidget *window);

    /** @brief The wide and tall flags of the screens with these geometries. */
    static ScreenFlags screenFlags(const QList<QRect> &screenGeometries);

    /**
     * @brief Shows a start-up message titled "Hint": with \a withButtons confirm and cancel,
     *        without them only the title's close button. @return the dialog's result.
     */
    static int showStartupMessage(const QString &text, bool withButtons);

private:
    void loadLook();
};

} // namespace apt
