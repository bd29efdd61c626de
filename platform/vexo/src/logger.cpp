// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "logger.h"

#include "localfile.h"

#include <chrono>
#include <cstdarg>
#include <ctime>

namespace vexo {

namespace {
constexpr long kMaxLogSize = 4L * 1024 * 1024;
}

Logger &Logger::instance()
{
    static Logger logger;
    return logger;
}

Logger::~Logger()
{
    if (m_file)
        std::fclose(m_file);
}

bool Logger::open(int level, const std::string &dir, bool autoDelete)
{
    std::lock_guard lock(m_mutex);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_pending = false;
    m_level = 0;
    if (level <= 0)
        return true;
    std::string path = dir;
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
        path += '/';
    path += "vexo.log";
    m_file = openLocalFile(path, "a");
    if (!m_file)
        return false;
    m_path = path;
    m_level = level > 4 ? 4 : level;
    m_autoDelete = autoDelete;
    return true;
}

void Logger::write(LogLevel level, const char *format, ...)
{
    static const char *const names[] = {"", "ERROR", "WARN", "INFO", "DEBUG"};
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    if (m_autoDelete && std::ftell(m_file) > kMaxLogSize) {
        std::fclose(m_file);
        m_file = openLocalFile(m_path, "w");
        m_pending = false;
        if (!m_file)
            return;
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
    std::fprintf(m_file, "%s.%03d [%s] ", stamp, static_cast<int>(ms), names[static_cast<int>(level)]);
    va_list args;
    va_start(args, format);
    std::vfprintf(m_file, format, args);
    va_end(args);
    std::fputc('\n', m_file);
    if (level <= LogLevel::Warning) {
        std::fflush(m_file);
        m_pending = false;
    } else if (!m_pending) {
        m_pending = true;
        m_firstPending = std::chrono::steady_clock::now();
    }
}

void Logger::flushIfDue()
{
    std::lock_guard lock(m_mutex);
    if (m_file && m_pending && std::chrono::steady_clock::now() - m_firstPending >= std::chrono::milliseconds(500)) {
        std::fflush(m_file);
        m_pending = false;
    }
}

void Logger::flush()
{
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fflush(m_file);
    m_pending = false;
}

} // namespace vexo
