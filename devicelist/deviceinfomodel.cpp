// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceinfomodel.h"

#include "cipstandarditem.h"
#include "devicelistlog.h"

#include <deviceinfo.h>

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>

#include <algorithm>
#include <cstring>
#include <array>
#include <utility>

namespace VexoTool {

namespace {

const QString kColumnConfigName = QStringLiteral("ColumnConfig.xml");
const QString kIndexValueTag = QStringLiteral("IndexValue");
const QString kRootTag = QStringLiteral("ColumnConfig");
constexpr qint64 kMaxColumnConfigSize = 64 * 1024;

// The device key of a row, held by its check cell so that it moves with the row's values.
constexpr int kDeviceKeyRole = Qt::UserRole + 1;
// On the Device Type cell: the row's record came from the ONVIF service, and the row's device
// (a device protocol row) answers ONVIF as well.
constexpr int kOnvifOnlyRole = Qt::UserRole + 2;
constexpr int kAlsoOnvifRole = Qt::UserRole + 3;

// What an ONVIF row shows for a value its device has not told (yet).
const QString kUnknown = QStringLiteral("\u2014");

QString orUnknown(const QString &text)
{
    return text.trimmed().isEmpty() ? kUnknown : text;
}

// The record as the device protocol's cells read it.
VEXO_DEVICE_INFO stripLead(const VEXO_DEVICE_INFO &record)
{
    VEXO_DEVICE_INFO copy = record;
    std::memset(copy.leadText, 0, sizeof copy.leadText);
    return copy;
}

// Above this many row moves a batch of removals moves the rows in one pass over the rows instead
// of announcing each removed range (which moves the rows below it once per range).
constexpr qsizetype kMovesPerRowBeforeOnePass = 1;

// Gives a cell all values (texts, colours, check state, flags) of another cell without a change
// notice. The assignment is protected in QStandardItem; naming it through a class derived from
// it makes it reachable for any item.
struct CellValues : QStandardItem
{
    using QStandardItem::operator=;
    static void copy(QStandardItem &to, const QStandardItem &from)
    {
        QStandardItem &(QStandardItem::*assign)(const QStandardItem &) = &CellValues::operator=;
        (to.*assign)(from);
    }
};

bool isAddressCell(const QStandardItem *cell)
{
    return dynamic_cast<const aptui::CIpStandardItem *>(cell) != nullptr;
}

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

// A small warning sign in @p colour, drawn here so that it needs no skin image.
QIcon drawWarningIcon(const QColor &colour)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        QPainterPath triangle;
        triangle.moveTo(s / 2, s * 0.06);
        triangle.lineTo(s * 0.97, s * 0.92);
        triangle.lineTo(s * 0.03, s * 0.92);
        triangle.closeSubpath();
        painter.fillPath(triangle, colour);
        painter.setPen(QPen(Qt::white, s * 0.12, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s / 2, s * 0.36), QPointF(s / 2, s * 0.62));
        painter.drawPoint(QPointF(s / 2, s * 0.78));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Marks the Device Type cell with the device's protocols and, for a device that did not prove
// its identity, a warning sign; the tool tip says both, and screen readers read it too.
void markDeviceType(QStandardItem &cell, const VEXO_DEVICE_INFO &record)
{
    const bool alsoOnvif = cell.data(kAlsoOnvifRole).toBool();
    cell.setData(isOnvifRecord(record), kOnvifOnlyRole);
    cell.setText(DeviceInfoModel::deviceTypeText(record, alsoOnvif));
    QStringList tips;
    const QString protocols = DeviceInfoModel::protocolToolTip(record, alsoOnvif);
    if (!protocols.isEmpty())
        tips.append(protocols);
    // ONVIF devices prove nothing to the discovery library; their warning is the credentials.
    const bool unverified = !isOnvifRecord(record) && !DeviceInfoModel::isVerified(record);
    if (unverified)
        tips.append(DeviceInfoModel::unverifiedToolTip());
    const QString rival = onvifContestedBy(record);
    if (!rival.isEmpty()) {
        //: Tool tip of an ONVIF device whose identity a device at another address also claims;
        //: %1 is the listed device's address, %2 the other one.
        tips.append(DeviceInfoModel::tr("Identity conflict: the devices at %1 and %2 claim to be the same device. "
                                        "No password is sent to it until the list is refreshed.")
                        .arg(fieldText(record.ipv4Address), rival));
    }
    static const QIcon icon = drawWarningIcon(QColor(0xe8, 0x9a, 0x0c));
    cell.setData(unverified || !rival.isEmpty() ? QVariant(icon) : QVariant(), Qt::DecorationRole);
    const QString tip = tips.join(QLatin1Char('\n'));
    cell.setData(tip.isEmpty() ? QVariant() : QVariant(tip), Qt::ToolTipRole);
    cell.setData(tip.isEmpty() ? QVariant() : QVariant(tip), Qt::AccessibleDescriptionRole);
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

// How a device is named where it shares its address with others.
QString conflictName(const VEXO_DEVICE_INFO &record)
{
    return fieldText(record.serialNumber) + QStringLiteral(" (") + fieldText(record.macAddress) + u')';
}

// The address a device is counted on for conflicts. An ONVIF device not yet identified may be a
// listed device seen through its other protocol, so it claims no conflict until it is known.
QString conflictAddress(const VEXO_DEVICE_INFO &record)
{
    return isUnidentifiedOnvif(record) ? QString() : fieldText(record.ipv4Address);
}

// The tool tip lists this many other devices at most.
constexpr int kNamesInConflictToolTip = 10;

bool showsIpItem(int logicalColumn, const VEXO_DEVICE_INFO &record)
{
    return logicalColumn == DeviceInfoModel::ColumnIPv4Address || logicalColumn == DeviceInfoModel::ColumnIPv4Mask
           || (logicalColumn == DeviceInfoModel::ColumnIPv4Gateway && record.extendedInfoValid == 1);
}

} // namespace

DeviceInfoModel::DeviceInfoModel(QObject *parent)
    : DeviceInfoModel(kColumnConfigName, parent)
{}

DeviceInfoModel::DeviceInfoModel(const QString &columnConfigPath, QObject *parent)
    : DeviceInfoModel(UserWritableFile::forPath(columnConfigPath), parent)
{}

DeviceInfoModel::DeviceInfoModel(const UserWritableFile &columnFile, QObject *parent)
    : QStandardItemModel(parent)
    , m_columnConfigFile(columnFile)
    , m_columnConfigPath(m_columnConfigFile.readPath())
{
    loadColumnConfig();
    insertColumns(0, LogicalColumnCount);
    setupHeaders();
    // Any change of the rows but an append of addDevice() moves rows or keys.
    connect(this, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_appending)
            forgetRowIndex();
    });
    connect(this, &QAbstractItemModel::rowsRemoved, this, &DeviceInfoModel::forgetRowIndex);
    connect(this, &QAbstractItemModel::rowsMoved, this, &DeviceInfoModel::forgetRowIndex);
    connect(this, &QAbstractItemModel::layoutChanged, this, &DeviceInfoModel::forgetRowIndex);
    connect(this, &QAbstractItemModel::modelReset, this, &DeviceInfoModel::forgetRowIndex);
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
    const QFileInfo file(m_columnConfigPath);
    const bool exists = file.exists();
    // A file the program wrote is about 1 KB; a much larger one is not worth parsing.
    if (exists && file.size() <= kMaxColumnConfigSize && m_xmlDocument.load(m_columnConfigPath)) {
        // One more entry than there are columns is enough to know the file is unusable.
        const QList<XmlDocument> entries = m_xmlDocument.children(LogicalColumnCount + 1);
        for (const XmlDocument &entry : entries) {
            bool ok = false;
            const int value = entry.childByName(kIndexValueTag).value().trimmed().toInt(&ok);
            columnIndex.append(ok ? value : -1);
        }
    }

