// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "devicestore.h"

#include "deviceinfo.h"

#include <QByteArray>
#include <QHash>
#include <QVarLengthArray>

#include <cstring>
#include <optional>
#include <vector>

namespace {

// The Latin-1 bytes of a key text given by a caller, or nothing when no record text can equal
// it: record texts are Latin-1 without NULs, and toLatin1() would turn other characters into '?'.
std::optional<QByteArray> latin1KeyText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0xff)
            return std::nullopt;
    }
    return text.toLatin1();
}

// Neither half of a key contains a NUL, so NUL separates them without ambiguity.
QByteArray joinKey(QByteArrayView serialNumber, QByteArrayView mac)
{
    QByteArray key;
    key.reserve(serialNumber.size() + 1 + mac.size());
    key.append(serialNumber);
    key.append('\0');
    key.append(mac);
    return key;
}

QByteArray recordKey(const VEXO_DEVICE_INFO &record)
{
    return joinKey(fieldBytes(record.serialNumber), fieldBytes(record.macAddress));
}

std::optional<QByteArray> lookupKey(const QString &serialNumber, const QString &mac)
{
    const auto serialBytes = latin1KeyText(serialNumber);
    const auto macBytes = latin1KeyText(mac);
    if (!serialBytes || !macBytes)
        return std::nullopt;
    return joinKey(*serialBytes, *macBytes);
}

static_assert(sizeof(VEXO_DEVICE_INFO::ipv6Address) == 46 && sizeof(VEXO_DEVICE_INFO::ipv6Gateway) == 46);
static_assert(sizeof(DeviceNetParam::ipv6Address) >= 46 && sizeof(DeviceNetParam::ipv6Gateway) >= 46);

void copyNetParams(const VEXO_DEVICE_INFO &record, DeviceNetParam &param)
{
    std::memcpy(param.ipv4Address, record.ipv4Address, sizeof record.ipv4Address);
    std::memcpy(param.ipv4SubnetMask, record.ipv4SubnetMask, sizeof record.ipv4SubnetMask);
    std::memcpy(param.ipv4Gateway, record.ipv4Gateway, sizeof record.ipv4Gateway);
    std::memcpy(param.ipv6Address, record.ipv6Address, sizeof record.ipv6Address);
    std::memcpy(param.ipv6Gateway, record.ipv6Gateway, sizeof record.ipv6Gateway);
    param.port = static_cast<uint16_t>(record.port & 0xffffu);
    param.ipv6PrefixLength = record.ipv6PrefixLength;
    param.dhcpEnabled = record.dhcpEnabled;
    param.httpPort = record.httpPort;
}

void copyNetParams(const DeviceNetParam &param, VEXO_DEVICE_INFO &record)
{
    std::memcpy(record.ipv4Address, param.ipv4Address, sizeof record.ipv4Address);
    std::memcpy(record.ipv4SubnetMask, param.ipv4SubnetMask, sizeof record.ipv4SubnetMask);
    std::memcpy(record.ipv4Gateway, param.ipv4Gateway, sizeof record.ipv4Gateway);
    std::memcpy(record.ipv6Address, param.ipv6Address, sizeof record.ipv6Address);
    std::memcpy(record.ipv6Gateway, param.ipv6Gateway, sizeof record.ipv6Gateway);
    record.port = param.port;
    record.ipv6PrefixLength = param.ipv6PrefixLength;
    record.dhcpEnabled = param.dhcpEnabled;
    record.httpPort = param.httpPort;
}

} // namespace

// Records live in slots in the order they were added. A removed record leaves a dead slot
// behind, so the others keep their slot numbers and the hashes stay valid; the slots are
// compacted once more than half are dead. A Fenwick tree over the live flags turns a slot
// number into the record's position among the live ones in logarithmic time.
class DeviceStore::Records
{
public:
    void append(const VEXO_DEVICE_INFO &record)
    {
        const int slot = int(m_slots.size());
        m_slots.push_back(record);
        m_live.push_back(true);
        treeAppend(1);
        ++m_liveCount;
        m_byKey[recordKey(record)].append(slot);
        ++m_macCount[fieldBytes(record.macAddress).toByteArray()];
    }

    // The first live slot with this key, or -1.
    int find(const QByteArray &key) const
    {
        const auto it = m_byKey.constFind(key);
        return it == m_byKey.cend() ? -1 : it->first();
    }

    int find(const QString &serialNumber, const QString &mac) const
    {
        const auto key = lookupKey(serialNumber, mac);
        return key ? find(*key) : -1;
    }

    bool containsMac(const QByteArray &mac) const { return m_macCount.contains(mac); }

    int position(int slot) const { return treePrefix(slot); }

    VEXO_DEVICE_INFO &at(int slot) { return m_slots[std::size_t(slot)]; }

    // Removes the record in @p slot, which is the first live slot of its key.
    void erase(int slot)
    {
        const VEXO_DEVICE_INFO &record = m_slots[std::size_t(slot)];
        const auto keyIt = m_byKey.find(recordKey(record));
        Q_ASSERT(keyIt != m_byKey.end() && keyIt->first() == slot);
        keyIt->remove(0);
        if (keyIt->isEmpty())
            m_byKey.erase(keyIt);
        const auto macIt = m_macCount.find(fieldBytes(record.macAddress).toByteArray());
        if (--*macIt == 0)
            m_macCount.erase(macIt);

        m_live[std::size_t(slot)] = false;
        treeAdd(slot, -1);
        --m_liveCount;
        const std::size_t dead = m_slots.size() - std::size_t(m_liveCount);
        if (m_liveCount == 0)
            clear();
        else if (dead > 64 && dead > std::size_t(m_liveCount))
            compact();
    }

