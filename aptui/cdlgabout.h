// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QWidgetAction>

#include <memory>

namespace Ui {
class AboutClass;
}

namespace aptui {

class Widget;

/**
 * @brief The about panel as a menu action: program icon, name, version, a corner
 *        button and up to two buttons below a line.
 */
class CDlgAbout : public QWidgetAction
{
    Q_OBJECT

public:
    explicit CDlgAbout(QObject *parent = nullptr);
    ~CDlgAbout() override;

    /** @brief Shows "Name: " followed by \a text. */
    void setNameText(const QString &text);
    /** @brief Shows "Version: " followed by \a text. */
    void setVersionText(const QString &text);
    void setBtn1Text(const QString &text);
    void setBtn2Text(const QString &text);
    void setConerBtnText(const QString &text);
    void setBtn1Visible(bool visible);
    void setBtn2Visible(bool visible);
    void setConerBtnVisible(bool visible);
    /** @brief Shows or hides both lines and both buttons together. */
    void setLinesAndButtonsVisible(bool visible);

    /** @brief The panel widget the action shows. */
    Widget *panel() const { return m_widget; }

    /** @brief The build number of this program: its build date as yyyyMMdd. */
    static unsigned buildNumber();
    /**
     * @brief The build number of a compiler build date such as "Mar 28 2019" (20190328).
     *
     * The month abbreviation becomes its two digits, the day (characters 4 and 5) is
     * zero-padded, the year (characters 7 to 10) comes first; a text that does not read
     * as such a date gives 0.
     */
    static unsigned buildNumberFromDate(const QString &buildDate);

signals:
    void siganlBtn1Clicked();
    void siganlBtn2Clicked();
    void signalConerBtnClicked();

private:
    std::unique_ptr<Ui::AboutClass> m_ui;
    Widget *m_widget = nullptr;
};

} // namespace aptui
