// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QXmlStreamWriter;

/** @brief How a simulated camera's media service and still image misbehave, for tests and demos. */
enum class SnapshotQuirk {
    None,     ///< answers as a camera should
    Slow,     ///< the image comes after kSlowSnapshotMs
    Huge,     ///< the image is kHugeSnapshotBytes long
    NotImage, ///< the image address answers with a web page
    NoMedia,  ///< no media service at all
};

/** @brief The quirk's console name (normal, slow, huge, text, nomedia) and back. */
QString snapshotQuirkName(SnapshotQuirk quirk);
std::optional<SnapshotQuirk> snapshotQuirkFromName(QStringView name);

/**
 * @brief A simulated camera's media services (Media and Media2: GetProfiles and GetSnapshotUri)
 * as pure functions from a request's operation to the answer's body content.
 *
 * Every camera has two profiles: an audio-only one first (so that a client must look for the
 * video source) and a video one, whose snapshot is served at kSnapshotPath.
 */
namespace onvifmedia {

inline constexpr int kSlowSnapshotMs = 15000;
inline constexpr qsizetype kHugeSnapshotBytes = 50 * 1024 * 1024;
inline const QByteArray kMediaPath = QByteArrayLiteral("/onvif/media_service");
inline const QByteArray kMedia2Path = QByteArrayLiteral("/onvif/media2_service");
inline const QByteArray kSnapshotPath = QByteArrayLiteral("/onvif/snapshot.jpg");
inline const QString kVideoProfile = QStringLiteral("profile_video");

/** @brief The namespace of the media service served at @p path; empty for another path. */
QString serviceAt(QByteArrayView path);
/** @brief Writes the Media and Media2 entries of GetServices, under @p base ("http://host:port"). */
void writeServices(QXmlStreamWriter &w, const QString &base);
/** @brief Writes GetCapabilities' Media element. */
void writeCapabilities(QXmlStreamWriter &w, const QString &base);
/**
 * @brief Writes the response to @p operation of the service @p serviceNs into @p w, true when
 * it is one the simulator answers; @p profileToken is the request's, for GetSnapshotUri.
 * @p error is set for a token the device does not have.
 */
bool writeAnswer(QXmlStreamWriter &w, const QString &serviceNs, QStringView operation, const QString &profileToken,
                 const QString &base, QString *error);

} // namespace onvifmedia
