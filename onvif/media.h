// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file media.h
 * @brief What the program asks of an ONVIF media service to show what a camera sees: where the
 * service is (GetServices), its profiles (GetProfiles) and a still image's address
 * (GetSnapshotUri), in the Media (ver10) and Media2 (ver20) versions, as pure functions over
 * XML text.
 *
 * Builders return the whole SOAP 1.2 envelope; parsers accept only the expected response
 * element, or a SOAP fault, and refuse everything else with a reason.
 */

#include "devicemgmt.h"
#include "result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

namespace onvif::media {

/** @brief Which media service a request is for. */
enum class Version {
    Media,  ///< ver10, "trt"
    Media2, ///< ver20, "tr2"
};

/** @brief The service's namespace: also its SOAP action prefix and its name in GetServices. */
QString serviceNamespace(Version version);
/** @brief The SOAP action of @p operation ("GetProfiles") in @p version. */
QString action(Version version, const QString &operation);

/** @brief One service GetServices lists. */
struct Service
{
    QString namespaceUri;
    QString xaddr;
};

/** @brief A media profile: its token and whether it has a video source. */
struct Profile
{
    QString token;
    QString name;
    bool hasVideoSource = false;
};

/** @brief The media service a device offers, Media2 before Media; empty xaddr when none. */
struct MediaService
{
    Version version = Version::Media;
    QString xaddr;
};

/** @brief The media service among @p services (Media2 preferred), else @p capabilitiesMedia (Media). */
MediaService pickService(const QList<Service> &services, const QString &capabilitiesMedia);
/** @brief The first profile with a video source; nullptr when none has one. */
const Profile *firstWithVideo(const QList<Profile> &profiles);

/** @name Requests */
///@{
/** @brief The device service's GetServices, without capabilities. */
QByteArray getServices(const devicemgmt::Auth &auth);
QByteArray getProfiles(Version version, const devicemgmt::Auth &auth);
/** @brief Refuses a token that is empty or longer than the schema allows. */
Result<QByteArray> getSnapshotUri(Version version, const devicemgmt::Auth &auth, const QString &profileToken);
///@}

/** @name Responses (each refuses texts over @p maxBytes) */
///@{
Result<QList<Service>> parseServices(QByteArrayView xml, qsizetype maxBytes = devicemgmt::kMaxResponseBytes);
Result<QList<Profile>> parseProfiles(Version version, QByteArrayView xml,
                                     qsizetype maxBytes = devicemgmt::kMaxResponseBytes);
/** @brief The snapshot's address: an absolute http or https URL, anything else refused. */
Result<QString> parseSnapshotUri(Version version, QByteArrayView xml,
                                 qsizetype maxBytes = devicemgmt::kMaxResponseBytes);
///@}

/**
 * @brief Where to fetch what the device at @p device named as @p named: the same address with
 *        the host the device was reached at. A device behind address translation names its own
 *        inner address; and credentials never go to a host the user did not sign in to.
 */
QUrl onDeviceHost(const QString &named, const QUrl &device);

} // namespace onvif::media
