// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "modifypage.h"
#include "userwritablefile.h"

#include <deviceinfo.h>

#include <Vexo.h>

#include <QByteArray>
#include <QList>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class QAbstractItemDelegate;
class QFrame;
class QKeyEvent;
class QMouseEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTimer;

class DeviceStore;

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace aKLOGUIToolkit {
class CTableView;
class CTableDelegate;
} // namespace aKLOGUIToolkit

namespace VexoTool {

class Journal;

class DeviceInfoModel;
class ProtocolRows;
class SnapshotSource;
class SnapshotThumbnails;

/**
 * @brief The device list: the count of online devices, the refresh button and the sortable
 *        table of all devices on the network.
 *
 * The page keeps the table and DeviceStore in step with the discovery service's reports. The
 * device list keeps at most one row checked unless batch operations are on; every change of the
 * checked rows is reported through signalCurrentSelectionModelChange() with the kind of selection
 * and the checked devices, for the modify panel.
 *
 * With batch operations on, any number of rows can be checked: a click on a check box toggles
 * its row, Shift with a click checks the rows from the last clicked row to the clicked one, and
 * the check box in the check column's header checks or unchecks all rows. The Export, Config
 * Export and Config Reset buttons are shown then.
 *
 * The table takes the keyboard focus: the arrow keys move the current row, Space checks or
 * unchecks it, and Enter asks for the panel's first field (signalEnterPressed()).
 *
 * The filter box above the table (Ctrl+F) shows only the devices that match its text (see
 * DeviceFilter); the count line then says how many of all devices are shown. Filtering never
 * checks or unchecks a row: the flows work on the checked rows that are shown, and the page says
 * how many checked rows the filter hides. Devices that arrive are filtered as they come; a listed
 * device whose fields change stays shown until the filter text changes, so that a device whose
 * address the user just changed does not vanish from the flow under way. The count line also
 * says how many addresses more than one device uses.
 *
 * The page keeps its devices' records in the store it is given and asks the discovery service
 * it is given to report the devices again; the program gives it DeviceStore::instance() and
 * VEXO::VexoHandler::instance().
 */
class DeviceDisplayPage : public QWidget
{
    Q_OBJECT

public:
    /**
     * @brief A page over @p store and @p discovery, which must outlive it, whose column order is
     *        kept in @p columnFile (by default "ColumnConfig.xml" beside the program).
     */
    DeviceDisplayPage(DeviceStore *store, VEXO::VexoHandler *discovery, QWidget *parent = nullptr,
                      const UserWritableFile &columnFile
                      = UserWritableFile::forPath(QStringLiteral("ColumnConfig.xml")));

    ~DeviceDisplayPage() override;

    /**
     * @brief The table model, for readers of the cells (export, batch flows).
     *
     * Its rows stay in arrival order; the table shows them sorted through viewModel().
     */
    DeviceInfoModel *model() const { return m_model; }

    /** @brief The sorted view of model() that the table shows. */
    QSortFilterProxyModel *viewModel() const { return m_proxy; }

    /**
     * @brief The model rows whose check cell is checked and that the filter shows, in the order
     *        the table shows them.
     */
    QList<int> checkedRows() const;

    /**
     * @brief Whether several rows can be checked at once, and the batch buttons are shown.
     *
     * Switching it off with several rows checked unchecks them all, so that no operation meant
     * for a batch goes to one device of it by surprise; one checked row stays checked.
     */
    void setBatchOperations(bool on);
    /** @brief Where the batch key export and batch reset write their entries (none without one). */
    void setJournal(Journal *journal) { m_journal = journal; }
    bool batchOperations() const { return m_batchOperations; }

    /** @brief What the check box in the check column's header shows (batch operations only). */
    Qt::CheckState headerCheckState() const;

    /** @brief Where the snapshot view gets the cameras' thumbnails. */
    void setSnapshotSource(std::shared_ptr<SnapshotSource> source);
    /**
     * @brief Shows thumbnails of the cameras beside their rows, fetched for the rows in view only;
     *        off, they are forgotten.
     */
    void setSnapshotView(bool on);
    bool snapshotView() const { return m_snapshotView; }
    /** @brief The thumbnails the snapshot view shows. */
    SnapshotThumbnails *thumbnails() const { return m_thumbnails; }

    /** @brief The row's device as the pages pass it on: ID, type, IPv4, serial number, MAC; result "0". */
    DeviceInfo deviceInfoOfRow(int row) const;

    /**
     * @brief How long an empty list waits, after start and after "Refresh", before the count
     * line says that nothing answers: the discovery library's inquiry period (10 s) by default.
     */
    void setNoAnswerDelay(int milliseconds);

