// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceinfomodel.h"

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

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <numeric>
#include <utility>

#if defined(__GLIBC__)
#    include <malloc.h>
#endif

namespace VexoTool {

namespace {

// Departures at once after which the freed memory is handed back to the system.
[[maybe_unused]] constexpr std::size_t kTrimAfterRows = 500;

const QString kColumnConfigName = QStringLiteral("ColumnConfig.xml");
const QString kIndexValueTag = QStringLiteral("IndexValue");
const QString kRootTag = QStringLiteral("ColumnConfig");
constexpr qint64 kMaxColumnConfigSize = 64 * 1024;

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

// Whether the cell sorts by its address key rather than by its text. A gateway does only when
// the record has one: an empty gateway cell sorts as text.
bool sortsAsAddress(int logicalColumn, const VEXO_DEVICE_INFO &record)
{
    return logicalColumn == DeviceInfoModel::ColumnIPv4Address || logicalColumn == DeviceInfoModel::ColumnIPv4Mask
           || (logicalColumn == DeviceInfoModel::ColumnIPv4Gateway && record.extendedInfoValid == 1);
}

bool isCSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// atoi of one part: leading white space, an optional sign, then decimal digits up to the first
// other character. Out-of-range values saturate instead of overflowing.
int atoiPart(QStringView part)
{
    qsizetype i = 0;
    while (i < part.size() && isCSpace(part[i].unicode()))
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == u'+' || part[i] == u'-')) {
        negative = part[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < part.size(); ++i) {
        const char16_t c = part[i].unicode();
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c - u'0');
        if (value > INT_MAX)
            value = qint64(INT_MAX) + 1; // keeps the loop from overflowing
    }
    if (negative)
        return value > qint64(INT_MAX) ? INT_MIN : int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}

const QIcon &unverifiedIcon()
{
    static const QIcon icon = drawWarningIcon(QColor(0xe8, 0x9a, 0x0c));
    return icon;
}

const QIcon &conflictIcon()
{
    static const QIcon icon = drawWarningIcon(QColor(0xd1, 0x1f, 0x24));
    return icon;
}

} // namespace

DeviceInfoModel::DeviceInfoModel(QObject *parent)
    : DeviceInfoModel(kColumnConfigName, parent)
{}

DeviceInfoModel::DeviceInfoModel(const QString &columnConfigPath, QObject *parent)
    : DeviceInfoModel(UserWritableFile::forPath(columnConfigPath), parent)
{}