    // Every lookup goes through columnIndex, so it must give each model column exactly once.
    bool valid = columnIndex.size() == LogicalColumnCount;
    QVector<bool> seen(LogicalColumnCount, false);
    for (int i = 0; valid && i < columnIndex.size(); ++i) {
        const int column = columnIndex.at(i);
        valid = column >= 0 && column < LogicalColumnCount && !seen.at(column);
        if (valid)
            seen[column] = true;
    }
    if (valid)
        return;

    if (exists)
        keepUnusableColumnConfig();
    else
        qCInfo(lcDeviceList, "no %s; writing the default column order", qPrintable(m_columnConfigPath));
    columnIndex.resize(LogicalColumnCount);
    for (int i = 0; i < LogicalColumnCount; ++i)
        columnIndex[i] = i;
    writeDefaultColumnConfig();
}

void DeviceInfoModel::keepUnusableColumnConfig()
{
    // The user may want the order back from a file that a crash or an editor damaged, so it is
    // kept beside the new one (replacing one kept earlier) rather than overwritten.
    const QString kept = m_columnConfigPath + QStringLiteral(".bad");
    if (m_columnConfigPath == m_columnConfigFile.shippedPath() && !m_columnConfigFile.userPath().isEmpty()) {
        // The shipped file stays as it is; the user's copy written next is read from then on.
        qCWarning(lcDeviceList, "%s gives no complete column order; using the default order",
                  qPrintable(m_columnConfigPath));
        return;
    }
    QFile::remove(kept);
    if (QFile::rename(m_columnConfigPath, kept))
        qCWarning(lcDeviceList, "%s gives no complete column order; kept it as %s and using the default order",
                  qPrintable(m_columnConfigPath), qPrintable(kept));
    else
        qCWarning(lcDeviceList, "%s gives no complete column order and cannot be kept as %s; using the default order",
                  qPrintable(m_columnConfigPath), qPrintable(kept));
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
    if (isOnvifRecord(record)) {
        // What discovery did not tell shows as unknown, never as a made-up zero or "No".
        const bool identified = !isUnidentifiedOnvif(record);
        switch (logicalColumn) {
        case ColumnActivate:
            if (!identified)
                //: the status of a device found by ONVIF whose details need its user name and password
                return tr("Needs log-in");
            break;
        case ColumnPort:
        case ColumnChannelNo:
            if (!identified || (logicalColumn == ColumnPort ? record.port : record.channelCount) == 0)
                return kUnknown;
            break;
        case ColumnHttpPort:
            if (record.httpPort == 0)
                return kUnknown;
            break;
        case ColumnIPv6PrefixLength:
        case ColumnSupportIPv6:
        case ColumnSupportModIPv6:
        case ColumnSupportDhcp:
        case ColumnIPv4Dhcp:
            if (!identified)
                return kUnknown;
            break;
        case ColumnSerialNumber:
            // The endpoint reference identifies the device until its serial number is read.
            return orUnknown(fieldText(record.serialNumber));
        default:
            break;
        }
        if (logicalColumn >= ColumnDeviceType && logicalColumn != ColumnActivate)
            return orUnknown(cellText(logicalColumn, stripLead(record)));
    }
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
        if (!(record.capabilityFlags & VEXO_CAP_IPV6))
            return tr("No");
        return (record.extendedInfoValid & 0x01) ? tr("Yes") : QString();
    case ColumnSupportModIPv6:
        return (record.capabilityFlags & VEXO_CAP_MOD_IPV6) ? tr("Yes") : tr("No");
    case ColumnSupportDhcp:
        return (record.capabilityFlags & VEXO_CAP_DHCP) ? tr("Yes") : tr("No");
    case ColumnIPv4Dhcp:
        return record.dhcpEnabled == 1 ? tr("ON") : tr("OFF");
    default:
        return QString();
    }
}

