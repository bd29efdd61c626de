// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>
#include <deviceinfo.h>

#include <QVector>

class QFrame;
class QLabel;
class QStandardItemModel;

namespace aKLOGUIToolkit {
class CTableView;
}

namespace VexoTool {

/**
 * @brief The modal list of a batch's outcome, one row per device, with the number of devices
 *        handled and the number that failed.
 *
 * Fill it once: set the texts that differ from the defaults, then call setDevices(), which
 * appends the two counts to the labels.
 */
class DeviceModifyResultPage : public aptui::BaseDialog
{
    Q_OBJECT

public:
    explicit DeviceModifyResultPage(QWidget *parent = nullptr);
    ~DeviceModifyResultPage() override;

    /** @brief Replaces the header text of @p column (0 to 4). */
    void setColumnTitle(int column, const QString &text);
    /** @brief Replaces the text before the device count ("Devices Number:" by default). */
    void setDevicesLabel(const QString &text);
    /** @brief Replaces the text before the failure count ("Failed Number:" by default). */
    void setFailedLabel(const QString &text);

    /**
     * @brief Lists @p devices and appends both counts to the labels.
     *
     * A device whose result is the translated "Succeed" shows only the success icon in the last
     * column; any other result counts as a failure and is shown beside the error icon. A failure
     * whose code has an explanation gets it as the cell's tool tip, and the explanations of the
     * codes present are listed below the table.
     */
    void setDevices(const QVector<DeviceInfo> &devices);

    /** @brief The table's model, for readers of the rows. */
    QStandardItemModel *model() const { return m_model; }

private:
    QLabel *m_labelDeviceAll = nullptr;
    QFrame *m_ResultSplit = nullptr;
    QLabel *m_labelPic = nullptr;
    QLabel *m_labelDeviceFail = nullptr;
    aKLOGUIToolkit::CTableView *m_tableViewResult = nullptr;
    QStandardItemModel *m_model = nullptr;
    QLabel *m_labelExplanations = nullptr;
};

} // namespace VexoTool
