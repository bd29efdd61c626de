// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <snapshotclient.h>

#include <QCoreApplication>
#include <QString>

namespace VexoTool {

/** @brief Why a camera has no snapshot, in the user's language: one text for the panel and the list. */
class SnapshotTexts
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::SnapshotTexts)

public:
    /** @brief "No snapshot: …" for @p problem; empty for none. */
    static QString problem(onvif::SnapshotProblem problem);
};

} // namespace VexoTool
