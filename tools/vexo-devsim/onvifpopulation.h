// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifdevice.h"

#include <QJsonObject>

#include <cstdint>
#include <optional>
#include <vector>

/**
 * @brief The simulator's ONVIF devices: generated from a seed, and kept in the state file.
 *
 * Generated ONVIF-only devices come from invented makers; each device, also one of the
 * project's own kind that answers ONVIF too, gets its own loopback address from 127.1.0.1
 * upwards (onvifAddress()), the user "admin" with the population's password, and a clock
 * that runs 5 minutes to 2 hours off, so a client must read the device's time before it
 * can authenticate with a password digest.
 */
namespace OnvifPopulation {

/** @brief The @p index-th loopback address handed to ONVIF devices: 127.1.0.1, 127.1.0.2, ... */
QString onvifAddress(int index);

/** @brief @p count ONVIF-only devices; their addresses start at onvifAddress(@p firstAddress). */
std::vector<OnvifDeviceState> generate(int count, std::uint64_t seed, const QString &password, int firstAddress);

/** @brief The ONVIF face of a device of the project's own kind (same serial number and MAC). */
OnvifDeviceState forOwnDevice(const QString &serial, const QString &mac, const QString &model, const QString &firmware,
                              const QString &address, std::uint64_t seed, const QString &password);

QJsonObject toJson(const OnvifDeviceState &state);
/** @brief Reads what toJson() wrote; refuses any missing or malformed field with a reason. */
std::optional<OnvifDeviceState> fromJson(const QJsonObject &object, QString *error);

} // namespace OnvifPopulation