bool DeviceInfoModel::isVerified(const VEXO_DEVICE_INFO &record)
{
    return (record.identityFlags & VEXO_IDENTITY_VERIFIED) != 0;
}

QString DeviceInfoModel::deviceTypeText(const VEXO_DEVICE_INFO &record, bool alsoOnvif)
{
    const QString type = fieldText(record.deviceTypeText);
    if (isOnvifRecord(record))
        //: the Device Type cell of a device found by ONVIF; %1 is its model or "—"
        return tr("%1 (ONVIF)").arg(orUnknown(type));
    if (alsoOnvif)
        //: the Device Type cell of a device that answers both the program's own protocol (VXDP) and ONVIF
        return tr("%1 +ONVIF").arg(orUnknown(type));
    return type;
}

QString DeviceInfoModel::protocolToolTip(const VEXO_DEVICE_INFO &record, bool alsoOnvif)
{
    if (isUnidentifiedOnvif(record))
        return tr("Found by ONVIF. Sign in with \"ONVIF Sign-In...\" in the title bar's menu, or enter its user "
                  "name and password in the panel, to read its serial number, MAC address and network settings.");
    if (isOnvifRecord(record))
        return tr("Found by ONVIF: its network settings are changed with a user name and password; activation and "
                  "password recovery are not available.");
    if (alsoOnvif)
        return tr("Answers both the device protocol (VXDP) and ONVIF; this program uses the device protocol.");
    return QString();
}

