// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "peakmemory.h"

#include <QFile>
#include <QList>

double peakMemoryMb()
{
#ifdef Q_OS_LINUX
    // /proc files report no size, so read to the end rather than asking atEnd().
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
#endif
    return 0;
}

void resetPeakMemory()
{
#ifdef Q_OS_LINUX
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5"); // resets the peak to the size now
#endif
}