DeviceInfoModel::DeviceInfoModel(const UserWritableFile &columnFile, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columnConfigFile(columnFile)
    , m_columnConfigPath(m_columnConfigFile.readPath())
{
    loadColumnConfig();
    m_logicalOfColumn.fill(-1, LogicalColumnCount);
    for (int logical = 0; logical < LogicalColumnCount; ++logical)
        m_logicalOfColumn[columnOf(logical)] = logical;
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

int DeviceInfoModel::logicalColumnAt(int column) const
{
    return column >= 0 && column < m_logicalOfColumn.size() ? m_logicalOfColumn.at(column) : -1;
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

QString DeviceInfoModel::unverifiedToolTip()
{
    return tr("This device has no valid maker certificate: it may be an impostor, and no password is sent to it.");
}

QString DeviceInfoModel::addressSortKey(QStringView text)
{
    std::array<int, 4> parts{};
    qsizetype start = 0;
    for (std::size_t n = 0; n < parts.size(); ++n) {
        const qsizetype dot = text.indexOf(u'.', start);
        parts[n] = atoiPart(text.mid(start, dot < 0 ? text.size() - start : dot - start));
        if (dot < 0)
            break;
        start = dot + 1;
    }
    const bool threeDigits = std::all_of(parts.cbegin(), parts.cend(), [](int p) { return p >= 0 && p <= 999; });
    if (!threeDigits)
        return QString::asprintf("%03d%03d%03d%03d", parts[0], parts[1], parts[2], parts[3]);
    // The usual case, without the formatting machinery: sorting a large table builds a key a row.
    QString key(12, u'0');
    QChar *out = key.data();
    for (const int part : parts) {
        out[0] = QChar(u'0' + part / 100);
        out[1] = QChar(u'0' + part / 10 % 10);
        out[2] = QChar(u'0' + part % 10);
        out += 3;
    }
    return key;
}

const DeviceInfoModel::Entry *DeviceInfoModel::entryOfRow(int row) const
{
    if (row < 0 || std::size_t(row) >= m_slotOfRow.size())
        return nullptr;
    return &m_entries[std::size_t(m_slotOfRow[std::size_t(row)])];
}

const VEXO_DEVICE_INFO *DeviceInfoModel::recordOfRow(int row) const
{
    const Entry *entry = entryOfRow(row);
    return entry ? &entry->record : nullptr;
}

void DeviceInfoModel::indexRows() const
{
    if (m_rowOfSlotValid)
        return;
    m_rowOfSlot.assign(m_entries.size(), -1);
    for (std::size_t row = 0; row < m_slotOfRow.size(); ++row)
        m_rowOfSlot[std::size_t(m_slotOfRow[row])] = int(row);
    m_rowOfSlotValid = true;
}

int DeviceInfoModel::rowOfKey(const QString &key, int nth) const
{
    indexRows();
    auto it = m_slotsOfKey.constFind(key);
    if (it == m_slotsOfKey.cend())
        return -1;
    const int first = m_rowOfSlot[std::size_t(it.value())];
    if (++it == m_slotsOfKey.cend() || it.key() != key)
        return nth == 0 ? first : -1; // the usual case: listed once
    QVarLengthArray<int, 4> rows{first};
    for (; it != m_slotsOfKey.cend() && it.key() == key; ++it)
        rows.append(m_rowOfSlot[std::size_t(it.value())]);
    if (nth >= rows.size())
        return -1;
    std::sort(rows.begin(), rows.end());
    return rows[nth];
}

bool DeviceInfoModel::keyOfRow(int row, QString &serialNumber, QString &mac) const
{
    const Entry *entry = entryOfRow(row);
    if (!entry)
        return false;
    const qsizetype separator = entry->key.indexOf(QChar(u'\0'));
    if (separator < 0)
        return false;
    serialNumber = entry->key.left(separator);
    mac = entry->key.mid(separator + 1);
    return true;
}

int DeviceInfoModel::rowOf(const QString &serialNumber, const QString &mac) const
{
    // The upper row wins when a device is listed twice.
    return rowOfKey(deviceKey(serialNumber, mac), 0);
}

bool DeviceInfoModel::setAlsoOnvif(const VEXO_DEVICE_INFO &record, bool alsoOnvif)
{
    const int row = rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (row < 0)
        return false;
    Entry &entry = m_entries[std::size_t(m_slotOfRow[std::size_t(row)])];
    entry.alsoOnvif = alsoOnvif;
    entry.filterFields.reset();
    const QModelIndex cell = index(row, columnOf(ColumnDeviceType));
    emit dataChanged(cell, cell);
    return true;
}

bool DeviceInfoModel::isAlsoOnvif(int row) const
{
    const Entry *entry = entryOfRow(row);
    return entry && entry->alsoOnvif;
}

DeviceProtocol DeviceInfoModel::protocolOfRow(int row) const
{
    const Entry *entry = entryOfRow(row);
    return entry && isOnvifRecord(entry->record) ? DeviceProtocol::Onvif : DeviceProtocol::Vxdp;
}

void DeviceInfoModel::addDevice(const VEXO_DEVICE_INFO &record)
{
    const int row = rowCount();
    const QString key = deviceKey(record);
    int slot = 0;
    if (m_freeSlots.empty()) {
        slot = int(m_entries.size());
        m_entries.emplace_back();
    } else {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
    }
    Entry &entry = m_entries[std::size_t(slot)];
    entry = Entry{};
    entry.record = record;
    entry.key = key;
    // The row is complete before it is announced.
    beginInsertRows(QModelIndex(), row, row);
    m_slotOfRow.push_back(slot);
    m_slotsOfKey.insert(key, slot);
    if (m_rowOfSlotValid) {
        if (m_rowOfSlot.size() <= std::size_t(slot))
            m_rowOfSlot.resize(std::size_t(slot) + 1, -1);
        m_rowOfSlot[std::size_t(slot)] = row;
    }
    endInsertRows();
    markAddressConflicts(m_addressConflicts.setAddress(key, conflictAddress(record), conflictName(record)));
}

void DeviceInfoModel::updateDevice(const VEXO_DEVICE_INFO &record)
{
    const int row = rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (row < 0)
        return;
    Entry &entry = m_entries[std::size_t(m_slotOfRow[std::size_t(row)])];
    entry.record = record;
    entry.filterFields.reset();
    // The check and ID cells keep their values; the cells between are announced as one range.
    emit dataChanged(index(row, 0), index(row, LogicalColumnCount - 1));
    markAddressConflicts(m_addressConflicts.setAddress(entry.key, conflictAddress(record), conflictName(record)));
}

bool DeviceInfoModel::replaceDevice(const VEXO_DEVICE_INFO &listedRecord, const VEXO_DEVICE_INFO &replacement)
{
    const int row = rowOf(fieldText(listedRecord.serialNumber), fieldText(listedRecord.macAddress));
    if (row < 0)
        return false;
    const int slot = m_slotOfRow[std::size_t(row)];
    Entry &entry = m_entries[std::size_t(slot)];
    QStringList conflictsChanged = m_addressConflicts.remove(entry.key);
    m_slotsOfKey.remove(entry.key, slot);
    entry.key = deviceKey(replacement);
    m_slotsOfKey.insert(entry.key, slot);
    entry.record = replacement;
    entry.statusToolTip.clear();
    entry.alsoOnvif = false;
    entry.filterFields.reset();
    emit dataChanged(index(row, 0), index(row, LogicalColumnCount - 1));
    conflictsChanged
        += m_addressConflicts.setAddress(entry.key, conflictAddress(replacement), conflictName(replacement));
    markAddressConflicts(conflictsChanged);
    return true;
}

void DeviceInfoModel::removeDevice(const VEXO_DEVICE_INFO &record)
{
    removeDevices({record});
}

int DeviceInfoModel::removeDevices(const QVector<VEXO_DEVICE_INFO> &records)
{
    QHash<QString, int> takenOfKey; // how many rows of a key earlier records took
    std::vector<int> rows;
    rows.reserve(std::size_t(records.size()));
    for (const VEXO_DEVICE_INFO &record : records) {
        const QString key = deviceKey(record);
        int &taken = takenOfKey[key];
        const int row = rowOfKey(key, taken);
        if (row >= 0) {
            rows.push_back(row);
            ++taken;
        }
    }
    if (rows.empty())
        return 0;
    std::sort(rows.begin(), rows.end());
    // From the bottom up, one removal per run of adjacent rows, so the rows of the runs still to
    // go keep their numbers.
    QStringList conflictsChanged;
    auto end = rows.cend();
    while (end != rows.cbegin()) {
        auto first = end - 1;
        while (first != rows.cbegin() && *(first - 1) == *first - 1)
            --first;
        const int count = int(end - first);
        for (int row = *first; row < *first + count; ++row)
            conflictsChanged += m_addressConflicts.remove(entryOfRow(row)->key);
        removeRange(*first, count);
        end = first;
    }
    announceRenumberedFrom(rows.front());
    markAddressConflicts(conflictsChanged);
#if defined(__GLIBC__)
    // Thousands of departures free their rows and the events that brought them here, scattered
    // over the heaps; glibc keeps such holes resident, and each wave of leaving and returning
    // devices would raise the program's footprint further. A few milliseconds give them back.
    if (rows.size() >= kTrimAfterRows)
        malloc_trim(0);
#endif
    return int(rows.size());
}

void DeviceInfoModel::removeRange(int first, int count)
{
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    const auto from = m_slotOfRow.begin() + first;
    for (auto it = from; it != from + count; ++it) {
        Entry &entry = m_entries[std::size_t(*it)];
        m_slotsOfKey.remove(entry.key, *it);
        entry = Entry{};
        m_freeSlots.push_back(*it);
    }
    m_slotOfRow.erase(from, from + count);
    m_rowOfSlotValid = false;
    endRemoveRows();
}

bool DeviceInfoModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    if (row == 0 && count == rowCount()) {
        // The whole list goes, as at a refresh: nothing is left to look up.
        beginRemoveRows(QModelIndex(), 0, count - 1);
        m_entries.clear();
        m_freeSlots.clear();
        m_slotOfRow.clear();
        m_slotsOfKey.clear();
        m_rowOfSlot.clear();
        m_rowOfSlotValid = true;
        m_addressConflicts.clear();
        endRemoveRows();
        markAddressConflicts({QString()}); // only to announce the new count
        return true;
    }
    QStringList conflictsChanged;
    for (int r = row; r < row + count; ++r)
        conflictsChanged += m_addressConflicts.remove(entryOfRow(r)->key);
    removeRange(row, count);
    announceRenumberedFrom(row);
    markAddressConflicts(conflictsChanged);
    return true;
}

void DeviceInfoModel::announceRenumberedFrom(int row)
{
    const int rows = rowCount();
    if (row >= rows)
        return;
    const int column = columnOf(ColumnId);
    emit dataChanged(index(row, column), index(rows - 1, column), {Qt::DisplayRole, Qt::EditRole});
}

void DeviceInfoModel::markAddressConflicts(const QStringList &keys)
{
    const int column = columnOf(ColumnIPv4Address);
    for (const QString &key : keys) {
        const int row = key.isNull() ? -1 : rowOfKey(key, 0);
        if (row >= 0) {
            const QModelIndex cell = index(row, column);
            emit dataChanged(cell, cell, {Qt::DecorationRole, Qt::ToolTipRole});
        }
    }
    if (!keys.isEmpty())
        emit addressConflictsChanged();
}

void DeviceInfoModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= LogicalColumnCount)
        return;
    const int rows = rowCount();
    std::vector<int> byRow(static_cast<std::size_t>(rows)); // the old row of each new row
    std::iota(byRow.begin(), byRow.end(), 0);
    if (logicalColumnAt(column) != ColumnId) {
        std::vector<QString> keys(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row)
            keys[std::size_t(row)] = sortKey(row, column);
        std::stable_sort(byRow.begin(), byRow.end(), [&keys, order](int a, int b) {
            return order == Qt::AscendingOrder ? keys[std::size_t(a)] < keys[std::size_t(b)]
                                               : keys[std::size_t(b)] < keys[std::size_t(a)];
        });
    } else if (order == Qt::DescendingOrder) {
        std::reverse(byRow.begin(), byRow.end());
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRow(static_cast<std::size_t>(rows));
    std::vector<int> slotOrder(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        newRow[std::size_t(byRow[std::size_t(row)])] = row;
        slotOrder[std::size_t(row)] = m_slotOfRow[std::size_t(byRow[std::size_t(row)])];
    }
    m_slotOfRow = std::move(slotOrder);
    m_rowOfSlotValid = false;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newRow[std::size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString DeviceInfoModel::text(int row, int logicalColumn) const
{
    return cellText(logicalColumn, row);
}

QString DeviceInfoModel::cellText(int logicalColumn, int row) const
{
    const Entry *entry = entryOfRow(row);
    if (!entry)
        return QString();
    switch (logicalColumn) {
    case ColumnCheck:
        return QString();
    case ColumnId:
        return rowNumber(row);
    case ColumnDeviceType:
        return deviceTypeText(entry->record, entry->alsoOnvif);
    default:
        return cellText(logicalColumn, entry->record);
    }
}

QString DeviceInfoModel::sortKey(int row, int column) const
{
    const int logical = logicalColumnAt(column);
    const Entry *entry = entryOfRow(row);
    if (!entry)
        return QString();
    const QString text = cellText(logical, row);
    return sortsAsAddress(logical, entry->record) ? addressSortKey(text) : text;
}

void DeviceInfoModel::setStatusToolTip(int row, const QString &text)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[std::size_t(m_slotOfRow[std::size_t(row)])].statusToolTip = text;
    for (const int logical : {int(ColumnActivate), int(ColumnDeviceType)}) {
        const QModelIndex cell = index(row, columnOf(logical));
        emit dataChanged(cell, cell, {Qt::ToolTipRole});
    }
}

QString DeviceInfoModel::statusToolTip(int row) const
{
    const Entry *entry = entryOfRow(row);
    return entry ? entry->statusToolTip : QString();
}

const DeviceFilter::Prepared &DeviceInfoModel::filterFields(int row) const
{
    static const DeviceFilter::Prepared none;
    const Entry *entry = entryOfRow(row);
    if (!entry)
        return none;
    if (!entry->filterFields) {
        const auto text = [this, row](int logical) {
            return cellText(logical, row);
        };
        entry->filterFields = DeviceFilter::prepare({text(ColumnSerialNumber), text(ColumnMac), text(ColumnDeviceType),
                                                     text(ColumnIPv4Address), text(ColumnSoftVersion)});
    }
    return *entry->filterFields;
}

Qt::CheckState DeviceInfoModel::checkState(int row) const
{
    const Entry *entry = entryOfRow(row);
    return entry && entry->checked ? Qt::Checked : Qt::Unchecked;
}

bool DeviceInfoModel::setCheckState(int row, Qt::CheckState state)
{
    if (row < 0 || row >= rowCount())
        return false;
    Entry &entry = m_entries[std::size_t(m_slotOfRow[std::size_t(row)])];
    const bool checked = state != Qt::Unchecked;
    if (entry.checked == checked)
        return true;
    entry.checked = checked;
    // A checked row is drawn framed in all its cells.
    emit dataChanged(index(row, 0), index(row, LogicalColumnCount - 1), {Qt::CheckStateRole});
    emit checkStateChanged(row);
    return true;
}

void DeviceInfoModel::setRowsChecked(const QList<int> &rows, bool checked)
{
    int first = INT_MAX;
    int last = -1;
    for (const int row : rows) {
        if (row < 0 || row >= rowCount())
            continue;
        Entry &entry = m_entries[std::size_t(m_slotOfRow[std::size_t(row)])];
        if (entry.checked == checked)
            continue;
        entry.checked = checked;
        first = qMin(first, row);
        last = qMax(last, row);
    }
    if (last >= 0)
        emit dataChanged(index(first, 0), index(last, LogicalColumnCount - 1), {Qt::CheckStateRole});
}

QList<int> DeviceInfoModel::checkedRows() const
{
    QList<int> rows;
    for (std::size_t row = 0; row < m_slotOfRow.size(); ++row) {
        if (m_entries[std::size_t(m_slotOfRow[row])].checked)
            rows.append(int(row));
    }
    return rows;
}

int DeviceInfoModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_slotOfRow.size());
}

int DeviceInfoModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : LogicalColumnCount;
}

Qt::ItemFlags DeviceInfoModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent().isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return logicalColumnAt(index.column()) == ColumnCheck ? flags | Qt::ItemIsUserCheckable : flags;
}

QVariant DeviceInfoModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const int logical = logicalColumnAt(section);
    if (orientation != Qt::Horizontal || logical < 0)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return logical == ColumnCheck ? QVariant() : QVariant(tr(kColumns[std::size_t(logical)].header));
    case Qt::CheckStateRole:
        // The check column's header holds an empty text as its check value; the page draws its box.
        return logical == ColumnCheck ? QVariant(QString()) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant DeviceInfoModel::data(const QModelIndex &index, int role) const
{
    if (index.parent().isValid())
        return QVariant();
    const Entry *entry = entryOfRow(index.row());
    const int logical = logicalColumnAt(index.column());
    if (!entry || logical < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return logical == ColumnCheck ? QVariant() : QVariant(cellText(logical, index.row()));
    case Qt::ForegroundRole:
        return logical == ColumnActivate && entry->record.inactive != 0 ? notActivatedBrush() : textBrush();
    case Qt::CheckStateRole:
        return logical == ColumnCheck ? QVariant(int(entry->checked ? Qt::Checked : Qt::Unchecked)) : QVariant();
    case Qt::DecorationRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (logical == ColumnDeviceType)
            return deviceTypeData(*entry, role);
        if (logical == ColumnIPv4Address)
            return addressData(*entry, role);
        if (logical == ColumnActivate && role == Qt::ToolTipRole && !entry->statusToolTip.isEmpty())
            return entry->statusToolTip;
        return QVariant();
    default:
        return QVariant();
    }
}

