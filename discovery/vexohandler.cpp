// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "vexohandler.h"

#include <QDebug>
#include <QLoggingCategory>

#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace VEXO {

namespace {

Q_LOGGING_CATEGORY(lcDiscovery, "vexo.discovery")

// Set when a wrapper refuses its arguments without calling the library, whose own last
// error would then describe an older call. Per thread, like the library's.
thread_local quint32 t_refusedError = VEXO_NOERROR;

// Bytes the library takes as a C string: an embedded NUL would cut the text short.
bool isCleanText(const QByteArray &text)
{
    return !text.contains('\0');
}

bool refuseUnlessClean(std::initializer_list<const QByteArray *> texts, const char *operation)
{
    t_refusedError = VEXO_NOERROR;
    for (const QByteArray *text : texts) {
        if (!isCleanText(*text)) {
            qCWarning(lcDiscovery, "%s: a text holds a NUL byte, not sent to the device", operation);
            t_refusedError = VEXO_ERR_BAD_ARGUMENT;
            return true;
        }
    }
    return false;
}

// The search for each terminator starts at the field and may run on into the following
// fields, but is cut at the end of the record.
constexpr std::size_t kPlausibilityFields[] = {
    offsetof(VEXO_DEVICE_INFO, leadText),       offsetof(VEXO_DEVICE_INFO, serialNumber),
    offsetof(VEXO_DEVICE_INFO, macAddress),     offsetof(VEXO_DEVICE_INFO, ipv4Address),
    offsetof(VEXO_DEVICE_INFO, ipv4SubnetMask), offsetof(VEXO_DEVICE_INFO, softwareVersion),
    offsetof(VEXO_DEVICE_INFO, dspVersion),     offsetof(VEXO_DEVICE_INFO, startTime),
};
constexpr std::size_t kPlausibleTextLength = 64;

} // namespace

bool VexoHandler::isPlausibleRecord(const VEXO_DEVICE_INFO &record)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(&record);
    for (const std::size_t offset : kPlausibilityFields) {
        const std::size_t span = qMin(kPlausibleTextLength, sizeof(VEXO_DEVICE_INFO) - offset);
        if (std::memchr(bytes + offset, 0, span))
            return true;
    }
    return false;
}

VexoHandler::VexoHandler()
    : VexoHandler(VexoLibrary::linked())
{}

VexoHandler::VexoHandler(const VexoLibrary &library, QObject *parent)
    : QObject(parent)
    , m_library(library)
{
    Q_ASSERT(m_library.isComplete());
    m_library.setLogToFile(3, nullptr, 1);
}

bool VexoHandler::useLibrary(const VexoLibrary &library)
{
    if (m_started || !library.isComplete())
        return false;
    m_library = library;
    m_library.setLogToFile(3, nullptr, 1);
    return true;
}

VexoHandler::~VexoHandler()
{
    stop();
}

bool VexoHandler::start()
{
    if (m_started)
        return true;
    if (m_library.start(&VexoHandler::deviceCallback, 1, this) < 1) {
        qCWarning(lcDiscovery) << "the discovery library did not start, error" << m_library.getLastError();
        return false;
    }
    m_started = true;
    return true;
}

bool VexoHandler::stop()
{
    if (!m_started)
        return true;
    if (m_library.stop() < 1)
        return false;
    m_started = false;
    return true;
}

bool VexoHandler::sendInquiry()
{
    t_refusedError = VEXO_NOERROR;
    return m_library.sendInquiry() >= 1;
}

bool VexoHandler::clearup()
{
    t_refusedError = VEXO_NOERROR;
    return m_library.clearup() >= 1;
}

bool VexoHandler::setDeviceFilterRule(bool filter)
{
    t_refusedError = VEXO_NOERROR;
    if (m_library.setDeviceFilterRule(filter ? 1 : 0, nullptr, 0) == 0) {
        qDebug("[VexoHandler::setDeviceFilterRule] VEXO_SetDeviceFilterRule error = %u", m_library.getLastError());
        return false;
    }
    return true;
}

bool VexoHandler::activateDevice(const QByteArray &serialNumber, const QByteArray &password)
{
    if (refuseUnlessClean({&serialNumber, &password}, "activateDevice"))
        return false;
    return m_library.activateDevice(serialNumber.constData(), password.constData()) >= 1;
}

bool VexoHandler::modifyDeviceNetParam(const QByteArray &macAddress, const QByteArray &password,
                                       const DeviceNetParam &param)
{
    if (refuseUnlessClean({&macAddress, &password}, "modifyDeviceNetParam"))
        return false;
    return m_library.modifyDeviceNetParam(macAddress.constData(), password.constData(), &param) >= 1;
}

bool VexoHandler::getDeviceConfig(const QByteArray &serialNumber, quint32 command, const void *input,
                                  quint32 inputLength, void *output, quint32 outputLength)
{
    if (refuseUnlessClean({&serialNumber}, "getDeviceConfig"))
        return false;
    return m_library.getDeviceConfig(serialNumber.constData(), command, input, inputLength, output, outputLength) >= 1;
}

bool VexoHandler::resetPasswd(const QByteArray &serialNumber, const VEXO_RESET_PARAM &param)
{
    if (refuseUnlessClean({&serialNumber}, "resetPasswd"))
        return false;
    return m_library.resetPasswd(serialNumber.constData(), &param) >= 1;
}

bool VexoHandler::resetDefaultPasswd(const QByteArray &serialNumber, const QByteArray &securityCode)
{
    if (refuseUnlessClean({&serialNumber, &securityCode}, "resetDefaultPasswd"))
        return false;
    return m_library.resetDefaultPasswd(serialNumber.constData(), securityCode.constData()) >= 1;
}

quint32 VexoHandler::getLastError() const
{
    return t_refusedError != VEXO_NOERROR ? t_refusedError : m_library.getLastError();
}

void VEXO_CALLBACK VexoHandler::deviceCallback(const VEXO_DEVICE_INFO *pDeviceInfo, void *pUserData)
{
    if (!pDeviceInfo || !pUserData)
        return;
    // Copied first: the library's buffer is only valid during this call.
    const VEXO_DEVICE_INFO record = *pDeviceInfo;
    if (!isPlausibleRecord(record))
        return;
    auto *handler = static_cast<VexoHandler *>(pUserData);
    switch (record.eventCode) {
    case VEXO_EVENT_ONLINE:
    case 4: // handled exactly as online
        emit handler->signalDeviceOnline(record);
        break;
    case VEXO_EVENT_CHANGED:
        emit handler->signalDeviceUpdate(record);
        break;
    case VEXO_EVENT_OFFLINE:
        emit handler->signalDeviceOffline(record);
        break;
    default:
        break;
    }
}

} // namespace VEXO
