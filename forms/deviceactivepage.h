// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QWidget>

class QLabel;

namespace VexoTool {

/**
 * @brief The notice the modify panel shows instead of the network form while the selection
 *        holds devices that are not activated.
 *
 * For one or several inactive devices it heads the panel's activation area ("Active now");
 * for a mix of activated and inactive devices it explains that the inactive ones must be
 * activated first. The page has no input of its own.
 */
class DeviceActivePage : public QWidget
{
    Q_OBJECT

public:
    explicit DeviceActivePage(QWidget *parent = nullptr);

    /** @brief One inactive device: "Device active", the tip and the "Active now" heading. */
    void showSingleInactive();
    /** @brief Several inactive devices: as showSingleInactive() under "Batch devices active". */
    void showBatchInactive();
    /** @brief Activated and inactive devices mixed: the apology and the note, no tip, no heading. */
    void showMixed();

private:
    void showInactive(const QString &title);
    void setPicture(const QString &path);

    QLabel *m_labelToolTitle = nullptr;
    QLabel *m_labelNetPara = nullptr;
    QLabel *m_labelPicture = nullptr;
    QLabel *m_labelWord1 = nullptr;
    QLabel *m_labelWord2 = nullptr;
    QWidget *m_tipWidget = nullptr;
    QLabel *m_labelWord3 = nullptr;
    QLabel *m_labelGrayline2 = nullptr;
    QLabel *m_labelActiveNow = nullptr;
    QLabel *m_labelGrayline3 = nullptr;
};

} // namespace VexoTool
