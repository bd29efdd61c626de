// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceinfomodel.h"

#include "cipstandarditem.h"
#include "devicelistlog.h"

#include <akloguitoolkit/targetpath.h>
#include <deviceinfo.h>

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

namespace VexoTool {

namespace {

const QString kColumnConfigName = QStringLiteral("ColumnConfig.xml");
const QString kIndexValueTag = QStringLiteral("IndexValue");
const QString kRootTag = QStringLiteral("ColumnConfig");

struct ColumnDescription
{
    const char *header;
    const char *elementName; // the column's element in a column file written by the program
    int width;
};

constexpr std::array<ColumnDescription, DeviceInfoModel::LogicalColumnCount> kColumns{{
    {"", "Check", 30},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "ID"), "ID", 70},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Device Type"), "DeviceType", 160},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Activate"), "Activate", 100},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv4 Address"), "IPv4Address", 120},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Port"), "Port", 80},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Soft Vision"), "SoftVersion", 120},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv4 GateWay"), "IPv4Gateway", 100},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "HttpPort"), "HttpPort", 80},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Serial Number"), "SerialNumber", 230},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv4 Mask"), "IPv4Mask", 100},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "MAC"), "MAC", 120},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Channel NO"), "ChannelNo", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "DSP Vision"), "DSPVersion", 110},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Start Time"), "StartTime", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv6 Address"), "IPv6Address", 100},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv6 GateWay"), "IPv6Gateway", 100},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv6 Prefix Length"), "IPv6PrefixLength", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Is Support IPv6"), "SupportIPv6", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Is Support Mod IPv6"), "SupportModIPv6", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "Is Support DHCP"), "SupportDHCP", 130},
    {QT_TRANSLATE_NOOP("VexoTool::DeviceInfoModel", "IPv4 DHCP"), "IPv4DHCP", 130},
}};

const QBrush &textBrush()
{
    static const QBrush brush{QColor(QStringLiteral("#666666"))};
    return brush;
}

const QBrush &notActivatedBrush()
{
    static const QBrush brush{Qt::red};
    return brush;
}

QString rowNumber(int row)
{
    return QString::number(row + 1).rightJustified(3, u'0'); // "%03d"
}

QString deviceKey(const QString &serialNumber, const QString &mac)
{
    // Neither text holds a NUL, so the pair is unambiguous.
    return serialNumber + QChar(u'\0') + mac;
}

QString deviceKey(const VEXO_DEVICE_INFO &record)
{
    return deviceKey(fieldText(record.serialNumber), fieldText(record.macAddress));
}

bool showsIpItem(int logicalColumn, const VEXO_DEVICE_INFO &record)
{
    return logicalColumn == DeviceInfoModel::ColumnIPv4Address || logicalColumn == DeviceInfoModel::ColumnIPv4Mask
           || (logicalColumn == DeviceInfoModel::ColumnIPv4Gateway && record.extendedInfoValid == 1);
}

QString absoluteConfigPath(const QString &path)
{
    if (QDir::isAbsolutePath(path))
        return path;
    return aKLOGUIToolkit::GetTargetPathFile(path);
}

} // namespace

DeviceInfoModel::DeviceInfoModel(QObject *parent)
    : DeviceInfoModel(kColumnConfigName, parent)
{}

DeviceInfoModel::DeviceInfoModel(const QString &columnConfigPath, QObject *parent)
    : QStandardItemModel(parent)
    , m_columnConfigFile(absoluteConfigPath(columnConfigPath), QDir::isAbsolutePath(columnConfigPath)
                                                                   ? QString()
                                                                   : UserWritableFile::userPathFor(columnConfigPath))
    , m_columnConfigPath(m_columnConfigFile.readPath())
{
    loadColumnConfig();
    insertColumns(0, LogicalColumnCount);
    setupHeaders();
    connect(this, &QAbstractItemModel::rowsAboutToBeRemoved, this, &DeviceInfoModel::forgetRows);
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this, &DeviceInfoModel::forgetAllRows);
}

