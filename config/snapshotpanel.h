// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <deviceinfo.h>
#include <snapshotclient.h>

#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace VexoTool {

class SnapshotSource;

/**
 * @brief What the camera of a single ONVIF row sees, above the panel's form: the snapshot scaled
 *        to the panel's width, when it was taken and how long it took, "Refresh", "Save
 *        snapshot…" (PNG or JPEG), and a click that opens it larger. Without a snapshot it says why.
 *
 * A snapshot is taken when a device is shown and on Refresh, through the source the program
 * sets; an answer for a device no longer shown is dropped. Nothing is stored unless the user saves.
 */
class SnapshotPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SnapshotPanel(QWidget *parent = nullptr);
    ~SnapshotPanel() override;

    void setSource(std::shared_ptr<SnapshotSource> source);
    /** @brief Shows @p device's snapshot (taking one when it is another device), or hides for none. */
    void showDevice(const std::optional<DeviceInfo> &device);
    /** @brief The why or when under the picture. */
    QString statusText() const;
    /** @brief The snapshot shown, if any. */
    const std::optional<onvif::Snapshot> &snapshot() const { return m_snapshot; }
    /** @brief Writes the snapshot to @p path: PNG for ".png", else JPEG (the camera's bytes when it sent a JPEG). */
    bool saveTo(const QString &path, QString *error = nullptr) const;
    /** @brief The text of a snapshot's absence for @p problem. */
    static QString problemText(onvif::SnapshotProblem problem);

public slots:
    /** @brief Takes a new snapshot of the device shown. */
    void refresh();
    /** @brief "Save snapshot…": asks where, then saves. */
    void onSave();
    /** @brief Opens the snapshot larger, in a dialog of its own. */
    void openLarger();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showOutcome(const onvif::SnapshotOutcome &outcome);
    void updatePicture();

    std::shared_ptr<SnapshotSource> m_source;
    std::optional<DeviceInfo> m_device;
    std::optional<onvif::Snapshot> m_snapshot;
    quint64 m_request = 0; // answers to older requests are dropped
    QLabel *m_picture = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_btnRefresh = nullptr;
    QPushButton *m_btnSave = nullptr;
};

} // namespace VexoTool