    void clear()
    {
        m_slots.clear();
        m_live.clear();
        m_tree.clear();
        m_byKey.clear();
        m_macCount.clear();
        m_liveCount = 0;
    }

    void copyTo(QVector<VEXO_DEVICE_INFO> &out) const
    {
        out.clear();
        out.reserve(m_liveCount);
        for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
            if (m_live[slot])
                out.append(m_slots[slot]);
        }
    }

    int count() const { return m_liveCount; }

private:
    void compact()
    {
        std::vector<VEXO_DEVICE_INFO> kept;
        kept.reserve(std::size_t(m_liveCount));
        for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
            if (m_live[slot])
                kept.push_back(m_slots[slot]);
        }
        m_slots = std::move(kept);
        m_live.assign(m_slots.size(), true);
        m_tree.assign(m_slots.size() + 1, 0);
        for (std::size_t node = 1; node < m_tree.size(); ++node) {
            m_tree[node] += 1;
            const std::size_t parent = node + (node & (~node + 1));
            if (parent < m_tree.size())
                m_tree[parent] += m_tree[node];
        }
        m_byKey.clear();
        for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
            m_byKey[recordKey(m_slots[slot])].append(int(slot));
    }

    // The tree is 1-based: node k covers the slots [k - lowbit(k), k).
    void treeAppend(int value)
    {
        if (m_tree.empty())
            m_tree.push_back(0);
        const int node = int(m_tree.size());
        m_tree.push_back(value + treePrefix(node - 1) - treePrefix(node - (node & -node)));
    }

    void treeAdd(int slot, int delta)
    {
        for (std::size_t node = std::size_t(slot) + 1; node < m_tree.size(); node += node & (~node + 1))
            m_tree[node] += delta;
    }

    // The number of live records in the slots [0, end).
    int treePrefix(int end) const
    {
        int sum = 0;
        for (int node = end; node > 0; node -= node & -node)
            sum += m_tree[std::size_t(node)];
        return sum;
    }

    std::vector<VEXO_DEVICE_INFO> m_slots;
    std::vector<bool> m_live;
    std::vector<int> m_tree;
    QHash<QByteArray, QVarLengthArray<int, 1>> m_byKey; // live slots of each key, ascending
    QHash<QByteArray, int> m_macCount;                  // live records of each MAC text
    int m_liveCount = 0;
};

DeviceStore::DeviceStore()
    : m_mutex(KVT_MutexCreate(-1))
    , m_records(std::make_unique<Records>())
{}

DeviceStore::~DeviceStore()
{
    m_records.reset();
    KVT_MutexDestroy(m_mutex);
}

void DeviceStore::add(const VEXO_DEVICE_INFO &record)
{
    KVT_Guard guard(m_mutex);
    m_records->append(record);
}

bool DeviceStore::containsMac(const QString &mac) const
{
    // The page holds mutex() around this test and the following add(); locking again is
    // cheap on the re-entrant mutex and keeps a caller that forgot from racing.
    KVT_Guard guard(m_mutex);
    const auto macBytes = latin1KeyText(mac);
    return macBytes && m_records->containsMac(*macBytes);
}

int DeviceStore::indexOf(const QString &serialNumber, const QString &mac) const
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(serialNumber, mac);
    return slot < 0 ? -1 : m_records->position(slot);
}

void DeviceStore::remove(const VEXO_DEVICE_INFO &record)
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(recordKey(record));
    if (slot >= 0)
        m_records->erase(slot);
}

void DeviceStore::update(const VEXO_DEVICE_INFO &record)
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(recordKey(record));
    if (slot >= 0)
        m_records->at(slot) = record; // same key, so the hashes stay valid
}

bool DeviceStore::get(const QString &serialNumber, const QString &mac, VEXO_DEVICE_INFO &out) const
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(serialNumber, mac);
    if (slot < 0)
        return false;
    out = m_records->at(slot);
    return true;
}

void DeviceStore::copyAll(QVector<VEXO_DEVICE_INFO> &out) const
{
    KVT_Guard guard(m_mutex);
    m_records->copyTo(out);
}

bool DeviceStore::getNetParams(const QString &serialNumber, const QString &mac, DeviceNetParam &out) const
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(serialNumber, mac);
    if (slot < 0)
        return false;
    copyNetParams(m_records->at(slot), out);
    return true;
}

bool DeviceStore::setNetParams(const QString &serialNumber, const QString &mac, const DeviceNetParam &param)
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(serialNumber, mac);
    if (slot < 0)
        return false;
    copyNetParams(param, m_records->at(slot));
    return true;
}

bool DeviceStore::setInactive(const QString &serialNumber, const QString &mac, quint8 inactive)
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(serialNumber, mac);
    if (slot < 0)
        return false;
    m_records->at(slot).inactive = inactive;
    return true;
}

void DeviceStore::clear()
{
    KVT_Guard guard(m_mutex);
    m_records->clear();
}

int DeviceStore::count() const
{
    KVT_Guard guard(m_mutex);
    return m_records->count();
}
