// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file result.h
 * @brief Outcome of parsing a message: a value, the device's SOAP fault, or a refusal.
 */

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace onvif {

/** @brief An XML name resolved to its namespace: {"http://www.onvif.org/ver10/error", "NotAuthorized"}. */
struct QualifiedName
{
    QString namespaceUri;
    QString localName;
    friend bool operator==(const QualifiedName &, const QualifiedName &) = default;
};

/** @brief A SOAP 1.2 fault: the code, its chain of subcodes (outermost first) and the reason text. */
struct SoapFault
{
    QualifiedName code;            ///< e.g. env:Sender
    QList<QualifiedName> subcodes; ///< e.g. ter:InvalidArgVal, ter:InvalidIPv4Address
    QString reason;                ///< the first Reason/Text, English preferred
    /** @brief Whether @p localName in the ONVIF error namespace is the code or one of the subcodes. */
    bool hasSubcode(QStringView localName) const;
};

/**
 * @brief What a parser returns: the value, or the device's fault, or why the text was refused.
 *
 * Exactly one of value, fault and error is set. A fault is a well-formed answer in which the
 * device declined the request; an error means the text itself was refused. Quirks name what
 * was read although it departs from the schema (a SOAP 1.1 envelope, an element found by its
 * local name in another namespace).
 */
template<typename T>
struct Result
{
    std::optional<T> value;
    std::optional<SoapFault> fault;
    QString error;
    QStringList quirks;

    explicit operator bool() const { return value.has_value(); }
    static Result refused(const QString &reason)
    {
        Result r;
        r.error = reason;
        return r;
    }
};

} // namespace onvif