DeviceInfoModel::~DeviceInfoModel() = default;

int DeviceInfoModel::columnOf(int logicalColumn) const
{
    if (logicalColumn < 0 || logicalColumn >= columnIndex.size())
        return -1;
    return columnIndex.at(logicalColumn);
}

int DeviceInfoModel::startWidth(int logicalColumn)
{
    if (logicalColumn < 0 || logicalColumn >= LogicalColumnCount)
        return 0;
    return kColumns[std::size_t(logicalColumn)].width;
}

void DeviceInfoModel::loadColumnConfig()
{
    columnIndex.clear();
    if (m_xmlDocument.load(m_columnConfigPath)) {
        const int count = m_xmlDocument.childCount();
        for (int i = 0; i < count; ++i) {
            bool ok = false;
            const int value = m_xmlDocument.child(i).childByName(kIndexValueTag).value().trimmed().toInt(&ok);
            columnIndex.append(ok ? value : 0);
        }
    }

    // Every lookup goes through columnIndex, so it must give each model column exactly once.
    QVector<int> sorted = columnIndex;
    std::sort(sorted.begin(), sorted.end());
    bool valid = sorted.size() == LogicalColumnCount;
    for (int i = 0; valid && i < sorted.size(); ++i)
        valid = sorted.at(i) == i;
    if (valid)
        return;

    if (QFileInfo::exists(m_columnConfigPath))
        qCWarning(lcDeviceList, "%s gives no complete column order; using the default order",
                  qPrintable(m_columnConfigPath));
    else
        qCInfo(lcDeviceList, "no %s; writing the default column order", qPrintable(m_columnConfigPath));
    columnIndex.resize(LogicalColumnCount);
    for (int i = 0; i < LogicalColumnCount; ++i)
        columnIndex[i] = i;
    writeDefaultColumnConfig();
}

void DeviceInfoModel::writeDefaultColumnConfig()
{
    m_xmlDocument = XmlDocument::create(kRootTag);
    for (int i = 0; i < LogicalColumnCount; ++i)
        m_xmlDocument.appendChild(QString::fromLatin1(kColumns[std::size_t(i)].elementName))
            .appendChild(kIndexValueTag)
            .setValue(i);
    if (!saveColumnConfig())
        qCWarning(lcDeviceList, "cannot write %s", qPrintable(m_columnConfigPath));
}

bool DeviceInfoModel::saveColumnConfig()
{
    const QString written = m_columnConfigFile.write([this](const QString &path) { return m_xmlDocument.save(path); });
    if (written.isEmpty())
        return false;
    m_columnConfigPath = written;
    return true;
}

void DeviceInfoModel::setupHeaders()
{
    const QVariant alignment = int(Qt::AlignLeft | Qt::AlignVCenter);
    for (int logical = 0; logical < LogicalColumnCount; ++logical) {
        const int column = columnOf(logical);
        if (logical == ColumnCheck)
            setHeaderData(column, Qt::Horizontal, QString(), Qt::CheckStateRole);
        else
            setHeaderData(column, Qt::Horizontal, tr(kColumns[std::size_t(logical)].header), Qt::DisplayRole);
        setHeaderData(column, Qt::Horizontal, alignment, Qt::TextAlignmentRole);
    }
}