bool DeviceInfoModel::setAlsoOnvif(const VEXO_DEVICE_INFO &record, bool alsoOnvif)
{
    const int row = rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (row < 0)
        return false;
    QStandardItem *cell = item(row, columnOf(ColumnDeviceType));
    if (!cell)
        return false;
    cell->setData(alsoOnvif, kAlsoOnvifRole);
    markDeviceType(*cell, record);
    return true;
}

bool DeviceInfoModel::isAlsoOnvif(int row) const
{
    const QStandardItem *cell = item(row, columnOf(ColumnDeviceType));
    return cell && cell->data(kAlsoOnvifRole).toBool();
}

DeviceProtocol DeviceInfoModel::protocolOfRow(int row) const
{
    const QStandardItem *cell = item(row, columnOf(ColumnDeviceType));
    return cell && cell->data(kOnvifOnlyRole).toBool() ? DeviceProtocol::Onvif : DeviceProtocol::Vxdp;
}

QString DeviceInfoModel::unverifiedToolTip()
{
    return tr("This device has no valid maker certificate: it may be an impostor, and no password is sent to it.");
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
        if (logical == ColumnDeviceType)
            markDeviceType(*item, record);
        items[columnOf(logical)] = item;
    }

    const QString key = deviceKey(record);
    items.at(columnOf(ColumnCheck))->setData(key, kDeviceKeyRole);
    m_appending = true;
    appendRow(items);
    m_appending = false;
    if (m_rowsByKeyValid)
        rememberRow(key, row);
    markAddressConflicts(m_addressConflicts.setAddress(key, conflictAddress(record), conflictName(record)));
}

QString DeviceInfoModel::keyOfRow(int row) const
{
    const QStandardItem *cell = item(row, columnOf(ColumnCheck));
    return cell ? cell->data(kDeviceKeyRole).toString() : QString();
}

void DeviceInfoModel::markAddressConflicts(const QStringList &keys)
{
    const int column = columnOf(ColumnIPv4Address);
    for (const QString &key : keys) {
        const int row = rowOfKey(key, 0);
        if (row >= 0) {
            const QModelIndex cell = index(row, column);
            emit dataChanged(cell, cell, {Qt::DecorationRole, Qt::ToolTipRole});
        }
    }
    if (!keys.isEmpty())
        emit addressConflictsChanged();
}

