// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onviffault.h"

namespace VexoTool {

namespace {

// The local name of a qualified name: "ter:NotAuthorized" and "NotAuthorized" are the same fault
// whatever prefix the device bound to the namespace.
QString localName(const QString &qualified)
{
    const qsizetype colon = qualified.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? qualified.trimmed() : qualified.mid(colon + 1).trimmed();
}

struct SubcodeText
{
    const char *subcode;
    const char *text;
};

constexpr SubcodeText SubcodeTexts[] = {
    {"NotAuthorized", QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                                        "The device refused the user name or password. Check both and try again.")},
    {"InvalidIPv4Address",
     QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                       "The device refused the new IPv4 address or subnet mask. Choose another address.")},
    {"InvalidGatewayAddress",
     QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                       "The device refused the gateway. Enter a gateway inside the device's subnet.")},
    {"InvalidArgVal", QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                                        "The device refused one of the values. Check the fields and try again.")},
    {"ActionNotSupported",
     QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                       "The device does not support this change. Change the setting on the device's web page.")},
    {"InvalidNetworkInterface",
     QT_TRANSLATE_NOOP("VexoTool::OnvifFaultText",
                       "The device did not accept the network adapter named in the request. Select the device "
                       "again and retry.")},
};

QString readableReason(const QString &reason)
{
    QString text;
    for (const QChar c : reason) {
        if (c.isSpace())
            text.append(QChar(u' '));
        else if (!c.isNonCharacter() && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            text.append(c);
    }
    text = text.simplified();
    constexpr qsizetype MaxReason = 200;
    if (text.size() > MaxReason)
        text = text.left(MaxReason - 1) + QChar(0x2026);
    return text;
}

} // namespace

QString OnvifFaultText::missing(const QStringList &operations, const OnvifFailure &failure)
{
    QStringList what;
    for (const QString &operation : operations) {
        if (operation == u"GetDeviceInformation")
            what.append(tr("maker, model, firmware and serial number"));
        else if (operation == u"GetNetworkInterfaces")
            what.append(tr("MAC address and IPv4 settings"));
        else if (operation == u"GetNetworkDefaultGateway")
            what.append(tr("gateway"));
        else if (operation == u"GetNetworkProtocols")
            what.append(tr("HTTP port"));
        else
            what.append(operation);
    }
    //: %1 lists what a device did not tell, %2 says why
    return tr("Not read: %1. %2").arg(what.join(QStringLiteral(", ")), text(failure));
}

QString OnvifFaultText::notApplied(const QStringList &parts, const OnvifFailure &failure)
{
    QStringList what;
    for (const QString &part : parts) {
        if (part == u"Gateway")
            what.append(tr("the gateway"));
        else if (part == u"Address")
            what.append(tr("the IPv4 settings"));
        else
            what.append(tr("the HTTP port"));
    }
    //: %1 lists the parts of a change the device did not apply, %2 says why
    return tr("Applied, but not %1. %2").arg(what.join(tr(" and ")), text(failure));
}

QString OnvifFaultText::text(const OnvifFailure &failure)
{
    switch (failure.kind) {
    case OnvifFailureKind::Unreachable:
        return tr("The device cannot be reached. Check that it is on and that this computer has an address in the "
                  "device's subnet.");
    case OnvifFailureKind::ConnectionRefused:
        return tr("The device refused the connection: nothing answers on its HTTP port. Check the port in the list "
                  "and that the device's ONVIF service is on.");
    case OnvifFailureKind::TimedOut:
        return tr("The device did not answer in time and may still apply the change. Look at its values in the "
                  "list in a moment before trying again.");
    case OnvifFailureKind::HttpStatus:
        //: %1 is an HTTP status number such as 404 or 500
        return tr("The device answered with HTTP error %1 instead of carrying out the request. Try again later, or "
                  "make the change on the device's web page.")
            .arg(failure.httpStatus);
    case OnvifFailureKind::NotAuthorized:
        return tr("The device refused the user name or password. Check both and try again.");
    case OnvifFailureKind::MalformedAnswer:
        return tr("The device's answer could not be read. Update the device's firmware or make the change on its "
                  "web page.");
    case OnvifFailureKind::TooLarge:
        return tr("The device's answer was too large to be read safely and was ignored.");
    case OnvifFailureKind::ClearTextOnly:
        return tr("The device accepts the password only in readable form, which anyone on the network could see. "
                  "Nothing was sent. Turn on digest authentication on the device's web page.");
    case OnvifFailureKind::AddressNotAllowed:
        return tr("The device's address lies outside the network this program may contact, so nothing was sent "
                  "to it.");
    case OnvifFailureKind::CertificateChanged:
        return tr("The device presented another certificate than the one it showed before, so nothing was sent: "
                  "another computer may pose as the device. If the device was reset or got a new certificate, "
                  "forget its certificate in the panel and try again.");
    case OnvifFailureKind::TlsFailed:
        return tr("No secure connection to the device could be made (it needs TLS 1.2 or later). Nothing was "
                  "sent.");
    case OnvifFailureKind::NotEncrypted:
        return tr("The device offers no HTTPS, so the new password would cross the network readable by anyone on "
                  "it. Nothing was sent.");
    case OnvifFailureKind::Contested:
        return tr("A device at another address claims to be this device, so nothing was sent to either. Refresh "
                  "the list once the other device is gone.");
    case OnvifFailureKind::SoapFault:
        break;
    }

    // The innermost known subcode says the most.
    for (auto it = failure.subcodes.crbegin(); it != failure.subcodes.crend(); ++it) {
        const QString name = localName(*it);
        for (const SubcodeText &entry : SubcodeTexts) {
            if (name == QLatin1String(entry.subcode))
                return tr(entry.text);
        }
    }
    const QString reason = readableReason(failure.reason);
    if (!reason.isEmpty())
        //: %1 is the device's own explanation, in the language the device uses
        return tr("The device refused the request: %1").arg(reason);
    if (!failure.subcodes.isEmpty())
        //: %1 is a technical fault name such as "ter:InvalidArgs"
        return tr("The device refused the request without saying why (fault %1).")
            .arg(readableReason(failure.subcodes.last()));
    if (localName(failure.code) == QLatin1String("Sender"))
        return tr("The device refused the request as invalid. Check the values and try again.");
    return tr("The device could not carry out the request. Try again later.");
}

} // namespace VexoTool
