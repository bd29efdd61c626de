// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "addressconflicts.h"
#include "devicefilter.h"
#include "userwritablefile.h"
#include "xmldocument.h"

#include <deviceinfo.h>

#include <Vexo.h>

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

namespace VexoTool {

/**
 * @brief The device table: one row per online device, 22 columns of formatted record fields.
 *
 * Callers name a column by its logical number (LogicalColumn) and reach the cell through
 * columnOf(), which gives the model column that holds it. The model column order comes from
 * ColumnConfig.xml, read once at construction; moveColumn() records the user's header drags in
 * that file, so the new order is the model order of the next start.
 *
 * The model keeps each device's record once, in one array, and formats a cell when it is read:
 * a row costs its record and a few flags, whatever the number of columns. Rows are found by their
 * device key (serial number and MAC) through a hash, so a device event never scans the table.
 *
 * Rows stay in arrival order and each row's ID is its position ("001" for the first row), so the
 * rows below a removed one are numbered anew.
 *
 * The first column holds the row's check box. A change of it through setData() or
 * setCheckState() (a click, the Space key) is announced by checkStateChanged(); setRowsChecked()
 * changes many rows without that announcement.
 */
class DeviceInfoModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /** @brief The logical columns, in the order of the default column file. */
    enum LogicalColumn : int {
        ColumnCheck = 0,
        ColumnId,
        ColumnDeviceType,
        ColumnActivate,
        ColumnIPv4Address,
        ColumnPort,
        ColumnSoftVersion,
        ColumnIPv4Gateway,
        ColumnHttpPort,
        ColumnSerialNumber,
        ColumnIPv4Mask,
        ColumnMac,
        ColumnChannelNo,
        ColumnDspVersion,
        ColumnStartTime,
        ColumnIPv6Address,
        ColumnIPv6Gateway,
        ColumnIPv6PrefixLength,
        ColumnSupportIPv6,
        ColumnSupportModIPv6,
        ColumnSupportDhcp,
        ColumnIPv4Dhcp,
        LogicalColumnCount
    };

    /** @brief A model whose column order is kept in "ColumnConfig.xml" beside the program. */
    explicit DeviceInfoModel(QObject *parent = nullptr);

    /**
     * @brief A model whose column order is kept in @p columnConfigPath.
     *
     * A relative path is taken relative to the program's directory. When the file is missing or
     * does not give each model column 0 to 21 exactly once (or is larger than 64 KB), the columns
     * keep the logical order and a fresh file with that order is written; an unusable file is
     * first renamed to the same name with ".bad" appended, replacing an older one.
     */
    explicit DeviceInfoModel(const QString &columnConfigPath, QObject *parent = nullptr);

    /** @brief A model whose column order is kept in @p columnFile, with the checks above. */
    explicit DeviceInfoModel(const UserWritableFile &columnFile, QObject *parent = nullptr);

    ~DeviceInfoModel() override;

    /** @brief The model column of @p logicalColumn, or -1 for a number outside 0 to 21. */
    int columnOf(int logicalColumn) const;

    /** @brief The logical column shown in model column @p column, or -1. */
    int logicalColumnAt(int column) const;

    /**
     * @brief The absolute path of the column file that was read or last written.
     *
     * The program's own file (a relative path) is beside the program; where that folder cannot
     * be written, the user's changes go into a copy in the user's configuration folder, which
     * is read from then on. A file named by an absolute path is only ever read and written there.
     */
    QString columnConfigPath() const { return m_columnConfigPath; }

    /** @brief The start width of @p logicalColumn in pixels (0 outside 0 to 21). */
    static int startWidth(int logicalColumn);

    /**
     * @brief Whether the discovery library verified the device's maker certificate.
     *
     * The Device Type cell of a device that did not shows a warning sign with
     * unverifiedToolTip() as its tool tip.
     */
    static bool isVerified(const VEXO_DEVICE_INFO &record);
    /** @brief The tool tip of an unverified device's warning sign. */
    static QString unverifiedToolTip();

