// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "deviceclient.h"
#include "deviceoperations.h"
#include "failure.h"
#include "imagecheck.h"
#include "media.h"
#include "snapshotfetcher.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QUrl>

#include <functional>
#include <optional>

namespace onvif {

/** @brief A still image of what a camera sees. */
struct Snapshot
{
    QImage image;     ///< decoded (scaled down when the caller asked for a size)
    QByteArray bytes; ///< as the camera sent them, for saving unchanged
    ImageCheck::Format format = ImageCheck::Format::None;
    QSize size;           ///< the camera's image size, as its header states it
    QDateTime takenAt;    ///< when it arrived (UTC)
    qint64 elapsedMs = 0; ///< from the first request to the decoded image
    QString profileToken;
    QUrl uri;
};

/** @brief Why there is no snapshot. */
enum class SnapshotProblem {
    None,
    NotSignedIn,    ///< no credentials, or the device was not read with them: nothing was sent
    NoMediaService, ///< the device lists no media service, or it does not answer media requests
    NoProfile,      ///< no media profile has a video source
    Refused,        ///< the device declined (credentials, HTTP status, fault, certificate)
    TooLarge,       ///< more bytes than the limit, or more pixels than a decoder should hold
    NotAnImage,     ///< the body is neither a JPEG nor a PNG that decodes
    TimedOut,       ///< no complete answer in time
    Unreachable,    ///< the connection could not be made or broke
};

/** @brief A short English name of @p problem for logs and the command line ("no media service"). */
const char *problemName(SnapshotProblem problem);

/** @brief A snapshot, or why there is none (with the underlying failure's details). */
struct SnapshotOutcome
{
    std::optional<Snapshot> snapshot;
    SnapshotProblem problem = SnapshotProblem::None;
    Failure failure;
    explicit operator bool() const { return snapshot.has_value(); }
};

/**
 * @brief Takes a snapshot of a signed-in ONVIF camera: the media service's address from
 * GetServices (Media2 preferred) or GetCapabilities (Media), its profiles, the first profile
 * with a video source (or the one asked for), GetSnapshotUri, then the image itself
 * (SnapshotFetcher), checked by ImageCheck and only then decoded, in a worker thread.
 *
 * Nothing goes to a device that was not signed in to (Identity::authenticated and credentials).
 * Service and image addresses are only ever contacted on the host the device was reached at:
 * an answer naming another host is taken to mean the same device (behind address
 * translation), so credentials never go to a third party.
 *
 * Lives in the thread that created it and calls back there, exactly once per take().
 */
class SnapshotClient : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        DeviceClient::Options device; ///< its pins are shared with the image fetcher
        int imageTimeoutMs = 8000;
        qsizetype maxImageBytes = SnapshotFetcher::kMaxImageBytes;
    };

    using Callback = std::function<void(const SnapshotOutcome &)>;

    explicit SnapshotClient(const Options &options, QObject *parent = nullptr);

    /**
     * @brief Takes a snapshot of the device @p identity describes. @p scaledTo (when valid)
     * bounds the decoded image, keeping its aspect ratio; @p profileToken picks a profile.
     */
    void take(const Identity &identity, const std::optional<Credentials> &credentials, const Callback &done,
              QSize scaledTo = {}, const QString &profileToken = QString());

private:
    struct Run;
    void readServices(const std::shared_ptr<Run> &run);
    void readCapabilities(const std::shared_ptr<Run> &run);
    void readProfiles(const std::shared_ptr<Run> &run);
    void readSnapshotUri(const std::shared_ptr<Run> &run);
    void fetchImage(const std::shared_ptr<Run> &run);
    void decode(const std::shared_ptr<Run> &run, QByteArray bytes, const ImageCheck::Result &header);
    void finish(const std::shared_ptr<Run> &run, SnapshotProblem problem, const Failure &failure);

    Options m_options;
    DeviceClient m_client;
    SnapshotFetcher m_fetcher;
};

/** @brief Decodes checked image bytes with the decoder of @p format only, scaled within @p scaledTo when valid. */
QImage decodeCheckedImage(const QByteArray &bytes, ImageCheck::Format format, QSize scaledTo = {});

} // namespace onvif
