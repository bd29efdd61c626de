// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

// MinGW's C++ library prints through its own ANSI printf (with %zu and %lld), which the
// compiler checks as "gnu_printf"; plain "printf" there means Microsoft's older one.
#if defined(__MINGW32__)
#    define VEXO_PRINTF_FORMAT(formatIndex, firstArgument)                                                             \
        __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#    define VEXO_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#else
#    define VEXO_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace vexo {

enum class LogLevel { Off = 0, Error = 1, Warning = 2, Info = 3, Debug = 4 };

/** The library's own log file, "vexo.log"; shared by every thread. */
class Logger
{
public:
    static Logger &instance();

    /** Opens (appends to) dir/vexo.log; false if it cannot be opened. */
    bool open(int level, const std::string &dir, bool autoDelete);
    bool enabled(LogLevel level) const { return static_cast<int>(level) <= m_level; }
    void write(LogLevel level, const char *format, ...) VEXO_PRINTF_FORMAT(3, 4);
    /**
     * Writes out what is buffered if the oldest unwritten line is older than half a second.
     * Lines are buffered so that a busy debug or info log does not cost a system call per line;
     * errors and warnings are written out at once. The library's thread calls this on its tick.
     */
    void flushIfDue();
    /** Writes out everything buffered. */
    void flush();

    ~Logger();

private:
    Logger() = default;
    mutable std::mutex m_mutex;
    std::FILE *m_file = nullptr;
    std::string m_path;
    int m_level = 0;
    bool m_autoDelete = false;
    bool m_pending = false; // lines written since the last flush
    std::chrono::steady_clock::time_point m_firstPending;
};

} // namespace vexo

#define VEXO_LOG(level, ...)                                                                                           \
    do {                                                                                                               \
        if (::vexo::Logger::instance().enabled(level))                                                                 \
            ::vexo::Logger::instance().write(level, __VA_ARGS__);                                                      \
    } while (0)
