// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "result.h"
#include "soapdocument.h"

namespace onvif {

/**
 * @brief A received SOAP 1.2 envelope: its document, header and the one element of its body.
 */
struct SoapEnvelope
{
    SoapDocument document;
    int header = -1;  ///< the Header element, or -1
    int payload = -1; ///< the single element inside Body
};

/**
 * @brief Reads @p xml as a SOAP 1.2 envelope (see SoapDocument for what is refused).
 *
 * An envelope whose body holds a Fault comes back with the fault set; one in another SOAP
 * version, without a body or with other than one element in it is refused.
 */
Result<SoapEnvelope> readSoapEnvelope(QByteArrayView xml, qsizetype maxBytes);

} // namespace onvif