QString DeviceInfoModel::cellText(int logicalColumn, const VEXO_DEVICE_INFO &record) const
{
    const bool extended = record.extendedInfoValid == 1;
    switch (logicalColumn) {
    case ColumnDeviceType:
        return fieldText(record.deviceTypeText);
    case ColumnActivate:
        return record.inactive == 0 ? tr("Activated") : tr("Not activated");
    case ColumnIPv4Address:
        return fieldText(record.ipv4Address);
    case ColumnPort:
        return QString::asprintf("%5u", unsigned(record.port));
    case ColumnSoftVersion:
        return fieldText(record.softwareVersion);
    case ColumnIPv4Gateway:
        return extended ? fieldText(record.ipv4Gateway) : QString();
    case ColumnHttpPort:
        return record.httpPort == 0 ? tr("N/A") : QString::number(record.httpPort);
    case ColumnSerialNumber:
        return fieldText(record.serialNumber);
    case ColumnIPv4Mask:
        return fieldText(record.ipv4SubnetMask);
    case ColumnMac:
        return fieldText(record.macAddress);
    case ColumnChannelNo:
        return QString::asprintf("%2u", unsigned(record.channelCount));
    case ColumnDspVersion:
        return fieldText(record.dspVersion);
    case ColumnStartTime:
        return fieldText(record.startTime);
    case ColumnIPv6Address:
        return extended ? fieldText(record.ipv6Address) : QString();
    case ColumnIPv6Gateway:
        return extended ? fieldText(record.ipv6Gateway) : QString();
    case ColumnIPv6PrefixLength:
        return extended ? QString::asprintf("%2d", int(record.ipv6PrefixLength)) : QString();
    case ColumnSupportIPv6:
        if (!(record.capabilityFlags & 0x01))
            return tr("No");
        return (record.extendedInfoValid & 0x01) ? tr("Yes") : QString();
    case ColumnSupportModIPv6:
        return (record.capabilityFlags & 0x02) ? tr("Yes") : tr("No");
    case ColumnSupportDhcp:
        return (record.capabilityFlags & 0x04) ? tr("Yes") : tr("No");
    case ColumnIPv4Dhcp:
        return record.dhcpEnabled == 1 ? tr("ON") : tr("OFF");
    default:
        return QString();
    }
}

void DeviceInfoModel::addDevice(const VEXO_DEVICE_INFO &record)
{
    const int row = rowCount();
    // The row is complete before it enters the model: one insertion, and no item changes that
    // the page would take for the user's check-box clicks.
    QList<QStandardItem *> items(LogicalColumnCount, nullptr);
    for (int logical = 0; logical < LogicalColumnCount; ++logical) {
        QStandardItem *item = nullptr;
        if (logical == ColumnCheck) {
            item = new QStandardItem;
            item->setCheckable(true);
            item->setCheckState(Qt::Unchecked);
        } else if (logical == ColumnId) {
            item = new QStandardItem(rowNumber(row));
        } else {
            const QString text = cellText(logical, record);
            item = showsIpItem(logical, record) ? new aptui::CIpStandardItem(text) : new QStandardItem(text);
        }
        item->setForeground(logical == ColumnActivate && record.inactive != 0 ? notActivatedBrush() : textBrush());
        items[columnOf(logical)] = item;
    }

    QStandardItem *checkItem = items.at(columnOf(ColumnCheck));
    const QString key = deviceKey(record);
    m_rowsByKey[key].append(checkItem);
    m_keyOfRow.insert(checkItem, key);
    appendRow(items);
}

QStandardItem *DeviceInfoModel::keyItem(const QString &serialNumber, const QString &mac) const
{
    const auto it = m_rowsByKey.constFind(deviceKey(serialNumber, mac));
    if (it == m_rowsByKey.cend() || it->isEmpty())
        return nullptr;
    // The upper row wins when a device is listed twice.
    QStandardItem *upper = nullptr;
    int upperRow = -1;
    for (QStandardItem *item : *it) {
        const int row = item->row();
        if (!upper || row < upperRow) {
            upper = item;
            upperRow = row;
        }
    }
    return upper;
}

int DeviceInfoModel::rowOf(const QString &serialNumber, const QString &mac) const
{
    const QStandardItem *item = keyItem(serialNumber, mac);
    return item ? item->row() : -1;
}

