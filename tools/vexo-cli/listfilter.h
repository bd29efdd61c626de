// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "Vexo.h"

#include <devicefilter.h>
#include <subnetreach.h>

#include <QString>
#include <QVector>

#include <optional>
#include <vector>

/**
 * @brief vexo-cli's --filter: the rules of the window's filter box, for every device listed or
 *        watched whichever protocol found it.
 *
 * Takes what the filter box takes (a network "192.0.2.0/24", a range "192.0.2.10-192.0.2.50",
 * or a text the serial number, MAC, type, address or version holds), several of them separated
 * by ';' (a device passes when one matches), or "host": the subnets of this computer's adapters.
 */
class ListFilter
{
public:
    /** @brief The filter of @p text, or nothing with @p error saying the forms taken. */
    static std::optional<ListFilter> parse(const QString &text, const QVector<VexoTool::AdapterAddress> &adapters,
                                           QString *error);

    bool matches(const VEXO_DEVICE_INFO &device) const;

private:
    std::vector<VexoTool::DeviceFilter> m_filters;
    QVector<VexoTool::AdapterAddress> m_host; // for "host"
    bool m_byHost = false;
};
