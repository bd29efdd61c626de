// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifhttp.h"

#include <QHash>

QByteArray HttpRequest::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QByteArray HttpResponse::serialize(bool keepAlive) const
{
    static const QHash<int, QByteArray> reasons{
        {200, "OK"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {408, "Request Timeout"},
        {411, "Length Required"},
        {413, "Content Too Large"},
        {431, "Request Header Fields Too Large"},
        {500, "Internal Server Error"},
    };
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.value(status, "Error") + "\r\n";
    for (const auto &[key, value] : headers)
        out += key + ": " + value + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    out += body;
    return out;
}

std::optional<HttpRequest> HttpRequestReader::next()
{
    if (m_failure)
        return std::nullopt;
    const qsizetype end = m_buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (m_buffer.size() > kMaxHeaderBytes)
            m_failure = 431;
        return std::nullopt;
    }
    if (end > kMaxHeaderBytes) {
        m_failure = 431;
        return std::nullopt;
    }
    const QList<QByteArray> lines = m_buffer.left(end).split('\n');
    if (lines.size() - 1 > kMaxHeaders) {
        m_failure = 431;
        return std::nullopt;
    }
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1.")) {
        m_failure = 400;
        return std::nullopt;
    }
    HttpRequest request;
    request.method = requestLine.at(0);
    request.path = requestLine.at(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            m_failure = 400;
            return std::nullopt;
        }
        request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    if (!request.header("Transfer-Encoding").isNull()) {
        m_failure = 411;
        return std::nullopt;
    }
    qsizetype length = 0;
    const QByteArray lengthText = request.header("Content-Length");
    if (!lengthText.isNull()) {
        bool ok = false;
        length = lengthText.toLongLong(&ok);
        if (!ok || length < 0) {
            m_failure = 400;
            return std::nullopt;
        }
        if (length > m_maxBodyBytes) {
            m_failure = 413;
            return std::nullopt;
        }
    }
    if (m_buffer.size() < end + 4 + length)
        return std::nullopt;
    request.body = m_buffer.mid(end + 4, length);
    m_buffer.remove(0, end + 4 + length);
    const QByteArray connection = request.header("Connection").toLower();
    m_keepAlive = requestLine.at(2) == "HTTP/1.1" ? connection != "close" : connection == "keep-alive";
    return request;
}