    /**
     * @brief The Device Type cell's text: the record's type, then which protocols the device
     *        answers when it is not only the device protocol ("… (ONVIF)", "… +ONVIF").
     *
     * The protocol stays in the text so that it shows in the exported list, is read by screen
     * readers and sorts; an unknown type is "—".
     */
    static QString deviceTypeText(const VEXO_DEVICE_INFO &record, bool alsoOnvif);
    /** @brief The tool tip of the Device Type cell about the protocols, empty for the device protocol only. */
    static QString protocolToolTip(const VEXO_DEVICE_INFO &record, bool alsoOnvif);

    /**
     * @brief The key an address cell sorts by: its first four dot-separated parts, each read like
     *        C atoi (empty, missing or non-numeric parts count as 0), as "%03d%03d%03d%03d".
     *
     * Keys compare as texts, so 192.0.2.2 sorts before 192.0.2.10 and 203.0.113.64 after
     * 9.255.255.255.
     */
    static QString addressSortKey(QStringView text);

    /**
     * @brief Marks the listed device of @p listedRecord (the record its row shows) as also
     *        answering ONVIF, or takes the mark away.
     * @return false when the device is not listed.
     */
    bool setAlsoOnvif(const VEXO_DEVICE_INFO &listedRecord, bool alsoOnvif);
    /** @brief Whether the row is marked as also answering ONVIF. */
    bool isAlsoOnvif(int row) const;
    /** @brief How the panel changes the row's device: ONVIF for rows that ONVIF alone reported. */
    DeviceProtocol protocolOfRow(int row) const;

    /** @brief Appends a row for @p record, unchecked and numbered after the last row. */
    void addDevice(const VEXO_DEVICE_INFO &record);

    /**
     * @brief Rewrites the texts of logical columns 2 to 21 of the device's row.
     *
     * The check state and the number stay. Of several rows with the device's key the upper one
     * is rewritten; a device not listed changes nothing.
     */
    void updateDevice(const VEXO_DEVICE_INFO &record);

    /**
     * @brief Removes the device's row (the upper one of several with its key), then numbers the
     *        rows from there on after their positions.
     */
    void removeDevice(const VEXO_DEVICE_INFO &record);

    /**
     * @brief Shows @p replacement, a record with another key, in the row of @p listedRecord: the
     *        row keeps its place, number and check box; what was said about the old record goes.
     * @return false when @p listedRecord is not listed (nothing changes).
     */
    bool replaceDevice(const VEXO_DEVICE_INFO &listedRecord, const VEXO_DEVICE_INFO &replacement);

    /**
     * @brief Removes the rows of all these devices in one change and numbers the rows after their
     *        new positions.
     *
     * Each record takes the upper row with its key that no earlier record of the list took;
     * records of devices not listed are ignored. Check states stay with their devices, and
     * persistent indexes of the rows that stay follow them. Each run of adjacent rows goes as one
     * row removal, from the bottom up.
     * @return the number of rows removed.
     */
    int removeDevices(const QVector<VEXO_DEVICE_INFO> &records);

    using QAbstractItemModel::moveColumn;

    /**
     * @brief Records that the header section at visual position @p from was dragged to @p to,
     *        and saves the column file.
     *
     * The data stay in their model columns; the file gives the new order at the next start.
     * @return false if the file could not be written (the order is then not kept).
     */
    bool moveColumn(int from, int to);

    /** @brief The device key of @p row as the store has it; false, leaving both untouched, outside the rows. */
    bool keyOfRow(int row, QString &serialNumber, QString &mac) const;

    /** @brief The row of the device with this key (the upper one of several), or -1. */
    int rowOf(const QString &serialNumber, const QString &mac) const;

    /** @brief The text the cell of @p logicalColumn shows in @p row ("" outside the table). */
    QString text(int row, int logicalColumn) const;

    /**
     * @brief Says why the row's device is not available in the tool tips of its Activate cell and
     *        (after what it says about protocols) of its Device Type cell; it stays until the row
     *        goes. An empty text takes it away.
     */
    void setStatusToolTip(int row, const QString &text);
    /** @brief What setStatusToolTip() said about @p row; empty when nothing. */
    QString statusToolTip(int row) const;

