// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace VexoTool {

/**
 * @brief Which listed devices share an IPv4 address with another listed device.
 *
 * Devices are named by a key of the caller's choice. Each arrival, change of address and
 * departure costs one hash lookup per address concerned, never a pass over all devices. An empty
 * address and 0.0.0.0 (a device without an address yet) share nothing.
 */
class AddressConflicts
{
public:
    /**
     * @brief Records the device's address (adding the device when it is new).
     * @return the keys of the devices whose isConflicting() changed with it.
     */
    QStringList setAddress(const QString &key, const QString &address, const QString &name);

    /** @brief Forgets the device. @return the keys of the devices whose isConflicting() changed. */
    QStringList remove(const QString &key);

    void clear();

    bool isConflicting(const QString &key) const;

    /** @brief The names of the other devices on the device's address, sorted. */
    QStringList othersOf(const QString &key) const;

    /** @brief The address of the device, as last recorded. */
    QString addressOf(const QString &key) const { return m_devices.value(key).address; }

    /** @brief How many addresses are used by more than one device. */
    int conflictCount() const { return m_conflictCount; }

private:
    struct Device
    {
        QString address; // as tracked: empty for none
        QString name;
    };
    static QString tracked(const QString &address);
    void leave(const QString &key, const QString &address, QStringList &changed);

    QHash<QString, Device> m_devices;
    // Most addresses have one device: its key alone, without a set (which takes a kilobyte).
    QHash<QString, QString> m_soleKeyOfAddress;
    QHash<QString, QSet<QString>> m_keysOfSharedAddress; // addresses of two devices or more

    int m_conflictCount = 0;
};

} // namespace VexoTool