QVariant DeviceInfoModel::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DecorationRole && role != Qt::ToolTipRole) || index.column() != columnOf(ColumnIPv4Address)
        || index.parent().isValid())
        return QStandardItemModel::data(index, role);
    const QString key = keyOfRow(index.row());
    if (!m_addressConflicts.isConflicting(key))
        return QStandardItemModel::data(index, role);
    if (role == Qt::DecorationRole) {
        static const QIcon icon = drawWarningIcon(QColor(0xd1, 0x1f, 0x24));
        return icon;
    }
    const QStringList others = m_addressConflicts.othersOf(key);
    QStringList lines = others.mid(0, kNamesInConflictToolTip);
    if (others.size() > kNamesInConflictToolTip)
        lines.append(tr("and %n more", "", int(others.size()) - kNamesInConflictToolTip));
    //: Tool tip of a device whose IPv4 address another listed device also uses; %1 is the address,
    //: %2 the other devices, one "serial number (MAC)" a line.
    return tr("Address conflict: %1 is also used by\n%2").arg(m_addressConflicts.addressOf(key), lines.join(u'\n'));
}

bool DeviceInfoModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (!parent.isValid() && row >= 0 && count > 0 && row + count <= rowCount()) {
        QStringList changed;
        if (row == 0 && count == rowCount()) {
            changed.append(QString()); // only to announce the new count
            m_addressConflicts.clear();
        } else {
            for (int r = row; r < row + count; ++r)
                changed += m_addressConflicts.remove(keyOfRow(r));
        }
        const bool removed = QStandardItemModel::removeRows(row, count, parent);
        markAddressConflicts(changed);
        return removed;
    }
    return QStandardItemModel::removeRows(row, count, parent);
}

void DeviceInfoModel::rememberRow(const QString &key, int row) const
{
    const auto first = m_firstRowOfKey.constFind(key);
    if (first == m_firstRowOfKey.cend())
        m_firstRowOfKey.insert(key, row);
    else
        m_moreRowsOfKey[key].append(row);
}

int DeviceInfoModel::rowOfKey(const QString &key, int nth) const
{
    if (!m_rowsByKeyValid) {
        m_firstRowOfKey.clear();
        m_moreRowsOfKey.clear();
        const int column = columnOf(ColumnCheck);
        const int rows = rowCount();
        m_firstRowOfKey.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            if (const QStandardItem *cell = item(row, column))
                rememberRow(cell->data(kDeviceKeyRole).toString(), row);
        }
        m_rowsByKeyValid = true;
    }
    if (nth == 0)
        return m_firstRowOfKey.value(key, -1);
    const auto more = m_moreRowsOfKey.constFind(key);
    return more == m_moreRowsOfKey.cend() || nth > more->size() ? -1 : more->at(nth - 1);
}

void DeviceInfoModel::forgetRowIndex()
{
    if (m_keepRowIndex)
        return;
    m_rowsByKeyValid = false;
    m_firstRowOfKey.clear();
    m_moreRowsOfKey.clear();
}

bool DeviceInfoModel::keyOfRow(int row, QString &serialNumber, QString &mac) const
{
    const QStandardItem *cell = item(row, columnOf(ColumnCheck));
    if (!cell)
        return false;
    const QString key = cell->data(kDeviceKeyRole).toString();
    const qsizetype separator = key.indexOf(QChar(u'\0'));
    if (separator < 0)
        return false;
    serialNumber = key.left(separator);
    mac = key.mid(separator + 1);
    return true;
}

int DeviceInfoModel::rowOf(const QString &serialNumber, const QString &mac) const
{
    // The upper row wins when a device is listed twice.
    return rowOfKey(deviceKey(serialNumber, mac), 0);
}

