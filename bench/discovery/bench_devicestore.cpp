// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Runs 10,000 devices through what the device list page does per event (online: containsMac and
// add under the store's lock; change: get and update; offline: remove, oldest first) on
// DeviceStore and on a plain vector searched from the front, and prints both times.

#include <deviceinfo.h>
#include <devicerecords.h>
#include <devicestore.h>

#include <QString>
#include <QVector>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kDevices = 10000;
constexpr int kRuns = 5;
constexpr double kTargetMs = 50.0;

struct Device
{
    VEXO_DEVICE_INFO record;
    QString serialNumber;
    QString mac;
};

std::vector<Device> makeDevices()
{
    std::vector<Device> devices(kDevices);
    for (int i = 0; i < kDevices; ++i) {
        Device &d = devices[std::size_t(i)];
        d.record = deviceRecord(i);
        d.serialNumber = serialOf(d.record);
        d.mac = macOf(d.record);
    }
    return devices;
}

// The reference: the records in a vector, every lookup a scan from the front.
class LinearStore
{
public:
    bool containsMac(const QString &mac) const
    {
        const QByteArray bytes = mac.toLatin1();
        return std::any_of(m_records.cbegin(), m_records.cend(),
                           [&bytes](const VEXO_DEVICE_INFO &r) { return fieldBytes(r.macAddress) == bytes; });
    }
    int indexOf(const QString &serialNumber, const QString &mac) const
    {
        const QByteArray serialBytes = serialNumber.toLatin1();
        const QByteArray macBytes = mac.toLatin1();
        for (int i = 0; i < m_records.size(); ++i) {
            if (fieldBytes(m_records[i].serialNumber) == serialBytes && fieldBytes(m_records[i].macAddress) == macBytes)
                return i;
        }
        return -1;
    }
    void add(const VEXO_DEVICE_INFO &record) { m_records.append(record); }
    bool get(const QString &serialNumber, const QString &mac, VEXO_DEVICE_INFO &out) const
    {
        const int i = indexOf(serialNumber, mac);
        if (i >= 0)
            out = m_records[i];
        return i >= 0;
    }
    void update(const VEXO_DEVICE_INFO &record)
    {
        const int i = indexOf(fieldText(record.serialNumber), fieldText(record.macAddress));
        if (i >= 0)
            m_records[i] = record;
    }
    void remove(const VEXO_DEVICE_INFO &record)
    {
        const int i = indexOf(fieldText(record.serialNumber), fieldText(record.macAddress));
        if (i >= 0)
            m_records.removeAt(i);
    }
    int count() const { return int(m_records.size()); }

private:
    QVector<VEXO_DEVICE_INFO> m_records;
};

template<typename Store, typename Lock>
double runOnce(Store &store, const std::vector<Device> &devices, Lock lock)
{
    const auto start = std::chrono::steady_clock::now();
    for (const Device &d : devices) {
        [[maybe_unused]] auto guard = lock();
        if (!store.containsMac(d.mac))
            store.add(d.record);
    }
    for (const Device &d : devices) {
        VEXO_DEVICE_INFO record;
        if (!store.get(d.serialNumber, d.mac, record))
            std::abort();
        record.eventCode = VEXO_EVENT_CHANGED;
        record.channelCount += 1;
        store.update(record);
    }
    for (const Device &d : devices)
        store.remove(d.record);
    const auto end = std::chrono::steady_clock::now();
    if (store.count() != 0)
        std::abort();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    const std::vector<Device> devices = makeDevices();
    DeviceStore ownStore;
    DeviceStore *store = &ownStore;

    std::vector<double> indexed;
    std::vector<double> linear;
    for (int run = 0; run < kRuns; ++run) {
        indexed.push_back(runOnce(*store, devices, [store] { return std::make_unique<KVT_Guard>(store->mutex()); }));
        LinearStore reference;
        linear.push_back(runOnce(reference, devices, [] { return 0; }));
    }

    const double indexedMs = median(indexed);
    const double linearMs = median(linear);
    std::printf("device store, %d devices: add + containsMac + get + update + remove, median of %d runs\n", kDevices,
                kRuns);
    std::printf("  DeviceStore (hashed)  %9.2f ms  (best %.2f ms)\n", indexedMs,
                *std::min_element(indexed.cbegin(), indexed.cend()));
    std::printf("  linear-scan reference %9.2f ms  (best %.2f ms)\n", linearMs,
                *std::min_element(linear.cbegin(), linear.cend()));
    std::printf("  ratio linear / hashed %9.1fx\n", linearMs / indexedMs);
    std::printf("  target %.0f ms: %s\n", kTargetMs, indexedMs < kTargetMs ? "met" : "MISSED");
    return 0;
}