    /**
     * @brief The fields of @p row that the filter box compares, prepared when first asked for
     *        and kept with the row until its device changes.
     */
    const DeviceFilter::Prepared &filterFields(int row) const;

    /** @brief The record @p row shows, or nullptr outside the rows. */
    const VEXO_DEVICE_INFO *recordOfRow(int row) const;

    /** @brief Whether the row's check box is checked. */
    Qt::CheckState checkState(int row) const;

    /**
     * @brief Checks or unchecks the row as a click on its check box would, announced by
     *        checkStateChanged() when it changes.
     * @return false outside the rows.
     */
    bool setCheckState(int row, Qt::CheckState state);

    /** @brief Checks or unchecks all these rows at once, without checkStateChanged(). */
    void setRowsChecked(const QList<int> &rows, bool checked);

    /** @brief The checked rows, top to bottom. */
    QList<int> checkedRows() const;

    /**
     * @brief What model column @p column of @p row sorts by: the text for most columns, the
     *        addressSortKey() for the address columns (a gateway only when the record has one).
     *
     * The ID column sorts by row, which callers compare themselves.
     */
    QString sortKey(int row, int column) const;

    /**
     * @brief How many IPv4 addresses are used by more than one listed device.
     *
     * The address cell of each such device shows a warning sign, with a tool tip naming the
     * other devices on its address; an empty address and 0.0.0.0 share nothing.
     */
    int addressConflictCount() const { return m_addressConflicts.conflictCount(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /** @brief Sets a check box (Qt::CheckStateRole of the check column); nothing else is editable. */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    /** @brief Removes rows and forgets their devices' addresses. */
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    /** @brief Reorders the rows by a column; the table itself sorts through a proxy instead. */
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    /** @brief addressConflictCount() or the devices that share an address changed. */
    void addressConflictsChanged();
    /** @brief The check box of @p row was changed through setData() or setCheckState(). */
    void checkStateChanged(int row);

private:
    struct Entry
    {
        VEXO_DEVICE_INFO record{};
        QString key; // serial number, NUL, MAC
        QString statusToolTip;
        mutable std::optional<DeviceFilter::Prepared> filterFields;
        bool checked = false;
        bool alsoOnvif = false;
    };

    void loadColumnConfig();
    void keepUnusableColumnConfig();
    void writeDefaultColumnConfig();
    bool saveColumnConfig();
    QString cellText(int logicalColumn, const VEXO_DEVICE_INFO &record) const;
    QString cellText(int logicalColumn, int row) const;
    QVariant deviceTypeData(const Entry &entry, int role) const;
    QVariant addressData(const Entry &entry, int role) const;
    const Entry *entryOfRow(int row) const;
    int rowOfKey(const QString &key, int nth) const;
    void indexRows() const;
    void removeRange(int first, int count);
    void announceRenumberedFrom(int row);
    void markAddressConflicts(const QStringList &keys);

    // Declared before m_columnConfigPath, which starts as the file it reads.
    UserWritableFile m_columnConfigFile;
    XmlDocument m_xmlDocument;
    QString m_columnConfigPath;
    QVector<int> columnIndex;
    QVector<int> m_logicalOfColumn;

    // The records; a slot that a departure frees is taken by the next arrival. Rows name their
    // slot, so removing rows moves only the small numbers of m_slotOfRow.
    std::vector<Entry> m_entries;
    std::vector<int> m_freeSlots;
    std::vector<int> m_slotOfRow;
    QMultiHash<QString, int> m_slotsOfKey; // the slots of each device key (more than one when listed twice)
    mutable std::vector<int> m_rowOfSlot;  // built from m_slotOfRow when the rows moved
    mutable bool m_rowOfSlotValid = true;
    // The address marks are drawn from here when the cell is read, so a device joining an
    // address that many share announces a change of its own cell and of no other.
    AddressConflicts m_addressConflicts;
};

} // namespace VexoTool
