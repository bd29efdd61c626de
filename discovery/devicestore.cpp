// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "devicestore.h"

#include "deviceinfo.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kSerialWidth = sizeof(VEXO_DEVICE_INFO::serialNumber);
constexpr std::size_t kMacWidth = sizeof(VEXO_DEVICE_INFO::macAddress);

std::string_view toView(QByteArrayView bytes)
{
    return std::string_view(bytes.data(), std::size_t(bytes.size()));
}

// Copies a caller's key text into @p out as Latin-1. Fails when no record text can equal it:
// record texts are Latin-1 without NULs and at most @p width bytes long (and toLatin1() would
// turn other characters into '?').
bool toLatin1Into(const QString &text, std::size_t width, char *out, std::size_t &size)
{
    if (std::size_t(text.size()) > width)
        return false;
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0xff)
            return false;
        out[size++] = char(c.unicode());
    }
    return true;
}

// A record key in a buffer of its own, so lookups allocate nothing: the serial number, a NUL
// and the MAC. Neither half holds a NUL, so the separator is unambiguous.
class Key
{
public:
    explicit Key(const VEXO_DEVICE_INFO &record)
    {
        append(fieldBytes(record.serialNumber));
        m_data[m_size++] = '\0';
        append(fieldBytes(record.macAddress));
    }

    Key(const QString &serialNumber, const QString &mac)
    {
        m_valid = toLatin1Into(serialNumber, kSerialWidth, m_data, m_size);
        if (m_valid) {
            m_data[m_size++] = '\0';
            m_valid = toLatin1Into(mac, kMacWidth, m_data, m_size);
        }
    }

    /** False when no record can have this key. */
    bool isValid() const { return m_valid; }
    std::string_view view() const { return std::string_view(m_data, m_size); }

private:
    void append(QByteArrayView bytes)
    {
        std::memcpy(m_data + m_size, bytes.data(), std::size_t(bytes.size()));
        m_size += std::size_t(bytes.size());
    }

    char m_data[kSerialWidth + 1 + kMacWidth];
    std::size_t m_size = 0;
    bool m_valid = true;
};

struct TextHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
};

// Each address text is copied whole from the record into the parameters.
static_assert(sizeof(DeviceNetParam::ipv4Address) >= sizeof(VEXO_DEVICE_INFO::ipv4Address)
              && sizeof(DeviceNetParam::ipv4SubnetMask) >= sizeof(VEXO_DEVICE_INFO::ipv4SubnetMask)
              && sizeof(DeviceNetParam::ipv4Gateway) >= sizeof(VEXO_DEVICE_INFO::ipv4Gateway)
              && sizeof(DeviceNetParam::ipv6Address) >= sizeof(VEXO_DEVICE_INFO::ipv6Address)
              && sizeof(DeviceNetParam::ipv6Gateway) >= sizeof(VEXO_DEVICE_INFO::ipv6Gateway));

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
        m_byKey[std::string(Key(record).view())].append(slot);
        ++m_macCount[std::string(toView(fieldBytes(record.macAddress)))];
    }

    // The first live slot with this key, or -1.
    int find(const Key &key) const
    {
        if (!key.isValid())
            return -1;
        const auto it = m_byKey.find(key.view());
        return it == m_byKey.cend() ? -1 : it->second.first();
    }

    int find(const VEXO_DEVICE_INFO &record) const { return find(Key(record)); }
    int find(const QString &serialNumber, const QString &mac) const { return find(Key(serialNumber, mac)); }

    bool containsMac(const QString &mac) const
    {
        char bytes[kMacWidth];
        std::size_t size = 0;
        return toLatin1Into(mac, kMacWidth, bytes, size)
               && m_macCount.find(std::string_view(bytes, size)) != m_macCount.cend();
    }

    int position(int slot) const { return treePrefix(slot); }

    VEXO_DEVICE_INFO &at(int slot) { return m_slots[std::size_t(slot)]; }

    // Removes the record in @p slot, which is the first live slot of its key.
    void erase(int slot)
    {
        const VEXO_DEVICE_INFO &record = m_slots[std::size_t(slot)];
        const auto keyIt = m_byKey.find(Key(record).view());
        Q_ASSERT(keyIt != m_byKey.end() && keyIt->second.first() == slot);
        keyIt->second.remove(0);
        if (keyIt->second.isEmpty())
            m_byKey.erase(keyIt);
        const auto macIt = m_macCount.find(toView(fieldBytes(record.macAddress)));
        Q_ASSERT(macIt != m_macCount.end());
        if (--macIt->second == 0)
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
            m_byKey[std::string(Key(m_slots[slot]).view())].append(int(slot));
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
    // Live slots of each key, ascending, and the number of live records of each MAC text.
    std::unordered_map<std::string, QVarLengthArray<int, 1>, TextHash, std::equal_to<>> m_byKey;
    std::unordered_map<std::string, int, TextHash, std::equal_to<>> m_macCount;
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
    return m_records->containsMac(mac);
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
    const int slot = m_records->find(record);
    if (slot >= 0)
        m_records->erase(slot);
}

void DeviceStore::update(const VEXO_DEVICE_INFO &record)
{
    KVT_Guard guard(m_mutex);
    const int slot = m_records->find(record);
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