void DeviceInfoModel::updateDevice(const VEXO_DEVICE_INFO &record)
{
    const QStandardItem *found = keyItem(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (!found)
        return;
    const int row = found->row();
    {
        // Each cell is announced once after all its changes. The check and ID cells are not
        // announced: a change notice on a check cell counts as the user's click on it.
        const QSignalBlocker blocker(this);
        for (int logical = ColumnDeviceType; logical < LogicalColumnCount; ++logical) {
            const int column = columnOf(logical);
            const QString text = cellText(logical, record);
            QStandardItem *cell = item(row, column);
            // A gateway that appears later must sort as an address like the others, or the
            // column's order would depend on when each device reported it.
            const bool ipItem = showsIpItem(logical, record);
            const QBrush &brush = logical == ColumnActivate && record.inactive != 0 ? notActivatedBrush() : textBrush();
            if (!cell || (ipItem && !dynamic_cast<aptui::CIpStandardItem *>(cell))) {
                QStandardItem *replacement = ipItem ? new aptui::CIpStandardItem(text) : new QStandardItem(text);
                replacement->setForeground(brush);
                setItem(row, column, replacement);
                continue;
            }
            cell->setText(text);
            if (logical == ColumnActivate)
                cell->setForeground(brush);
        }
    }
    for (int logical = ColumnDeviceType; logical < LogicalColumnCount; ++logical) {
        const QModelIndex cell = index(row, columnOf(logical));
        emit dataChanged(cell, cell);
    }
}

void DeviceInfoModel::removeDevice(const VEXO_DEVICE_INFO &record)
{
    const QStandardItem *found = keyItem(fieldText(record.serialNumber), fieldText(record.macAddress));
    const int row = found ? found->row() : 0;
    if (found)
        removeRow(row);
    renumberFrom(row);
}

void DeviceInfoModel::renumberFrom(int first)
{
    const int column = columnOf(ColumnId);
    const int rows = rowCount();
    if (first >= rows)
        return;
    {
        // Texts are set quietly and announced as one range: a removal near the top of a long
        // list renumbers thousands of rows. Unchanged texts are left alone by setText().
        const QSignalBlocker blocker(this);
        for (int row = first; row < rows; ++row) {
            if (QStandardItem *cell = item(row, column))
                cell->setText(rowNumber(row));
        }
    }
    emit dataChanged(index(first, column), index(rows - 1, column), {Qt::DisplayRole, Qt::EditRole});
}

bool DeviceInfoModel::moveColumn(int from, int to)
{
    const int count = m_xmlDocument.childCount();
    for (int i = 0; i < count; ++i) {
        XmlDocument indexValue = m_xmlDocument.child(i).childByName(kIndexValueTag);
        const int v = indexValue.value().trimmed().toInt();
        if (from < to) {
            if (from < v && v <= to)
                indexValue.setValue(v - 1);
            else if (v == from)
                indexValue.setValue(to);
        } else if (to < from) {
            if (to <= v && v < from)
                indexValue.setValue(v + 1);
            else if (v == from)
                indexValue.setValue(to);
        }
    }
    if (saveColumnConfig())
        return true;
    qCWarning(lcDeviceList, "cannot write %s; the column order is not kept", qPrintable(m_columnConfigPath));
    return false;
}

void DeviceInfoModel::forgetRows(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int column = columnOf(ColumnCheck);
    for (int row = first; row <= last; ++row) {
        const QStandardItem *checkItem = item(row, column);
        const auto keyIt = m_keyOfRow.constFind(checkItem);
        if (keyIt == m_keyOfRow.cend())
            continue;
        const auto rowsIt = m_rowsByKey.find(*keyIt);
        if (rowsIt != m_rowsByKey.end()) {
            rowsIt->removeOne(const_cast<QStandardItem *>(checkItem));
            if (rowsIt->isEmpty())
                m_rowsByKey.erase(rowsIt);
        }
        m_keyOfRow.erase(keyIt);
    }
}

void DeviceInfoModel::forgetAllRows()
{
    m_rowsByKey.clear();
    m_keyOfRow.clear();
}

} // namespace VexoTool
