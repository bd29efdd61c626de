// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <deviceinfo.h>
#include <snapshotclient.h>

#include <QObject>
#include <QSize>

#include <functional>

namespace VexoTool {

/**
 * @brief Where the panel and the list get a snapshot of what a camera sees: the one place where
 *        the media client is plugged in (the program sets one; tests set their own).
 */
class SnapshotSource
{
public:
    using Callback = std::function<void(const onvif::SnapshotOutcome &)>;

    virtual ~SnapshotSource() = default;

    /** @brief Whether @p device can have a snapshot now: a camera reached over ONVIF after sign-in. */
    virtual bool available(const DeviceInfo &device) const = 0;
    /**
     * @brief Takes a snapshot of @p device, scaled within @p scaledTo when valid. @p done runs
     *        later on the calling (GUI) thread, once, unless @p context is gone by then.
     */
    virtual void take(const DeviceInfo &device, QSize scaledTo, QObject *context, const Callback &done) = 0;
};

} // namespace VexoTool