bool DeviceInfoModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.parent().isValid() || logicalColumnAt(index.column()) != ColumnCheck)
        return false;
    return setCheckState(index.row(), Qt::CheckState(value.toInt()));
}

QVariant DeviceInfoModel::deviceTypeData(const Entry &entry, int role) const
{
    // ONVIF devices prove nothing to the discovery library; their warning is the credentials.
    const bool unverified = !isOnvifRecord(entry.record) && !isVerified(entry.record);
    // An ONVIF identity that a device at another address also claims gets the same warning.
    const QString rival = onvifContestedBy(entry.record);
    if (role == Qt::DecorationRole)
        return unverified || !rival.isEmpty() ? QVariant(unverifiedIcon()) : QVariant();
    QStringList tips;
    const QString protocols = protocolToolTip(entry.record, entry.alsoOnvif);
    if (!protocols.isEmpty())
        tips.append(protocols);
    if (unverified)
        tips.append(unverifiedToolTip());
    if (!rival.isEmpty()) {
        //: Tool tip of an ONVIF device whose identity a device at another address also claims;
        //: %1 is the listed device's address, %2 the other one.
        tips.append(tr("Identity conflict: the devices at %1 and %2 claim to be the same device. No password is "
                       "sent to it until the list is refreshed.")
                        .arg(fieldText(entry.record.ipv4Address), rival));
    }
    // Why the device is not available (its identification failed) is said where its type is read.
    if (!entry.statusToolTip.isEmpty())
        tips.append(entry.statusToolTip);
    return tips.isEmpty() ? QVariant() : QVariant(tips.join(QLatin1Char('\n')));
}

QVariant DeviceInfoModel::addressData(const Entry &entry, int role) const
{
    if (role == Qt::AccessibleDescriptionRole || !m_addressConflicts.isConflicting(entry.key))
        return QVariant();
    if (role == Qt::DecorationRole)
        return conflictIcon();
    const QStringList others = m_addressConflicts.othersOf(entry.key);
    QStringList lines = others.mid(0, kNamesInConflictToolTip);
    if (others.size() > kNamesInConflictToolTip)
        lines.append(tr("and %n more", "", int(others.size()) - kNamesInConflictToolTip));
    //: Tool tip of a device whose IPv4 address another listed device also uses; %1 is the address,
    //: %2 the other devices, one "serial number (MAC)" a line.
    return tr("Address conflict: %1 is also used by\n%2")
        .arg(m_addressConflicts.addressOf(entry.key), lines.join(u'\n'));
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
