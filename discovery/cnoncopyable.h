// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

namespace Singleton {

/**
 * @brief Base of classes whose objects must not be copied or moved (the process-wide services).
 */
class CNoncopyable
{
public:
    CNoncopyable(const CNoncopyable &) = delete;
    CNoncopyable &operator=(const CNoncopyable &) = delete;

protected:
    CNoncopyable() = default;
    ~CNoncopyable() = default;
};

} // namespace Singleton
