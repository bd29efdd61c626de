// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file failure.h
 * @brief Why a request to an ONVIF device failed, structured so that the program can say it
 * in the user's language; nothing here is translated.
 */

#include "result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace onvif {

/** @brief A failed request: what kind of failure, with the details the caller may show. */
struct Failure
{
    enum class Kind {
        None,
        Unreachable, ///< no route, host not found, or the connection could not be made
        Refused,     ///< connection refused or reset by the device
        TimedOut,    ///< no complete answer within the time-out
        HttpStatus,  ///< an HTTP status other than success, redirects included (never followed)
        NotAuthorized, ///< wrong user name or password (HTTP 401 after trying, 403, or ter:NotAuthorized in any SOAP version)
        SoapFault,          ///< the device declined with a SOAP fault (see fault)
        Malformed,          ///< the answer is not the expected SOAP message
        TooLarge,           ///< the answer exceeded the size limit and was aborted
        ClearTextOnly,      ///< the device offers only clear-text passwords and the caller did not allow them
        AddressNotAllowed,  ///< the device's address is outside the scope (see ClientOptions)
        InvalidArgument,    ///< the caller's value was refused before anything was sent
        CertificateChanged, ///< over HTTPS the device presented another certificate than the one pinned for it
        TlsFailed,          ///< the TLS handshake failed (no TLS 1.2 or later, or no certificate)
        NotEncrypted,       ///< a new password would travel over plain HTTP and the caller did not allow it
    };

    Kind kind = Kind::None;
    QString detail;                 ///< technical detail (English, untranslated): the reason, status line or URL
    int httpStatus = 0;             ///< the HTTP status when there was one
    std::optional<SoapFault> fault; ///< the device's fault for SoapFault (and NotAuthorized when it sent one)

    bool failed() const { return kind != Kind::None; }
    static Failure of(Kind kind, const QString &detail)
    {
        Failure f;
        f.kind = kind;
        f.detail = detail;
        return f;
    }
};

/** @brief A value, or the failure that prevented it. */
template<typename T>
struct Outcome
{
    std::optional<T> value;
    Failure failure;
    QStringList quirks; ///< where the answer departed from the schema (see Result)

    explicit operator bool() const { return value.has_value(); }
    static Outcome failedWith(Failure f)
    {
        Outcome o;
        o.failure = std::move(f);
        return o;
    }
};

/** @brief A short English name of @p kind for logs and the command line ("time-out"). */
inline const char *kindName(Failure::Kind kind)
{
    switch (kind) {
    case Failure::Kind::None:
        return "none";
    case Failure::Kind::Unreachable:
        return "unreachable";
    case Failure::Kind::Refused:
        return "connection refused or reset";
    case Failure::Kind::TimedOut:
        return "time-out";
    case Failure::Kind::HttpStatus:
        return "HTTP status";
    case Failure::Kind::NotAuthorized:
        return "not authorised";
    case Failure::Kind::SoapFault:
        return "SOAP fault";
    case Failure::Kind::Malformed:
        return "malformed answer";
    case Failure::Kind::TooLarge:
        return "answer too large";
    case Failure::Kind::ClearTextOnly:
        return "device offers only clear-text passwords";
    case Failure::Kind::AddressNotAllowed:
        return "address not allowed in this scope";
    case Failure::Kind::InvalidArgument:
        return "invalid argument";
    case Failure::Kind::CertificateChanged:
        return "the device presented another certificate than the one pinned for it";
    case Failure::Kind::TlsFailed:
        return "TLS handshake failed";
    case Failure::Kind::NotEncrypted:
        return "the device has no HTTPS: the new password would cross the network readable";
    }
    return "unknown";
}

} // namespace onvif
