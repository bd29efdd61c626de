// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "addressconflicts.h"
#include "userwritablefile.h"
#include "xmldocument.h"

#include <deviceinfo.h>

#include <Vexo.h>

#include <QHash>
#include <QList>
#include <QStandardItemModel>
#include <QString>
#include <QStringList>
#include <QVector>

namespace VexoTool {

/**
 * @brief The device table: one row per online device, 22 columns of formatted record fields.
 *
 * Callers name a column by its logical number (LogicalColumn) and reach the cell through
 * columnOf(), which gives the model column that holds it. The model column order comes from
 * ColumnConfig.xml, read once at construction; moveColumn() records the user's header drags in
 * that file, so the new order is the model order of the next start.
 *
 * Rows are found by their device key (serial number and MAC) through an index built from the
 * rows, so a device event never scans the table for its row.
 *
 * Rows stay in arrival order and each row's ID is its position ("001" for the first row). When
 * rows go, the rows below take over the places: their cell values move up while the items stay
 * where they were inserted. Removing rows from the middle of a long QStandardItemModel otherwise
 * makes every later lookup of an item's position slow (Qt 6.4): an item's position is searched
 * for from where it was last seen, and the model looks up each item it removes and each item
 * whose values change, so items that moved make later removals and changes search the table.
 */
class DeviceInfoModel : public QStandardItemModel
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
     *
     * When the device is not listed every row is numbered after its position.
     */
    void removeDevice(const VEXO_DEVICE_INFO &record);

    /**
     * @brief Removes the rows of all these devices in one change and numbers the rows after their
     *        new positions.
     *
     * Each record takes the upper row with its key that no earlier record of the list took;
     * records of devices not listed are ignored. Check states stay with their devices, and
     * persistent indexes of the rows that stay follow them. A few rows go as row removals; when
     * many go, the rows that stay move up in one pass, announced as a change of the row order
     * that takes the leaving rows to the bottom, and the bottom rows go in one removal.
     * @return the number of rows removed.
     */
    int removeDevices(const QVector<VEXO_DEVICE_INFO> &records);

    using QStandardItemModel::moveColumn;

    /**
     * @brief Records that the header section at visual position @p from was dragged to @p to,
     *        and saves the column file.
     *
     * The data stay in their model columns; the file gives the new order at the next start.
     * @return false if the file could not be written (the order is then not kept).
     */
    bool moveColumn(int from, int to);

    /**
     * @brief While the model announces that it reordered its rows (during its layoutChanged()),
     *        the row that @p row had before; otherwise @p row.
     */
    int rowBeforeReorder(int row) const;

    /** @brief The device key of @p row as the store has it; false, leaving both untouched, outside the rows. */
    bool keyOfRow(int row, QString &serialNumber, QString &mac) const;

    /** @brief The row of the device with this key (the upper one of several), or -1. */
    int rowOf(const QString &serialNumber, const QString &mac) const;

    /**
     * @brief How many IPv4 addresses are used by more than one listed device.
     *
     * The address cell of each such device shows a warning sign, with a tool tip naming the
     * other devices on its address; an empty address and 0.0.0.0 share nothing.
     */
    int addressConflictCount() const { return m_addressConflicts.conflictCount(); }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /** @brief Removes rows as the base class does, and forgets their devices' addresses. */
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

signals:
    /** @brief addressConflictCount() or the devices that share an address changed. */
    void addressConflictsChanged();

private:
    void loadColumnConfig();
    void keepUnusableColumnConfig();
    void writeDefaultColumnConfig();
    void setupHeaders();
    bool saveColumnConfig();
    // Declared before m_columnConfigPath, which starts as the file it reads.
    UserWritableFile m_columnConfigFile;
    QString cellText(int logicalColumn, const VEXO_DEVICE_INFO &record) const;
    void renumberFrom(int row);
    int rowOfKey(const QString &key, int nth) const;
    void rememberRow(const QString &key, int row) const;
    void forgetRowIndex();
    void removeRange(int first, int count);
    void closeGaps(const QList<int> &rows, const QStringList &keys);
    void moveRowValues(int from, int to);
    QString keyOfRow(int row) const;
    void markAddressConflicts(const QStringList &keys);

    XmlDocument m_xmlDocument;
    QString m_columnConfigPath;
    QVector<int> columnIndex;
    // The upper row of each device key, and the further rows of a key listed several times in
    // ascending order; built from the keys the check cells hold whenever the rows changed since.
    mutable QHash<QString, int> m_firstRowOfKey;
    mutable QHash<QString, QList<int>> m_moreRowsOfKey;
    mutable bool m_rowsByKeyValid = true;
    bool m_appending = false;
    bool m_keepRowIndex = false;     // the index follows a change of the rows that is under way
    QVector<int> m_rowBeforeReorder; // by row, while the rows are reordered
    // The address marks are drawn from here when the cell is read, so a device joining an
    // address that many share announces a change of its own cell and of no other.
    AddressConflicts m_addressConflicts;
};

} // namespace VexoTool
