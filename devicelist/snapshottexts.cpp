// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshottexts.h"

namespace VexoTool {

QString SnapshotTexts::problem(onvif::SnapshotProblem problem)
{
    using P = onvif::SnapshotProblem;
    switch (problem) {
    case P::None:
        break;
    case P::NotSignedIn:
        return tr("No snapshot: not signed in to this camera.");
    case P::NoMediaService:
        return tr("No snapshot: the camera has no media service.");
    case P::NoProfile:
        return tr("No snapshot: no media profile of the camera has video.");
    case P::Refused:
        return tr("No snapshot: the camera refused it.");
    case P::TooLarge:
        return tr("No snapshot: the image is too large.");
    case P::NotAnImage:
        return tr("No snapshot: the camera sent something that is not an image.");
    case P::TimedOut:
        return tr("No snapshot: the camera did not answer in time.");
    case P::Unreachable:
        return tr("No snapshot: the camera cannot be reached.");
    }
    return QString();
}

} // namespace VexoTool