    /** @brief What the program is doing for the whole list (a sign-in, say), shown in the count line; empty hides it. */
    void setActivity(const QString &text);

signals:
    /** @brief The checked rows changed: what the panel should offer, and the checked devices. */
    void signalCurrentSelectionModelChange(ModifyPage modifyPageType, QVector<DeviceInfo> vecDeviceInfo);
    /** @brief A modal dialog of the page is about to run: dim the main window. */
    void signalCoverMainPage();
    /** @brief The page's modal dialog has ended. */
    void signalDisCoverMainPage();
    /** @brief Enter was pressed in the table: the user wants to go on in the panel. */
    void signalEnterPressed();

public slots:
    /** @brief Opens the "Export" dialog for the checked rows, with the main window covered meanwhile. */
    void onSaveDeviceInfoToExcel();
    /** @brief Lists a device that came online, unless its MAC is listed already. */
    void onDeviceLogin(const VEXO_DEVICE_INFO &struDevInfo);
    /**
     * @brief Removes a device that went offline and reports the rows still checked.
     *
     * Devices that go offline together (a switch restarts) are removed together: the departure
     * is applied once the events already queued have been delivered, before the next other
     * event of the list.
     */
    void onDeviceLogout(const VEXO_DEVICE_INFO &struDevInfo);
    /** @brief Rewrites a listed device's row and record. */
    void onDeviceUpdate(const VEXO_DEVICE_INFO &struDevInfo);
    /** @brief Empties the list and asks every device to report again. */
    void onManualUpdate();
    /** @brief Rewrites the rows of the devices whose network change succeeded. */
    void onDevicesModifyResult(const QVector<DeviceInfo> &vecDeviceInfo);
    /** @brief Rewrites the rows of the devices activated, then reports the checked rows again. */
    void onDevicesActiveResult(const QVector<DeviceInfo> &vecDeviceInfo);
    /** @brief Sorts the table by @p iIndex in the order the header's indicator shows. */
    void onSortTable(int iIndex);
    /**
     * @brief Keeps at most one row checked and reports a change of the checked rows, after the
     *        check box of model row @p row was clicked.
     */
    void onItemCheckChanged(int row);
    /**
     * @brief Opens the device's web page when its IPv4 address is double-clicked; when no browser
     *        can, a message gives the address to copy.
     */
    void onDoubleClickAction(const QModelIndex &miIndex);
    /** @brief Keeps a dragged section's new place, or undoes a move onto or of the first two sections. */
    void onHeaderCountChanged(int iLogicalIndex, int iOldVisualIndex, int iNewVisualIndex);
    /** @brief Lets a pressed section be dragged unless it is one of the first two. */
    void onHeaderPress(int iLogicalIndex);
    /** @brief Batch password reset of the checked rows with the reset files of a folder the user chooses. */
    void onConfigResetPassword();
    /** @brief Batch key export of the checked rows into the batch folder. */
    void onConfigExportFile();

private slots:
    void onNoAnswerTimeout();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** @brief Asks for the thumbnails of the cameras whose rows are in view. */
    void requestVisibleThumbnails();
    void setupForm();
    void setupTable(const UserWritableFile &columnFile);
    void applyDepartures();
    void recount();
    void report(const QList<int> &rows, const QList<int> &allChecked);
    void reportNoRow();
    void reportOneRow(int row);
    void reportRows(const QList<int> &rows);
    void setBarButtonsEnabled(bool enabled);
    void updateCount();
    void updateHoverCursor(const QPoint &viewportPosition);
    bool handleTableKey(QKeyEvent *event);
    bool handleTableMouse(QMouseEvent *event);
    void toggleRow(int row);
    void setRowsChecked(const QList<int> &rows, bool checked);
    void afterBulkCheckChange();
    void updateHeaderCheckState();
    void onHeaderCheckClicked();
    void applyFilter(const QString &text);
    QList<int> allCheckedRows() const;
    QList<int> shownInViewOrder(QList<int> rows) const;
    bool isShown(int row) const;
    void showCheckState(const QList<int> &allChecked);

    QFrame *m_frameDeviceCount = nullptr;
    QLabel *m_labelDeiceCount = nullptr;
    QFrame *m_countLine = nullptr;
    QLabel *m_labelDeviceCountValue = nullptr;
    QLabel *m_labelNoAnswer = nullptr;  // the hint beside the count while nothing answers
    QLabel *m_labelConflicts = nullptr; // how many addresses several devices use
    QLabel *m_labelActivity = nullptr;
    QFrame *m_frameFilter = nullptr;
    QLineEdit *m_lineEditFilter = nullptr;
    QLabel *m_labelHiddenChecked = nullptr; // how many checked rows the filter hides
    QLabel *m_labelFilterHint = nullptr;    // how a range is written, under a box whose text reads as none
    QTimer *m_noAnswerTimer = nullptr;
    QLabel *label = nullptr;
    QPushButton *m_btnConfigReset = nullptr;
    QPushButton *m_btnExportDeviceInfo = nullptr;
    QPushButton *m_btnRefreshDeviceInfo = nullptr;
    QPushButton *m_btnConfigExportFile = nullptr;
    aKLOGUIToolkit::CTableView *m_tableViewVexo = nullptr;

    DeviceStore *m_store = nullptr;
    VEXO::VexoHandler *m_discovery = nullptr;
    Journal *m_journal = nullptr;
    DeviceInfoModel *m_model = nullptr;
    std::unique_ptr<ProtocolRows> m_protocolRows; // one row per device that answers both protocols
    QSortFilterProxyModel *m_proxy = nullptr;     // the table's sorted view of m_model
    aKLOGUIToolkit::CTableDelegate *m_delegate = nullptr;
    SnapshotThumbnails *m_thumbnails = nullptr;
    QAbstractItemDelegate *m_thumbnailDelegate = nullptr;
    QTimer *m_thumbnailTimer = nullptr; // gathers scrolling and list changes into one request
    bool m_snapshotView = false;
    QVector<VEXO_DEVICE_INFO> m_departures; // offline events not yet applied
    QByteArray m_headerState;
    int m_lastCheckedCount = -1;
    bool m_batchOperations = false;
    bool m_swallowRelease = false;    // a Shift-click was handled on its press
    QPersistentModelIndex m_anchor;   // the last clicked row (model index), start of a Shift-click range
    bool m_undoingHeaderMove = false; // moving a section back emits sectionMoved again
    bool m_columnsFitted = false;     // the start widths were widened to their headers
};

} // namespace VexoTool
