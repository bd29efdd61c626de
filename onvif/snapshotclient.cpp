// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotclient.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QImageReader>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <memory>

namespace onvif {

namespace {

// Room for the largest image ImageCheck lets through, decoded as 32-bit pixels.
constexpr int kAllocationLimitMb = int(ImageCheck::kMaxPixels * 4 / (1024 * 1024)) + 1;

SnapshotProblem problemOf(const Failure &f)
{
    using K = Failure::Kind;
    switch (f.kind) {
    case K::TooLarge:
        return SnapshotProblem::TooLarge;
    case K::TimedOut:
        return SnapshotProblem::TimedOut;
    case K::Unreachable:
    case K::Refused: // the connection was refused: nothing is listening
    case K::TlsFailed:
        return SnapshotProblem::Unreachable;
    default:
        return SnapshotProblem::Refused;
    }
}

} // namespace

const char *problemName(SnapshotProblem problem)
{
    switch (problem) {
    case SnapshotProblem::None:
        return "none";
    case SnapshotProblem::NotSignedIn:
        return "not signed in";
    case SnapshotProblem::NoMediaService:
        return "no media service";
    case SnapshotProblem::NoProfile:
        return "no media profile with video";
    case SnapshotProblem::Refused:
        return "refused by the device";
    case SnapshotProblem::TooLarge:
        return "image too large";
    case SnapshotProblem::NotAnImage:
        return "not an image";
    case SnapshotProblem::TimedOut:
        return "time-out";
    case SnapshotProblem::Unreachable:
        return "unreachable";
    }
    return "unknown";
}

QImage decodeCheckedImage(const QByteArray &bytes, ImageCheck::Format format, QSize scaledTo)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, ImageCheck::formatName(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    if (scaledTo.isValid()) {
        const QSize full = reader.size();
        if (full.isValid() && (full.width() > scaledTo.width() || full.height() > scaledTo.height()))
            reader.setScaledSize(full.scaled(scaledTo, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

struct SnapshotClient::Run
{
    Identity identity;
    Credentials credentials;
    Callback done;
    QSize scaledTo;
    QString wantedProfile;
    QElapsedTimer clock;
    media::MediaService service;
    QString profileToken;
    QUrl uri;
};

SnapshotClient::SnapshotClient(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_client(options.device, this)
    , m_fetcher({options.device.scope, options.imageTimeoutMs, options.maxImageBytes, m_client.options().pins}, this)
{}

void SnapshotClient::take(const Identity &identity, const std::optional<Credentials> &credentials, const Callback &done,
                          QSize scaledTo, const QString &profileToken)
{
    auto run = std::make_shared<Run>();
    run->identity = identity;
    run->done = done;
    run->scaledTo = scaledTo;
    run->wantedProfile = profileToken;
    run->clock.start();
    if (!credentials || !identity.authenticated) {
        finish(run, SnapshotProblem::NotSignedIn,
               Failure::of(Failure::Kind::InvalidArgument, QStringLiteral("not signed in to the device")));
        return;
    }
    run->credentials = *credentials;
    readServices(run);
}

void SnapshotClient::readServices(const std::shared_ptr<Run> &run)
{
    m_client.post(
        run->identity.requestUrl(), deviceAction(QStringLiteral("GetServices")), run->credentials,
        run->identity.clockOffsetSeconds, media::getServices,
        [this, run](const Outcome<QByteArray> &a) {
            auto r = readAnswer<QList<media::Service>>(a, [](QByteArrayView x) { return media::parseServices(x); });
            if (!r) {
                // Older devices know GetCapabilities only; a refusal of the credentials stands.
                if (r.failure.kind == Failure::Kind::SoapFault || r.failure.kind == Failure::Kind::Malformed
                    || r.failure.kind == Failure::Kind::HttpStatus)
                    return readCapabilities(run);
                return finish(run, problemOf(r.failure), r.failure);
            }
            run->service = media::pickService(*r.value, QString());
            if (run->service.xaddr.isEmpty())
                return readCapabilities(run);
            readProfiles(run);
        },
        run->identity.peer());
}

void SnapshotClient::readCapabilities(const std::shared_ptr<Run> &run)
{
    m_client.post(
        run->identity.requestUrl(), deviceAction(QStringLiteral("GetCapabilities")), run->credentials,
        run->identity.clockOffsetSeconds, devicemgmt::getCapabilities,
        [this, run](const Outcome<QByteArray> &a) {
            auto r = readAnswer<devicemgmt::Capabilities>(
                a, [](QByteArrayView x) { return devicemgmt::parseCapabilities(x); });
            if (!r)
                return finish(run, problemOf(r.failure), r.failure);
            run->service = media::pickService({}, r.value->media);
            if (run->service.xaddr.isEmpty()) {
                return finish(run, SnapshotProblem::NoMediaService,
                              Failure::of(Failure::Kind::None, QStringLiteral("the device lists no media service")));
            }
            readProfiles(run);
        },
        run->identity.peer());
}

void SnapshotClient::readProfiles(const std::shared_ptr<Run> &run)
{
    const media::Version version = run->service.version;
    m_client.post(
        media::onDeviceHost(run->service.xaddr, run->identity.requestUrl()),
        media::action(version, QStringLiteral("GetProfiles")), run->credentials, run->identity.clockOffsetSeconds,
        [version](const devicemgmt::Auth &auth) { return media::getProfiles(version, auth); },
        [this, run, version](const Outcome<QByteArray> &a) {
            auto r = readAnswer<QList<media::Profile>>(
                a, [version](QByteArrayView x) { return media::parseProfiles(version, x); });
            if (!r) {
                const bool unsupported = r.failure.fault && r.failure.fault->hasSubcode(u"ActionNotSupported");
                return finish(run,
                              unsupported || r.failure.httpStatus == 404 ? SnapshotProblem::NoMediaService
                                                                         : problemOf(r.failure),
                              r.failure);
            }
            const media::Profile *profile = nullptr;
            for (const media::Profile &p : *r.value) {
                if (!run->wantedProfile.isEmpty() && p.token == run->wantedProfile && p.hasVideoSource)
                    profile = &p;
            }
            if (!profile && run->wantedProfile.isEmpty())
                profile = media::firstWithVideo(*r.value);
            if (!profile) {
                return finish(
                    run, SnapshotProblem::NoProfile,
                    Failure::of(Failure::Kind::None,
                                run->wantedProfile.isEmpty()
                                    ? QStringLiteral("no profile has a video source")
                                    : QStringLiteral("no profile '%1' with a video source").arg(run->wantedProfile)));
            }
            run->profileToken = profile->token;
            readSnapshotUri(run);
        },
        run->identity.peer());
}

void SnapshotClient::readSnapshotUri(const std::shared_ptr<Run> &run)
{
    const media::Version version = run->service.version;
    const QString token = run->profileToken;
    m_client.post(
        media::onDeviceHost(run->service.xaddr, run->identity.requestUrl()),
        media::action(version, QStringLiteral("GetSnapshotUri")), run->credentials, run->identity.clockOffsetSeconds,
        [version, token](const devicemgmt::Auth &auth) {
            return media::getSnapshotUri(version, auth, token).value.value_or(QByteArray());
        },
        [this, run, version](const Outcome<QByteArray> &a) {
            auto r
                = readAnswer<QString>(a, [version](QByteArrayView x) { return media::parseSnapshotUri(version, x); });
            if (!r)
                return finish(run, problemOf(r.failure), r.failure);
            run->uri = media::onDeviceHost(*r.value, run->identity.requestUrl());
            fetchImage(run);
        },
        run->identity.peer());
}

void SnapshotClient::fetchImage(const std::shared_ptr<Run> &run)
{
    m_fetcher.fetch(run->uri, run->credentials, run->identity.peer(), [this, run](const Outcome<QByteArray> &a) {
        if (!a)
            return finish(run, problemOf(a.failure), a.failure);
        const ImageCheck::Result header = ImageCheck::inspect(*a.value);
        if (header.verdict != ImageCheck::Verdict::Image) {
            const auto problem = header.verdict == ImageCheck::Verdict::TooLarge ? SnapshotProblem::TooLarge
                                                                                 : SnapshotProblem::NotAnImage;
            return finish(run, problem, Failure::of(Failure::Kind::Malformed, header.reason));
        }
        decode(run, *a.value, header);
    });
}

void SnapshotClient::decode(const std::shared_ptr<Run> &run, QByteArray bytes, const ImageCheck::Result &header)
{
    // Decoding a large JPEG takes longer than a frame: a worker does it, the result comes back here.
    auto promise = std::make_shared<QPromise<QImage>>();
    promise->start();
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, run, watcher, bytes, header] {
        watcher->deleteLater();
        const QImage image = watcher->future().resultCount() > 0 ? watcher->result() : QImage();
        if (image.isNull()) {
            return finish(
                run, SnapshotProblem::NotAnImage,
                Failure::of(Failure::Kind::Malformed,
                            QStringLiteral("the %1 does not decode").arg(ImageCheck::formatName(header.format))));
        }
        Snapshot s;
        s.image = image;
        s.bytes = bytes;
        s.format = header.format;
        s.size = QSize(header.width, header.height);
        s.takenAt = QDateTime::currentDateTimeUtc();
        s.elapsedMs = run->clock.elapsed();
        s.profileToken = run->profileToken;
        s.uri = run->uri;
        SnapshotOutcome o;
        o.snapshot = std::move(s);
        run->done(o);
    });
    watcher->setFuture(promise->future());
    const QSize scaledTo = run->scaledTo;
    const ImageCheck::Format format = header.format;
    QThreadPool::globalInstance()->start([promise, bytes = std::move(bytes), format, scaledTo] {
        promise->addResult(decodeCheckedImage(bytes, format, scaledTo));
        promise->finish();
    });
}

void SnapshotClient::finish(const std::shared_ptr<Run> &run, SnapshotProblem problem, const Failure &failure)
{
    SnapshotOutcome o;
    o.problem = problem;
    o.failure = failure;
    // Later, so that no callback runs inside take().
    QTimer::singleShot(0, this, [run, o] { run->done(o); });
}

} // namespace onvif
