// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <cstdio>
#include <string>

namespace vexo {

/**
 * @brief Opens a file named by a path in the C interface's byte encoding.
 *
 * On Windows the bytes are in the local code page and are converted to UTF-16
 * for _wfopen, so folders with names outside the code page's ASCII part work;
 * elsewhere the path goes to fopen unchanged. Returns nullptr when the file
 * cannot be opened or the path cannot be converted.
 */
std::FILE *openLocalFile(const std::string &path, const char *mode);

} // namespace vexo