void DeviceInfoModel::updateDevice(const VEXO_DEVICE_INFO &record)
{
    const int row = rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (row < 0)
        return;
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
            if (logical == ColumnDeviceType)
                markDeviceType(*cell, record);
        }
    }
    for (int logical = ColumnDeviceType; logical < LogicalColumnCount; ++logical) {
        const QModelIndex cell = index(row, columnOf(logical));
        emit dataChanged(cell, cell);
    }
    markAddressConflicts(
        m_addressConflicts.setAddress(deviceKey(record), conflictAddress(record), conflictName(record)));
}

void DeviceInfoModel::removeDevice(const VEXO_DEVICE_INFO &record)
{
    if (removeDevices({record}) == 0)
        renumberFrom(0);
}

int DeviceInfoModel::removeDevices(const QVector<VEXO_DEVICE_INFO> &records)
{
    QHash<QString, int> takenOfKey; // how many rows of a key earlier records took
    QList<int> rows;
    QStringList keys; // of the rows found
    rows.reserve(records.size());
    keys.reserve(records.size());
    for (const VEXO_DEVICE_INFO &record : records) {
        const QString key = deviceKey(record);
        int &taken = takenOfKey[key];
        const int row = rowOfKey(key, taken);
        if (row >= 0) {
            rows.append(row);
            keys.append(key);
            ++taken;
        }
    }
    if (rows.isEmpty())
        return 0;
    std::sort(rows.begin(), rows.end());
    QStringList conflictsChanged;
    for (const QString &key : std::as_const(keys))
        conflictsChanged += m_addressConflicts.remove(key);

    // The contiguous ranges, and how many row moves announcing each range would take.
    QList<std::pair<int, int>> ranges; // first row, count
    qsizetype moves = 0;
    const int total = rowCount();
    for (const int row : rows) {
        if (!ranges.isEmpty() && ranges.last().first + ranges.last().second == row)
            ++ranges.last().second;
        else
            ranges.append({row, 1});
    }
    for (const auto &[first, count] : ranges)
        moves += total - (first + count);

    if (moves <= kMovesPerRowBeforeOnePass * total) {
        // From the bottom up, so the rows of the ranges still to go keep their numbers.
        for (auto it = ranges.crbegin(); it != ranges.crend(); ++it)
            removeRange(it->first, it->second);
        renumberFrom(rows.first());
    } else {
        closeGaps(rows, keys);
        markAddressConflicts(conflictsChanged);
        return int(rows.size());
    }
    forgetRowIndex();
    markAddressConflicts(conflictsChanged);
    return int(rows.size());
}

void DeviceInfoModel::removeRange(int first, int count)
{
    const int total = rowCount();
    const int last = first + count - 1;
    bool plain = last == total - 1;
    // An index that outlives the change in one of the rows that leave from the bottom would be
    // lost with them; let the model move the items instead (slower, but rare).
    const QModelIndexList persistent = persistentIndexList();
    for (const QModelIndex &index : persistent)
        plain = plain || index.row() >= total - count;
    if (plain) {
        QStandardItemModel::removeRows(first, count);
        return;
    }

    beginRemoveRows(QModelIndex(), first, last);
    for (int row = last + 1; row < total; ++row)
        moveRowValues(row, row - count);
    {
        // The bottom rows now hold copies; they go without a notice of their own, as part of
        // the removal announced above.
        const QSignalBlocker blocker(this);
        QStandardItemModel::removeRows(total - count, count);
    }
    endRemoveRows();
}

