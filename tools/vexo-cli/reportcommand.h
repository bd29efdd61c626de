// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @brief "vexo-cli report --site NAME --out FILE.pdf": the hand-over report of the devices that
 *        answer within --wait and of the journal's changes since --since (today by default),
 *        as the PDF and, beside it, the ".xls" workbook.
 *
 * Runs on its own application object, as the PDF needs fonts (no display: Qt's offscreen platform
 * unless one is chosen). The journal is the one every command writes, or --journal FILE.
 * The texts are in the language Setup.xml chooses.
 * @return 0 when both files were written; 1 when the journal or a file failed; 2 for a wrong command line.
 */
int runReportCommand(int argc, char *argv[]);
