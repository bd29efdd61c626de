// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "localfile.h"

#if defined(_WIN32)
#    include <windows.h>
#endif

namespace vexo {

std::FILE *openLocalFile(const std::string &path, const char *mode)
{
#if defined(_WIN32)
    if (path.empty())
        return nullptr;
    const auto widen = [](const char *bytes, int length, UINT codePage) {
        std::wstring wide;
        const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
        if (n <= 0)
            return wide;
        wide.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), n);
        return wide;
    };
    const std::wstring widePath = widen(path.data(), static_cast<int>(path.size()), CP_ACP);
    const std::wstring wideMode = widen(mode, -1, CP_ACP);
    if (widePath.empty() || wideMode.empty())
        return nullptr;
    return _wfopen(widePath.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

} // namespace vexo
