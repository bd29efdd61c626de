// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/cfancytitle.h>

#include <QIcon>
#include <QString>

#include <memory>

class QAbstractButton;

namespace Ui {
class BaseTitle;
}

namespace aptui {

/**
 * @brief The title bar of the program's dialogs: icon, title, custom buttons and the
 *        option, minimise, maximise and close buttons.
 *
 * Dragging and double clicks are handled by the toolkit's title; a double click maximises or
 * restores the window only while the maximise button is shown. Button looks come from the
 * style sheet, which selects them by object name.
 */
class BaseTitle : public aKLOGUIToolkit::CFancyTitle
{
    Q_OBJECT

public:
    /** @brief Each flag shows and enables its button, or hides and disables it. */
    explicit BaseTitle(bool showAppButton = true, bool showOptionButton = true, bool showMinButton = true,
                       bool showMaxButton = true, bool showCloseButton = true, QWidget *parent = nullptr);
    ~BaseTitle() override;

    /** @brief The title text. */
    QString title() const;

signals:
    void signalAppButtonClicked();
    void signalOptionButtonClicked();
    void signalMinButtonClicked();
    void signalMaxButtonClicked();
    void signalCloseButtonClicked();

public slots:
    void setAppButtonShow(bool showIt);
    void setOptionButtonShow(bool showIt);
    void setMinButtonShow(bool showIt);
    void setMaxButtonShow(bool showIt);
    void setCloseButtonShow(bool showIt);
    /** @brief Appends \a button after the title; the title takes ownership. */
    void addCustomButton(QAbstractButton *button);
    void setTitle(QString title);
    void setTitleIcon(QIcon icon);

private:
    std::unique_ptr<Ui::BaseTitle> m_ui;
};

} // namespace aptui
