// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "addressconflicts.h"

#include <algorithm>

namespace VexoTool {

QString AddressConflicts::tracked(const QString &address)
{
    const QString trimmed = address.trimmed();
    return trimmed == QLatin1String("0.0.0.0") ? QString() : trimmed;
}

QStringList AddressConflicts::setAddress(const QString &key, const QString &address, const QString &name)
{
    const QString newAddress = tracked(address);
    QStringList changed;
    auto device = m_devices.find(key);
    if (device == m_devices.end()) {
        device = m_devices.insert(key, {QString(), name});
    } else {
        device->name = name;
        if (device->address == newAddress)
            return changed;
        leave(key, device->address, changed);
    }
    device->address = newAddress;
    if (newAddress.isEmpty())
        return changed;
    QSet<QString> &keys = m_keysOfAddress[newAddress];
    if (keys.size() == 1) {
        ++m_conflictCount;
        changed.append(*keys.cbegin());
    }
    keys.insert(key);
    if (keys.size() > 1)
        changed.append(key);
    return changed;
}

QStringList AddressConflicts::remove(const QString &key)
{
    QStringList changed;
    const auto device = m_devices.constFind(key);
    if (device == m_devices.cend())
        return changed;
    leave(key, device->address, changed);
    m_devices.erase(device);
    return changed;
}

void AddressConflicts::leave(const QString &key, const QString &address, QStringList &changed)
{
    if (address.isEmpty())
        return;
    const auto keys = m_keysOfAddress.find(address);
    if (keys == m_keysOfAddress.end())
        return;
    if (keys->size() > 1)
        changed.append(key);
    keys->remove(key);
    if (keys->size() == 1) {
        --m_conflictCount;
        changed.append(*keys->cbegin());
    }
    if (keys->isEmpty())
        m_keysOfAddress.erase(keys);
}

void AddressConflicts::clear()
{
    m_devices.clear();
    m_keysOfAddress.clear();
    m_conflictCount = 0;
}

bool AddressConflicts::isConflicting(const QString &key) const
{
    const auto device = m_devices.constFind(key);
    return device != m_devices.cend() && !device->address.isEmpty()
           && m_keysOfAddress.value(device->address).size() > 1;
}

QStringList AddressConflicts::othersOf(const QString &key) const
{
    QStringList names;
    const QString address = m_devices.value(key).address;
    if (address.isEmpty())
        return names;
    for (const QString &other : m_keysOfAddress.value(address)) {
        if (other != key)
            names.append(m_devices.value(other).name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace VexoTool
