// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/cfancytitle.h>

#include <QIcon>
#include <QString>

class QLabel;
class QToolButton;

namespace aptui {

class SystemMenu;

/**
 * @brief The title bar of the main window: icon, title, system menu, minimise,
 *        maximise/restore and close.
 *
 * The maximise button is named "m_btnMaximize" while the window is in its normal state
 * and "m_btnResore" while it is maximised, so that the style sheet draws the matching
 * icon. A left double click on the title maximises or restores the window too.
 */
class WindowTitle : public aKLOGUIToolkit::CFancyTitle
{
    Q_OBJECT

public:
    explicit WindowTitle(QWidget *parent = nullptr);
    ~WindowTitle() override;

    /** @brief The title text. */
    void setTitle(const QString &title);
    QString title() const;

    /** @brief The icon at the left end of the title. */
    void setTitleIcon(const QIcon &icon);

    /** @brief The system menu the title owns. */
    SystemMenu *systemMenu() const { return m_systemMenu; }

signals:
    /** @brief The close button closed the window. */
    void signalCloseApp();
    /** @brief The system menu button was clicked. */
    void signalSystemMenu();

public slots:
    void minimizeWindow();
    void maxOrRestoreWindow();
    void closeWindow();
    void displaySyetemMenu();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QLabel *m_labelTitle = nullptr;
    QToolButton *m_btnIcon = nullptr;
    QToolButton *m_btnMinimize = nullptr;
    QToolButton *m_btnMaximize = nullptr;
    QToolButton *m_btnClose = nullptr;
    QToolButton *m_btnSystemMenu = nullptr;
    SystemMenu *m_systemMenu = nullptr;
};

} // namespace aptui
