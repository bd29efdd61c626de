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
 * @brief The modal list of a batch's outcome, one row per device, with how many devices the
 *        operation succeeded on and how many failed.
 *
 * Fill it once: say which operation it was (setOperation(), a network change unless told), then
 * call setDevices().
 */
class DeviceModifyResultPage : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /** @brief The batch operation whose outcome the list shows. */
    enum class Operation { NetworkChange, Activation, OnvifSignIn };

    explicit DeviceModifyResultPage(QWidget *parent = nullptr);
    ~DeviceModifyResultPage() override;

    /** @brief Titles the window, the result column and the counts for @p operation. */
    void setOperation(Operation operation);

    /**
     * @brief Lists @p devices and counts them: "Changed: 3 of 4" (or "Activated: …") and "Failed: 1".
     *
     * A device whose result is the translated "Succeed" shows "Succeeded" with the success icon
     * in the last column; any other result counts as a failure and is shown beside the error
     * icon. A failure whose code has an explanation gets it as the cell's tool tip, and the
     * explanations of the codes present are listed below the table.
     */
    void setDevices(const QVector<DeviceInfo> &devices);

    /** @brief Says @p summary above the list instead of the counts setDevices() wrote. */
    void setSummary(const QString &summary);

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
    Operation m_operation = Operation::NetworkChange;
};

} // namespace VexoTool