void DeviceInfoModel::closeGaps(const QList<int> &rows, const QStringList &keys)
{
    // One pass moves the values of the rows that stay up over the gaps, announced as a change of
    // the row order that takes the leaving rows to the bottom; then the bottom rows go in one
    // removal. The sorted view and the table keep their order, current row and selection, and
    // nothing is sorted or laid out anew from scratch.
    const int total = rowCount();
    const int first = rows.first();
    const int kept = total - int(rows.size());
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QVector<int> newRow(total - first); // the new row of each row from the first gap on
    {
        int to = first;
        int bottom = kept;
        auto gone = rows.cbegin();
        for (int from = first; from < total; ++from) {
            if (gone != rows.cend() && *gone == from) {
                ++gone;
                newRow[from - first] = bottom++;
                continue;
            }
            newRow[from - first] = to;
            moveRowValues(from, to++);
        }
    }
    // The index of rows by key was complete for finding the leaving rows; unless a key is listed
    // more than once it is carried over instead of being built again from every row's cells.
    const bool carryIndex = m_rowsByKeyValid && m_moreRowsOfKey.isEmpty();
    if (carryIndex) {
        for (const QString &key : keys)
            m_firstRowOfKey.remove(key);
        for (auto it = m_firstRowOfKey.begin(); it != m_firstRowOfKey.end(); ++it) {
            if (it.value() >= first)
                it.value() = newRow.at(it.value() - first);
        }
    } else {
        forgetRowIndex();
    }
    m_keepRowIndex = carryIndex;
    // The bottom rows are not given the leaving rows' values: they go right after this.
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex &index : persistent) {
        const int row = index.row() < first ? index.row() : newRow.at(index.row() - first);
        moved.append(this->index(row, index.column()));
    }
    changePersistentIndexList(persistent, moved);
    m_rowBeforeReorder.resize(total);
    for (int row = 0; row < first; ++row)
        m_rowBeforeReorder[row] = row;
    for (int from = first; from < total; ++from)
        m_rowBeforeReorder[newRow.at(from - first)] = from;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    m_rowBeforeReorder.clear();
    QStandardItemModel::removeRows(kept, total - kept);
    m_keepRowIndex = false;
}

int DeviceInfoModel::rowBeforeReorder(int row) const
{
    return row >= 0 && row < m_rowBeforeReorder.size() ? m_rowBeforeReorder.at(row) : row;
}

void DeviceInfoModel::moveRowValues(int from, int to)
{
    const int idColumn = columnOf(ColumnId);
    const int gatewayColumn = columnOf(ColumnIPv4Gateway);
    const int columns = columnCount();
    // The ID cells stay: a row's ID is its position.
    for (int column = 0; column < columns; ++column) {
        if (column == idColumn)
            continue;
        const QStandardItem *source = item(from, column);
        QStandardItem *target = item(to, column);
        if (!source || !target)
            continue;
        if (column == gatewayColumn && isAddressCell(source) != isAddressCell(target)) {
            // Only the gateway column holds cells of both kinds; the kind sorts the column.
            target = isAddressCell(source) ? new aptui::CIpStandardItem(QString()) : new QStandardItem;
            const QSignalBlocker blocker(this);
            // Taken out first: setItem() would look the replaced cell up after it left the row,
            // a search through every cell of the table.
            delete takeItem(to, column);
            setItem(to, column, target);
        }
        CellValues::copy(*target, *source);
    }
}

void DeviceInfoModel::renumberFrom(int first)
{
    const int column = columnOf(ColumnId);
    const int rows = rowCount();
    int firstChanged = -1;
    int lastChanged = -1;
    {
        // Texts are set quietly and announced as one range: a removal near the top of a long
        // list renumbers thousands of rows. Rows whose number is right already are left alone.
        const QSignalBlocker blocker(this);
        for (int row = qMax(first, 0); row < rows; ++row) {
            QStandardItem *cell = item(row, column);
            const QString number = rowNumber(row);
            if (!cell || cell->text() == number)
                continue;
            cell->setText(number);
            if (firstChanged < 0)
                firstChanged = row;
            lastChanged = row;
        }
    }
    if (firstChanged >= 0)
        emit dataChanged(index(firstChanged, column), index(lastChanged, column), {Qt::DisplayRole, Qt::EditRole});
}

bool DeviceInfoModel::moveColumn(int from, int to)
{
    const QList<XmlDocument> entries = m_xmlDocument.children();
    for (const XmlDocument &entry : entries) {
        XmlDocument indexValue = entry.childByName(kIndexValueTag);
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

} // namespace VexoTool
