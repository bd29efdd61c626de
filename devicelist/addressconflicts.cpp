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
    const auto sole = m_soleKeyOfAddress.constFind(newAddress);
    if (sole != m_soleKeyOfAddress.cend()) {
        ++m_conflictCount;
        changed.append(*sole);
        m_keysOfSharedAddress.insert(newAddress, {*sole, key});
        m_soleKeyOfAddress.erase(sole);
        changed.append(key);
        return changed;
    }
    const auto shared = m_keysOfSharedAddress.find(newAddress);
    if (shared == m_keysOfSharedAddress.end()) {
        m_soleKeyOfAddress.insert(newAddress, key);
        return changed;
    }
    shared->insert(key);
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
    const auto sole = m_soleKeyOfAddress.constFind(address);
    if (sole != m_soleKeyOfAddress.cend()) {
        if (*sole == key)
            m_soleKeyOfAddress.erase(sole);
        return;
    }
    const auto keys = m_keysOfSharedAddress.find(address);
    if (keys == m_keysOfSharedAddress.end() || !keys->remove(key))
        return;
    changed.append(key);
    if (keys->size() == 1) {
        --m_conflictCount;
        changed.append(*keys->cbegin());
        m_soleKeyOfAddress.insert(address, *keys->cbegin());
        m_keysOfSharedAddress.erase(keys);
    }
}

void AddressConflicts::clear()
{
    m_devices.clear();
    m_soleKeyOfAddress.clear();
    m_keysOfSharedAddress.clear();
    m_conflictCount = 0;
}

bool AddressConflicts::isConflicting(const QString &key) const
{
    const auto device = m_devices.constFind(key);
    return device != m_devices.cend() && !device->address.isEmpty() && m_keysOfSharedAddress.contains(device->address);
}

QStringList AddressConflicts::othersOf(const QString &key) const
{
    QStringList names;
    const QString address = m_devices.value(key).address;
    if (address.isEmpty())
        return names;
    for (const QString &other : m_keysOfSharedAddress.value(address)) {
        if (other != key)
            names.append(m_devices.value(other).name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace VexoTool
