// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>

/** @brief One HTTP request as the server read it. */
struct HttpRequest
{
    QByteArray method;
    QByteArray path;
    QList<std::pair<QByteArray, QByteArray>> headers; ///< names as sent; compare case-insensitively
    QByteArray body;
    /** @brief The first header named @p name (any case), or a null array. */
    QByteArray header(QByteArrayView name) const;
};

/** @brief The answer to send. */
struct HttpResponse
{
    int status = 200;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool closeWithoutAnswer = false; ///< an injected fault: drop the connection instead
    int delayMs = 0;                 ///< a slow device: the answer goes out this much later
    /** @brief Status line, headers, Content-Length and body. */
    QByteArray serialize(bool keepAlive) const;
};

/**
 * @brief Reads HTTP/1.1 requests from a connection's bytes as they arrive.
 *
 * Only Content-Length bodies are read; a chunked body, a header section over kMaxHeaderBytes
 * or more than kMaxHeaders lines, a body over the caller's limit and a malformed request
 * line end the connection with the status to answer (400, 411, 413, 431).
 */
class HttpRequestReader
{
public:
    static constexpr qsizetype kMaxHeaderBytes = 8 * 1024;
    static constexpr int kMaxHeaders = 64;

    explicit HttpRequestReader(qsizetype maxBodyBytes)
        : m_maxBodyBytes(maxBodyBytes)
    {}

    /** @brief Adds received bytes. */
    void append(QByteArrayView data) { m_buffer.append(data); }
    /** @brief The next complete request, if the bytes hold one; check failed() when none comes. */
    std::optional<HttpRequest> next();
    /** @brief The status to answer before closing, once the bytes cannot be a request; 0 while they can. */
    int failed() const { return m_failure; }
    /** @brief Whether bytes of an unfinished request wait. */
    bool hasPartial() const { return !m_buffer.isEmpty(); }
    /**
     * @brief Whether the request whose headers just arrived waits for "100 Continue" before
     * sending its body (Expect: 100-continue); true once per request.
     */
    bool takeContinue() { return std::exchange(m_continue, false); }
    /** @brief Whether the last request asked to keep the connection open. */
    bool keepAlive() const { return m_keepAlive; }

private:
    QByteArray m_buffer;
    qsizetype m_maxBodyBytes;
    int m_failure = 0;
    bool m_keepAlive = true;
    bool m_continue = false;
    qsizetype m_continuedAt = -1; ///< buffer size when "100 Continue" was last asked for
};
