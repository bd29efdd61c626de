// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QStringList>

namespace VexoTool {

/** @brief The IPv4 addresses a batch gives its devices, one more per device. */
struct BatchNumbering
{
    /** @brief One address per device while every device fits; empty otherwise. */
    QStringList addresses;
    /** @brief How many devices fit from the start address, at most the batch's size. */
    int fitting = 0;

    bool fitsAll(int count) const { return fitting == count; }
};

/**
 * @brief Numbers @p count devices from @p startIp.
 *
 * Device j gets the start address with j added to its fourth part while that stays at most
 * 255 (the first three parts as typed). Past 255 the numbering goes on in the next third part
 * at fourth part 1 (…, c.255, c+1.1, c+1.2, …), never using fourth parts 0 and 255 after the
 * wrap. A device fits while its third part stays at most 255 and, when @p subnetMask is a valid
 * mask, its address lies in the start address's subnet and is neither that subnet's network
 * nor its broadcast address.
 *
 * @p startIp must be a valid IPv4 address.
 */
BatchNumbering numberBatch(const QString &startIp, int count, const QString &subnetMask);

/**
 * @brief Numbers one device per entry of @p subnetMasks from @p startIp, each limited by its
 *        own mask (the mask each device keeps when the batch leaves the mask alone).
 */
BatchNumbering numberBatch(const QString &startIp, const QStringList &subnetMasks);

} // namespace VexoTool
