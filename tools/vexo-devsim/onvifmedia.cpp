// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifmedia.h"

#include <namespaces.h>

#include <QXmlStreamWriter>

#include <tuple>

using namespace onvif;
using onvifmedia::kVideoProfile;

namespace {

const QString kMediaNs = QStringLiteral("http://www.onvif.org/ver10/media/wsdl");
const QString kMedia2Ns = QStringLiteral("http://www.onvif.org/ver20/media/wsdl");
const QString kAudioProfile = QStringLiteral("profile_audio");

void tt(QXmlStreamWriter &w, const char *name, const QString &text)
{
    w.writeTextElement(ns::kSchema, QLatin1String(name), text);
}

void writeVideoSource(QXmlStreamWriter &w, const QString &elementNs, const QString &element)
{
    w.writeStartElement(elementNs, element);
    w.writeAttribute(QStringLiteral("token"), QStringLiteral("vsc0"));
    tt(w, "Name", QStringLiteral("Video source"));
    tt(w, "UseCount", QStringLiteral("1"));
    tt(w, "SourceToken", QStringLiteral("vs0"));
    w.writeStartElement(ns::kSchema, QStringLiteral("Bounds"));
    w.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    w.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    w.writeAttribute(QStringLiteral("width"), QStringLiteral("640"));
    w.writeAttribute(QStringLiteral("height"), QStringLiteral("360"));
    w.writeEndElement();
    w.writeEndElement();
}

void writeProfiles(QXmlStreamWriter &w, const QString &serviceNs)
{
    for (const QString &token : {kAudioProfile, kVideoProfile}) {
        w.writeStartElement(serviceNs, QStringLiteral("Profiles"));
        w.writeAttribute(QStringLiteral("token"), token);
        w.writeAttribute(QStringLiteral("fixed"), QStringLiteral("true"));
        const QString name = token == kVideoProfile ? QStringLiteral("Main stream") : QStringLiteral("Audio");
        if (serviceNs == kMedia2Ns) {
            w.writeTextElement(kMedia2Ns, QStringLiteral("Name"), name);
            w.writeStartElement(kMedia2Ns, QStringLiteral("Configurations"));
            if (token == kVideoProfile)
                writeVideoSource(w, kMedia2Ns, QStringLiteral("VideoSource"));
            w.writeEndElement();
        } else {
            tt(w, "Name", name);
            if (token == kVideoProfile)
                writeVideoSource(w, ns::kSchema, QStringLiteral("VideoSourceConfiguration"));
        }
        w.writeEndElement();
    }
}

} // namespace

QString snapshotQuirkName(SnapshotQuirk quirk)
{
    switch (quirk) {
    case SnapshotQuirk::None:
        return QStringLiteral("normal");
    case SnapshotQuirk::Slow:
        return QStringLiteral("slow");
    case SnapshotQuirk::Huge:
        return QStringLiteral("huge");
    case SnapshotQuirk::NotImage:
        return QStringLiteral("text");
    case SnapshotQuirk::NoMedia:
        return QStringLiteral("nomedia");
    }
    return {};
}

std::optional<SnapshotQuirk> snapshotQuirkFromName(QStringView name)
{
    for (SnapshotQuirk q : {SnapshotQuirk::None, SnapshotQuirk::Slow, SnapshotQuirk::Huge, SnapshotQuirk::NotImage,
                            SnapshotQuirk::NoMedia}) {
        if (snapshotQuirkName(q) == name)
            return q;
    }
    return std::nullopt;
}

namespace onvifmedia {

QString serviceAt(QByteArrayView path)
{
    if (path == kMediaPath)
        return kMediaNs;
    if (path == kMedia2Path)
        return kMedia2Ns;
    return {};
}

void writeServices(QXmlStreamWriter &w, const QString &base)
{
    for (const auto &[serviceNs, path, major] :
         {std::tuple{kMediaNs, kMediaPath, "2"}, std::tuple{kMedia2Ns, kMedia2Path, "2"}}) {
        w.writeStartElement(ns::kDevice, QStringLiteral("Service"));
        w.writeTextElement(ns::kDevice, QStringLiteral("Namespace"), serviceNs);
        w.writeTextElement(ns::kDevice, QStringLiteral("XAddr"), base + QString::fromLatin1(path));
        w.writeStartElement(ns::kDevice, QStringLiteral("Version"));
        tt(w, "Major", QLatin1String(major));
        tt(w, "Minor", QStringLiteral("60"));
        w.writeEndElement();
        w.writeEndElement();
    }
}

void writeCapabilities(QXmlStreamWriter &w, const QString &base)
{
    w.writeStartElement(ns::kSchema, QStringLiteral("Media"));
    tt(w, "XAddr", base + QString::fromLatin1(kMediaPath));
    w.writeStartElement(ns::kSchema, QStringLiteral("StreamingCapabilities"));
    tt(w, "RTPMulticast", QStringLiteral("false"));
    tt(w, "RTP_TCP", QStringLiteral("true"));
    tt(w, "RTP_RTSP_TCP", QStringLiteral("true"));
    w.writeEndElement();
    w.writeEndElement();
}

bool writeAnswer(QXmlStreamWriter &w, const QString &serviceNs, QStringView operation, const QString &profileToken,
                 const QString &base, QString *error)
{
    if (operation == u"GetProfiles") {
        w.writeStartElement(serviceNs, QStringLiteral("GetProfilesResponse"));
        writeProfiles(w, serviceNs);
        w.writeEndElement();
        return true;
    }
    if (operation != u"GetSnapshotUri")
        return false;
    if (profileToken != kVideoProfile) {
        *error = profileToken == kAudioProfile ? QStringLiteral("The profile has no video source")
                                               : QStringLiteral("No profile %1").arg(profileToken.left(64));
        return true;
    }
    const QString uri = base + QString::fromLatin1(kSnapshotPath);
    w.writeStartElement(serviceNs, QStringLiteral("GetSnapshotUriResponse"));
    if (serviceNs == kMedia2Ns) {
        w.writeTextElement(kMedia2Ns, QStringLiteral("Uri"), uri);
    } else {
        w.writeStartElement(kMediaNs, QStringLiteral("MediaUri"));
        tt(w, "Uri", uri);
        tt(w, "InvalidAfterConnect", QStringLiteral("false"));
        tt(w, "InvalidAfterReboot", QStringLiteral("false"));
        tt(w, "Timeout", QStringLiteral("PT0S"));
        w.writeEndElement();
    }
    w.writeEndElement();
    return true;
}

} // namespace onvifmedia
