// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "csingleton.h"

#include <Vexo.h>
#include <kvt.h>

#include <QString>
#include <QVector>

#include <memory>

/**
 * @brief The records of all devices now online, in the order they were added, keyed by
 *        (serial number, MAC).
 *
 * Keys are compared as exact, case-sensitive texts; each record's key texts are read within
 * their field widths. The store allows duplicate keys (the device list page prevents them);
 * every lookup then works on the first record with the key.
 *
 * Every operation holds the store's re-entrant mutex while it runs, and callers may lock
 * mutex() around several operations. Lookups are hashed, so no operation scans the records.
 *
 * instance() is the store of the program's device list; a test makes a store of its own.
 */
class DeviceStore : public Singleton::CSingleton<DeviceStore>
{
    friend class Singleton::CSingleton<DeviceStore>;

public:
    /** @brief An empty store. */
    DeviceStore();
    ~DeviceStore();

    /** @brief The lock for callers that need several operations to happen together. */
    KVT_Mutex mutex() const { return m_mutex; }

    /** @brief Appends a copy of @p record, without looking for duplicates. */
    void add(const VEXO_DEVICE_INFO &record);

    /** @brief Whether any record's MAC text equals @p mac. */
    bool containsMac(const QString &mac) const;

    /** @brief Position of the first record with this key in the order of copyAll(), else -1. */
    int indexOf(const QString &serialNumber, const QString &mac) const;

    /** @brief Removes the first record with the key of @p record; nothing if absent. */
    void remove(const VEXO_DEVICE_INFO &record);

    /** @brief Overwrites all 500 bytes of the first record with the key of @p record; nothing if absent. */
    void update(const VEXO_DEVICE_INFO &record);

    /** @brief Copies the record out. @return false, leaving @p out untouched, if absent. */
    bool get(const QString &serialNumber, const QString &mac, VEXO_DEVICE_INFO &out) const;

    /** @brief Replaces @p out with copies of all records in the order they were added. */
    void copyAll(QVector<VEXO_DEVICE_INFO> &out) const;

    /**
     * @brief Copies the record's network fields into @p out.
     *
     * Only the first 46 bytes of each IPv6 field and the low 16 bits of the port are written;
     * every other byte of @p out keeps what the caller put there.
     * @return false, leaving @p out untouched, if absent.
     */
    bool getNetParams(const QString &serialNumber, const QString &mac, DeviceNetParam &out) const;

    /** @brief Stores the network fields of @p param into the record (the port zero-extended). @return false if absent. */
    bool setNetParams(const QString &serialNumber, const QString &mac, const DeviceNetParam &param);

    /** @brief Writes the record's inactive byte (0 after a successful activation). @return false if absent. */
    bool setInactive(const QString &serialNumber, const QString &mac, quint8 inactive);

    /** @brief Removes all records. */
    void clear();

    /** @brief The number of records. */
    int count() const;

private:
    class Records;

    KVT_Mutex m_mutex = nullptr;
    std::unique_ptr<Records> m_records;
};
