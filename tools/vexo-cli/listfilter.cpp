// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "listfilter.h"

#include <algorithm>

namespace {

QString field(const char *text, std::size_t size)
{
    return QString::fromLatin1(text, qsizetype(qstrnlen(text, size)));
}

} // namespace

std::optional<ListFilter> ListFilter::parse(const QString &text, const QVector<VexoTool::AdapterAddress> &adapters,
                                            QString *error)
{
    ListFilter filter;
    if (text.trimmed() == QLatin1String("host")) {
        filter.m_byHost = true;
        filter.m_host = adapters;
        return filter;
    }
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!VexoTool::DeviceFilter::isWellFormed(part)) {
            *error = QStringLiteral("--filter: \"%1\" is no address range. Ranges are written as a network "
                                    "(192.0.2.0/24, prefix 0 to 32) or as a first and a last address "
                                    "(192.0.2.10-192.0.2.50, the first not above the last); any other text "
                                    "matches serial numbers, MACs, types, addresses and versions; \"host\" "
                                    "keeps this computer's subnets; ';' separates several")
                         .arg(part.trimmed());
            return std::nullopt;
        }
        filter.m_filters.emplace_back(part);
    }
    return filter;
}

bool ListFilter::matches(const VEXO_DEVICE_INFO &d) const
{
    const QString address = field(d.ipv4Address, sizeof d.ipv4Address);
    if (m_byHost) {
        const auto number = VexoTool::DeviceFilter::parseIPv4(address);
        return number && VexoTool::adapterReaching(*number, m_host).has_value();
    }
    if (m_filters.empty())
        return true;
    const auto prepared = VexoTool::DeviceFilter::prepare({field(d.serialNumber, sizeof d.serialNumber),
                                                           field(d.macAddress, sizeof d.macAddress),
                                                           field(d.deviceTypeText, sizeof d.deviceTypeText), address,
                                                           field(d.softwareVersion, sizeof d.softwareVersion)});
    return std::any_of(m_filters.cbegin(), m_filters.cend(),
                       [&prepared](const VexoTool::DeviceFilter &f) { return f.matches(prepared); });
}
