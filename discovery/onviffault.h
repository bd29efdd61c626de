// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace VexoTool {

/** @brief How a request to an ONVIF device failed. */
enum class OnvifFailureKind {
    Unreachable,        ///< no route to the device, or its address did not answer at all
    ConnectionRefused,  ///< the address answered, but nothing serves HTTP on the port
    TimedOut,           ///< the device did not answer in time
    HttpStatus,         ///< an HTTP status other than 200 without a SOAP fault
    NotAuthorized,      ///< HTTP 401 or 403 after the credentials were sent
    SoapFault,          ///< a SOAP fault with its code and subcodes
    MalformedAnswer,    ///< the answer is not the SOAP document the request expects
    TooLarge,           ///< the answer exceeds the size the reader accepts
    ClearTextOnly,      ///< the device offers only ways that send the password readable
    AddressNotAllowed,  ///< the address lies outside what the network scope lets the program contact
    CertificateChanged, ///< over HTTPS the device presented another certificate than the one pinned for it
    TlsFailed,          ///< no TLS connection (no TLS 1.2 or later, or no certificate)
    NotEncrypted,       ///< the new password would cross the network readable and the user did not agree
    Contested,          ///< a device at another address claims the same identity: nothing was sent
};

/**
 * @brief One failed ONVIF request as the client layer reports it.
 *
 * Subcodes keep their prefixes as the device wrote them ("ter:InvalidIPv4Address"); the
 * outermost first. @p reason is the device's own fault text (its language, unchecked).
 */
struct OnvifFailure
{
    OnvifFailureKind kind = OnvifFailureKind::Unreachable;
    int httpStatus = 0;
    QString code; ///< "env:Sender", "env:Receiver", ...
    QStringList subcodes;
    QString reason;
};

/**
 * @brief The translated text of a failed ONVIF request, for the result list and messages.
 *
 * Never a bare code: known subcodes and kinds have their own sentence that says what to do;
 * an unknown subcode gives a generic lead followed by the device's own reason text (cut to a
 * readable length, control characters removed), or the subcode when the device gave none.
 */
class OnvifFaultText
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::OnvifFaultText)

public:
    static QString text(const OnvifFailure &failure);
    /**
     * @brief What a partly identified device did not tell and why, from the operations that
     *        failed with @p failure ("GetNetworkInterfaces"): "Not read: MAC address and IPv4
     *        settings. The device's answer could not be read. ..."
     */
    static QString missing(const QStringList &operations, const OnvifFailure &failure);
    /**
     * @brief A change that applied in part: "Applied, but not the HTTP port. ..." from the
     *        parts that did not apply ("Gateway", "Address", "HttpPort") and why.
     */
    static QString notApplied(const QStringList &parts, const OnvifFailure &failure);
};

} // namespace VexoTool
