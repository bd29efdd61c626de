// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifdevice.h"

#include <namespaces.h>
#include <soapenvelope.h>
#include <usernametoken.h>

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QUrl>
#include <QXmlStreamWriter>

#include <algorithm>

#include <functional>

using namespace onvif;

namespace {

const QString kRealm = QStringLiteral("vexo-devsim");
const QString kWsdTo = QStringLiteral("urn:schemas-xmlsoap-org:ws:2005:04:discovery");
const QString kWsdActionBase = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/");
const QString kAnonymous = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous");
const QString kPasswordDigest = QStringLiteral("#PasswordDigest");
const QString kPasswordText = QStringLiteral("#PasswordText");
const QString kDeviceScopes
    = QStringLiteral("onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/Profile/Streaming");

using Writer = std::function<void(QXmlStreamWriter &)>;

/** A SOAP 1.2 envelope with the prefixes every answer of the simulator uses. */
QByteArray envelope(const Writer &body, const Writer &header = {})
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(ns::kSoapEnvelope, QStringLiteral("env"));
    w.writeNamespace(ns::kDevice, QStringLiteral("tds"));
    w.writeNamespace(ns::kSchema, QStringLiteral("tt"));
    w.writeNamespace(ns::kError, QStringLiteral("ter"));
    w.writeNamespace(ns::kAddressing2004, QStringLiteral("wsa"));
    w.writeNamespace(ns::kDiscovery, QStringLiteral("wsd"));
    w.writeNamespace(ns::kNetwork, QStringLiteral("dn"));
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Envelope"));
    if (header) {
        w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Header"));
        header(w);
        w.writeEndElement();
    }
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Body"));
    body(w);
    w.writeEndDocument();
    return out;
}

HttpResponse soapResponse(int status, QByteArray body)
{
    HttpResponse r;
    r.status = status;
    r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "application/soap+xml; charset=utf-8"));
    r.body = std::move(body);
    return r;
}

/** A fault with @p code (Sender or Receiver) and the ter: subcodes, outermost first. */
HttpResponse fault(int status, const QString &code, const QStringList &subcodes, const QString &reason)
{
    return soapResponse(
        status, envelope([&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Fault"));
            w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Code"));
            w.writeTextElement(ns::kSoapEnvelope, QStringLiteral("Value"), QStringLiteral("env:") + code);
            for (const QString &s : subcodes) {
                w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Subcode"));
                w.writeTextElement(ns::kSoapEnvelope, QStringLiteral("Value"), QStringLiteral("ter:") + s);
            }
            for (qsizetype i = 0; i < subcodes.size(); ++i)
                w.writeEndElement();
            w.writeEndElement(); // Code
            w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Reason"));
            w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Text"));
            w.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("en"));
            w.writeCharacters(reason);
            w.writeEndElement();
            w.writeEndElement(); // Reason
            w.writeEndElement(); // Fault
        }));
}

HttpResponse senderFault(const QStringList &subcodes, const QString &reason)
{
    return fault(400, QStringLiteral("Sender"), subcodes, reason);
}

HttpResponse notAuthorized(const QString &reason)
{
    return senderFault({QStringLiteral("NotAuthorized")}, reason);
}

HttpResponse plain(int status, const QByteArray &text)
{
    HttpResponse r;
    r.status = status;
    r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "text/plain; charset=utf-8"));
    r.body = text + '\n';
    return r;
}

QString boolText(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

std::optional<bool> parseBool(const QString &text)
{
    if (text == u"true" || text == u"1")
        return true;
    if (text == u"false" || text == u"0")
        return false;
    return std::nullopt;
}

bool isIpv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        bool ok = false;
        const uint v = p.toUInt(&ok);
        if (!ok || p.isEmpty() || p.size() > 3 || (p.size() > 1 && p.front() == u'0') || !p.front().isDigit()
            || v > 255)
            return false;
    }
    return true;
}

/** Usable as a host's own address: not 0.0.0.0, multicast, broadcast or reserved. */
bool isHostAddress(const QString &text)
{
    if (!isIpv4(text))
        return false;
    const int first = text.section(QLatin1Char('.'), 0, 0).toInt();
    return first != 0 && first < 224;
}

QByteArray hashHex(QCryptographicHash::Algorithm algorithm, const QByteArray &data)
{
    return QCryptographicHash::hash(data, algorithm).toHex();
}

/** Splits a Digest header's parameters: key=value or key="quoted value", comma-separated. */
QHash<QByteArray, QByteArray> digestParameters(QByteArrayView text)
{
    QHash<QByteArray, QByteArray> out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && (text[i] == ' ' || text[i] == ','))
            ++i;
        const qsizetype keyStart = i;
        while (i < n && text[i] != '=' && text[i] != ',')
            ++i;
        const QByteArray key = text.sliced(keyStart, i - keyStart).trimmed().toByteArray().toLower();
        if (i >= n || text[i] != '=')
            break;
        ++i;
        QByteArray value;
        if (i < n && text[i] == '"') {
            ++i;
            while (i < n && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                value += text[i++];
            }
            ++i; // closing quote
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != ',')
                ++i;
            value = text.sliced(start, i - start).trimmed().toByteArray();
        }
        if (!key.isEmpty() && !out.contains(key))
            out.insert(key, value);
    }
    return out;
}

QString timeText(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

} // namespace

namespace {

constexpr OnvifQuirk kQuirks[] = {OnvifQuirk::Soap11, OnvifQuirk::DeviceNamespace, OnvifQuirk::Fault200,
                                  OnvifQuirk::Silent, OnvifQuirk::PortWaits,       OnvifQuirk::NoInterfaces};

const QString kSoap11Envelope = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

// A fault as the device's quirks write it: SOAP 1.1 faultcode and faultstring, and with HTTP 200
// and the innermost ONVIF subcode as the code.
HttpResponse quirkyFault(const HttpResponse &standard, const SoapFault &f, quint32 quirks)
{
    const bool soap11 = quirks & quint32(OnvifQuirk::Soap11);
    const bool at200 = quirks & quint32(OnvifQuirk::Fault200);
    const QString innermost = f.subcodes.isEmpty() ? QString() : QStringLiteral("ter:") + f.subcodes.last().localName;
    QString code = QStringLiteral("env:") + f.code.localName;
    if (at200 && !innermost.isEmpty())
        code = innermost;
    else if (soap11)
        code = !innermost.isEmpty()
                   ? innermost
                   : QStringLiteral("env:")
                         + (f.code.localName == u"Sender" ? QStringLiteral("Client") : QStringLiteral("Server"));
    const QString envelopeNs = soap11 ? kSoap11Envelope : ns::kSoapEnvelope;
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(envelopeNs, QStringLiteral("env"));
    w.writeNamespace(ns::kError, QStringLiteral("ter"));
    w.writeStartElement(envelopeNs, QStringLiteral("Envelope"));
    w.writeStartElement(envelopeNs, QStringLiteral("Body"));
    w.writeStartElement(envelopeNs, QStringLiteral("Fault"));
    if (soap11) {
        w.writeTextElement(QStringLiteral("faultcode"), code);
        w.writeTextElement(QStringLiteral("faultstring"), f.reason);
    } else {
        w.writeStartElement(envelopeNs, QStringLiteral("Code"));
        w.writeTextElement(envelopeNs, QStringLiteral("Value"), code);
        w.writeEndElement();
        w.writeStartElement(envelopeNs, QStringLiteral("Reason"));
        w.writeStartElement(envelopeNs, QStringLiteral("Text"));
        w.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("en"));
        w.writeCharacters(f.reason);
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndDocument();
    HttpResponse r = standard;
    r.body = out;
    if (at200)
        r.status = 200;
    return r;
}

// The answer as the device's quirks write it; the standard answer is built first.
HttpResponse withQuirks(HttpResponse r, quint32 quirks)
{
    if (quirks == 0 || r.body.isEmpty() || r.closeWithoutAnswer)
        return r;
    const Result<SoapEnvelope> env = readSoapEnvelope(r.body, 4 * 1024 * 1024);
    if (env.fault && (quirks & (quint32(OnvifQuirk::Soap11) | quint32(OnvifQuirk::Fault200))))
        return quirkyFault(r, *env.fault, quirks);
    if (!env)
        return r;
    // Every answer binds its prefixes once on the envelope: rebinding them moves the elements.
    if (quirks & quint32(OnvifQuirk::DeviceNamespace))
        r.body.replace("xmlns:tt=\"" + ns::kSchema.toUtf8() + '"', "xmlns:tt=\"" + ns::kDevice.toUtf8() + '"');
    if (quirks & quint32(OnvifQuirk::Soap11))
        r.body.replace("xmlns:env=\"" + ns::kSoapEnvelope.toUtf8() + '"',
                       "xmlns:env=\"" + kSoap11Envelope.toUtf8() + '"');
    return r;
}

} // namespace

QString quirkName(OnvifQuirk quirk)
{
    switch (quirk) {
    case OnvifQuirk::Soap11:
        return QStringLiteral("soap11");
    case OnvifQuirk::DeviceNamespace:
        return QStringLiteral("device-ns");
    case OnvifQuirk::Fault200:
        return QStringLiteral("fault-200");
    case OnvifQuirk::Silent:
        return QStringLiteral("silent");
    case OnvifQuirk::PortWaits:
        return QStringLiteral("port-waits");
    case OnvifQuirk::NoInterfaces:
        return QStringLiteral("no-interfaces");
    }
    return {};
}

std::optional<OnvifQuirk> quirkFromName(QStringView name)
{
    for (OnvifQuirk q : kQuirks) {
        if (quirkName(q) == name)
            return q;
    }
    return std::nullopt;
}

QStringList quirkNames(quint32 quirks)
{
    QStringList out;
    for (OnvifQuirk q : kQuirks) {
        if (quirks & quint32(q))
            out.append(quirkName(q));
    }
    return out;
}

QString authModeName(OnvifAuthMode mode)
{
    switch (mode) {
    case OnvifAuthMode::WsSecurity:
        return QStringLiteral("wsse");
    case OnvifAuthMode::HttpDigest:
        return QStringLiteral("digest");
    case OnvifAuthMode::Both:
        return QStringLiteral("both");
    case OnvifAuthMode::ClearText:
        return QStringLiteral("text");
    }
    return {};
}

std::optional<OnvifAuthMode> authModeFromName(QStringView name)
{
    for (OnvifAuthMode m :
         {OnvifAuthMode::WsSecurity, OnvifAuthMode::HttpDigest, OnvifAuthMode::Both, OnvifAuthMode::ClearText}) {
        if (authModeName(m) == name)
            return m;
    }
    return std::nullopt;
}

OnvifDevice::OnvifDevice(OnvifDeviceState state)
    : m_state(std::move(state))
{}

QString OnvifDevice::xaddr() const
{
    return xaddrs().value(0);
}

QStringList OnvifDevice::xaddrs() const
{
    QStringList out;
    if (m_state.https)
        out.append(QStringLiteral("https://%1:%2%3")
                       .arg(m_state.ipv4)
                       .arg(m_state.httpsPort)
                       .arg(QLatin1String(kServicePath)));
    if (m_state.servesHttp())
        out.append(
            QStringLiteral("http://%1:%2%3").arg(m_state.ipv4).arg(m_state.httpPort).arg(QLatin1String(kServicePath)));
    return out;
}

const OnvifUser *OnvifDevice::user(const QString &name) const
{
    for (const OnvifUser &u : m_state.users) {
        if (u.name == name)
            return &u;
    }
    return nullptr;
}

void OnvifDevice::reboot()
{
    if (m_pending) {
        m_state = std::move(*m_pending);
        m_pending.reset();
        ++m_state.metadataVersion;
    }
    // A restarted device has forgotten its nonces.
    m_digestNonces.clear();
    m_usedTokenNonces.clear();
}

HttpResponse OnvifDevice::handle(const HttpRequest &request, const QDateTime &nowUtc)
{
    const bool media = m_state.snapshotQuirk != SnapshotQuirk::NoMedia;
    if (media && request.path == onvifmedia::kSnapshotPath)
        return snapshot(request, nowUtc);
    return withQuirks(answer(request, nowUtc), m_state.quirks);
}

HttpResponse OnvifDevice::answer(const HttpRequest &request, const QDateTime &nowUtc)
{
    const bool media = m_state.snapshotQuirk != SnapshotQuirk::NoMedia;
    if (request.method != "POST")
        return plain(405, "only POST is served here");
    const QString mediaNs = media ? onvifmedia::serviceAt(request.path) : QString();
    if (request.path != kServicePath && mediaNs.isEmpty())
        return plain(404, "no service at " + request.path.left(200));
    if (request.body.size() > kMaxBodyBytes)
        return plain(413, "the request is larger than " + QByteArray::number(kMaxBodyBytes) + " bytes");

    const OnvifInjectedFault injected = std::exchange(m_fault, OnvifInjectedFault::None);
    if (injected == OnvifInjectedFault::Close) {
        HttpResponse r;
        r.closeWithoutAnswer = true;
        return r;
    }
    if (injected == OnvifInjectedFault::Garbage)
        return soapResponse(200, "<env:Envelope this is not XML");
    if (injected == OnvifInjectedFault::Receiver)
        return fault(500, QStringLiteral("Receiver"), {QStringLiteral("Action")},
                     QStringLiteral("The device failed to carry out the action (injected fault)"));

    Result<SoapEnvelope> env = readSoapEnvelope(request.body, kMaxBodyBytes);
    if (env && env.value->version != SoapVersion::Soap12)
        return fault(500, QStringLiteral("VersionMismatch"), {}, QStringLiteral("SOAP version mismatch"));
    if (!env) {
        // A client that authenticates on the HTTP level may send an empty body to fetch the challenge.
        if (m_state.authMode != OnvifAuthMode::WsSecurity && request.body.isEmpty()
            && request.header("Authorization").isNull()) {
            HttpResponse r = challenge(false, nowUtc);
            r.body = notAuthorized(QStringLiteral("The action requires authorization")).body;
            return r;
        }
        return senderFault({QStringLiteral("WellFormed")},
                           QStringLiteral("The request is not a SOAP 1.2 envelope: %1")
                               .arg(env.fault ? QStringLiteral("it holds a fault") : env.error));
    }
    const SoapDocument &doc = env.value->document;
    const SoapDocument::Element &payload = doc.element(env.value->payload);
    if (payload.namespaceUri != (mediaNs.isEmpty() ? ns::kDevice : mediaNs))
        return fault(
            500, QStringLiteral("Receiver"), {QStringLiteral("ActionNotSupported")},
            QStringLiteral("Optional Action Not Implemented: {%1}%2").arg(payload.namespaceUri, payload.localName));

    // What reached the device, asked for or not, for tests that check what a client sent.
    if (m_received.contains(payload.localName) || m_received.size() < kMaxOperationsCounted)
        ++m_received[payload.localName];
    const QDateTime deviceNow = nowUtc.toUTC().addSecs(m_state.clockOffsetSeconds);
    if (payload.localName == u"GetSystemDateAndTime") {
        return dispatch(payload.localName, doc, env.value->payload, deviceNow);
    }
    Authorized auth = authorize(request, doc, env.value->header, nowUtc);
    if (!auth.ok)
        return auth.refusal;
    if (!mediaNs.isEmpty()) {
        QString refusal;
        QByteArray body = envelope([&](QXmlStreamWriter &w) {
            const QString token = doc.childText(env.value->payload, mediaNs, u"ProfileToken");
            if (!onvifmedia::writeAnswer(w, mediaNs, payload.localName, token, base(), &refusal))
                refusal = QStringLiteral("Optional Action Not Implemented: %1").arg(payload.localName);
        });
        if (refusal.startsWith(u"Optional"))
            return fault(500, QStringLiteral("Receiver"), {QStringLiteral("ActionNotSupported")}, refusal);
        if (!refusal.isEmpty())
            return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("NoProfile")}, refusal);
        return soapResponse(200, body);
    }
    return dispatch(payload.localName, doc, env.value->payload, deviceNow);
}

QString OnvifDevice::base() const
{
    const QUrl url(xaddr());
    return url.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::StripTrailingSlash);
}

// The still image: HTTP authentication only, as cameras serve it to browsers and clients alike.
HttpResponse OnvifDevice::snapshot(const HttpRequest &request, const QDateTime &nowUtc)
{
    if (request.method != "GET")
        return plain(405, "only GET is served here");
    const bool clearText = m_state.authMode == OnvifAuthMode::ClearText;
    if (request.header("Authorization").isNull())
        return challenge(false, nowUtc);
    bool stale = false;
    if (const auto why = checkHttpAuthorization(request, clearText, &stale, nowUtc)) {
        HttpResponse r = challenge(stale, nowUtc);
        r.body = why->toUtf8() + '\n';
        return r;
    }
    if (m_received.contains(QStringLiteral("snapshot")) || m_received.size() < kMaxOperationsCounted)
        ++m_received[QStringLiteral("snapshot")];
    HttpResponse r;
    switch (m_state.snapshotQuirk) {
    case SnapshotQuirk::NotImage:
        r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "text/html; charset=utf-8"));
        r.body = "<!DOCTYPE html><html><body><h1>Please log in</h1></body></html>\n";
        return r;
    case SnapshotQuirk::Huge:
        r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "image/jpeg"));
        r.body = m_snapshotSource ? m_snapshotSource(m_state) : QByteArray("\xff\xd8\xff");
        r.body.append(QByteArray(onvifmedia::kHugeSnapshotBytes - r.body.size(), '\0'));
        return r;
    case SnapshotQuirk::Slow:
        r.delayMs = onvifmedia::kSlowSnapshotMs;
        break;
    case SnapshotQuirk::None:
    case SnapshotQuirk::NoMedia:
        break;
    }
    if (!m_snapshotSource)
        return plain(404, "no image source");
    r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "image/jpeg"));
    r.body = m_snapshotSource(m_state);
    return r;
}

OnvifDevice::Authorized OnvifDevice::authorize(const HttpRequest &request, const SoapDocument &doc, int header,
                                               const QDateTime &nowUtc)
{
    const QDateTime deviceNow = nowUtc.toUTC().addSecs(m_state.clockOffsetSeconds);
    int token = -1;
    if (header >= 0) {
        const int security = doc.child(header, ns::kWsse, u"Security");
        if (security >= 0)
            token = doc.child(security, ns::kWsse, u"UsernameToken");
    }
    const bool hasHttp = !request.header("Authorization").isNull();
    const OnvifAuthMode mode = m_state.authMode;
    const bool clearText = mode == OnvifAuthMode::ClearText;
    const bool tokenAllowed = mode != OnvifAuthMode::HttpDigest;
    const bool httpAllowed = mode != OnvifAuthMode::WsSecurity;

    if (httpAllowed && hasHttp) {
        bool stale = false;
        const auto why = checkHttpAuthorization(request, clearText, &stale, nowUtc);
        if (!why)
            return {true, {}};
        HttpResponse r = challenge(stale, nowUtc);
        r.body = notAuthorized(*why).body;
        return {false, r};
    }
    if (tokenAllowed && token >= 0) {
        const auto why = checkUsernameToken(doc, token, deviceNow, clearText);
        if (!why)
            return {true, {}};
        return {false, notAuthorized(*why)};
    }
    if (!httpAllowed)
        return {false, notAuthorized(token >= 0 || hasHttp ? QStringLiteral("This device takes WS-Security tokens only")
                                                           : QStringLiteral("The action requires authorization"))};
    HttpResponse r = challenge(false, nowUtc);
    r.body = notAuthorized(QStringLiteral("The action requires authorization")).body;
    return {false, r};
}

std::optional<QString> OnvifDevice::checkUsernameToken(const SoapDocument &doc, int token, const QDateTime &deviceNow,
                                                       bool clearText)
{
    const QString name = doc.childText(token, ns::kWsse, u"Username");
    const int passwordElement = doc.child(token, ns::kWsse, u"Password");
    if (name.isEmpty() || passwordElement < 0)
        return QStringLiteral("The token lacks a user name or password");
    const QString type = doc.attribute(passwordElement, u"", u"Type");
    const QString sent = doc.element(passwordElement).text;
    const OnvifUser *account = user(name);

    if (clearText) {
        if (!type.isEmpty() && !type.endsWith(kPasswordText))
            return QStringLiteral("This device takes clear-text passwords only");
        if (!account || account->password != sent)
            return QStringLiteral("The user name or password is wrong");
        return std::nullopt;
    }
    if (!type.endsWith(kPasswordDigest))
        return QStringLiteral("This device takes password digests only");
    const QByteArray nonce = QByteArray::fromBase64(doc.childText(token, ns::kWsse, u"Nonce").toLatin1());
    const QString created = doc.childText(token, ns::kWsu, u"Created");
    if (nonce.isEmpty() || created.isEmpty())
        return QStringLiteral("A password digest needs a nonce and a creation time");
    const QDateTime createdAt = QDateTime::fromString(created, Qt::ISODateWithMs);
    if (!createdAt.isValid())
        return QStringLiteral("The creation time '%1' is not a date and time").arg(created.left(40));
    const qint64 skew = createdAt.secsTo(deviceNow);
    if (skew > kCreatedWindowSeconds || skew < -kCreatedWindowSeconds)
        return QStringLiteral("The token was created at %1, the device's clock reads %2")
            .arg(timeText(createdAt), timeText(deviceNow));
    // Forget nonces that no token inside the window can carry any more.
    const qint64 nowSecs = deviceNow.toSecsSinceEpoch();
    for (auto it = m_usedTokenNonces.begin(); it != m_usedTokenNonces.end();)
        it = it.value() < nowSecs ? m_usedTokenNonces.erase(it) : std::next(it);
    if (m_usedTokenNonces.contains(nonce))
        return QStringLiteral("The nonce was used before");
    const QByteArray expected = account ? passwordDigest(nonce, created, account->password) : QByteArray();
    if (!account || expected != sent.toLatin1())
        return QStringLiteral("The user name or password is wrong");
    if (m_usedTokenNonces.size() < kMaxNoncesKept)
        m_usedTokenNonces.insert(nonce, createdAt.toSecsSinceEpoch() + 2 * kCreatedWindowSeconds);
    return std::nullopt;
}

HttpResponse OnvifDevice::challenge(bool stale, const QDateTime &nowUtc)
{
    HttpResponse r = soapResponse(401, {});
    if (m_state.authMode == OnvifAuthMode::ClearText) {
        r.headers.append(
            std::pair<QByteArray, QByteArray>("WWW-Authenticate", "Basic realm=\"" + kRealm.toUtf8() + '"'));
        return r;
    }
    QByteArray nonce(16, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(nonce.data()), 4);
    nonce = nonce.toHex();
    if (m_digestNonces.size() >= kMaxNoncesKept) {
        // The oldest nonce goes first.
        auto oldest
            = std::min_element(m_digestNonces.begin(), m_digestNonces.end(),
                               [](const DigestNonce &a, const DigestNonce &b) { return a.issuedMs < b.issuedMs; });
        m_digestNonces.erase(oldest);
    }
    m_digestNonces.insert(nonce, {nowUtc.toMSecsSinceEpoch(), 0});
    for (const char *algorithm : {"SHA-256", "MD5"}) {
        QByteArray value = "Digest realm=\"" + kRealm.toUtf8() + "\", qop=\"auth\", algorithm=" + algorithm
                           + ", nonce=\"" + nonce + '"';
        if (stale)
            value += ", stale=true";
        r.headers.append(std::pair<QByteArray, QByteArray>("WWW-Authenticate", value));
    }
    return r;
}

std::optional<QString> OnvifDevice::checkHttpAuthorization(const HttpRequest &request, bool clearText, bool *stale,
                                                           const QDateTime &nowUtc)
{
    const QByteArray value = request.header("Authorization").trimmed();
    const qsizetype space = value.indexOf(' ');
    const QByteArray scheme = value.left(space).toLower();
    const QByteArrayView rest = space < 0 ? QByteArrayView() : QByteArrayView(value).sliced(space + 1);
    if (clearText) {
        if (scheme != "basic")
            return QStringLiteral("This device takes HTTP Basic authentication only");
        const QByteArray pair = QByteArray::fromBase64(rest.trimmed().toByteArray());
        const qsizetype colon = pair.indexOf(':');
        const OnvifUser *account = colon < 0 ? nullptr : user(QString::fromUtf8(pair.left(colon)));
        if (!account || account->password != QString::fromUtf8(pair.mid(colon + 1)))
            return QStringLiteral("The user name or password is wrong");
        return std::nullopt;
    }
    if (scheme != "digest")
        return QStringLiteral("This device takes HTTP Digest authentication only");
    const auto p = digestParameters(rest);
    const QByteArray algorithm = p.value("algorithm", "MD5").toUpper();
    QCryptographicHash::Algorithm hash = QCryptographicHash::Md5;
    if (algorithm == "SHA-256")
        hash = QCryptographicHash::Sha256;
    else if (algorithm != "MD5")
        return QStringLiteral("The digest algorithm %1 is not offered").arg(QString::fromLatin1(algorithm.left(20)));
    if (p.value("qop") != "auth")
        return QStringLiteral("The digest needs qop=auth");
    if (p.value("realm") != kRealm.toUtf8())
        return QStringLiteral("The digest names another realm");
    if (p.value("uri") != request.path)
        return QStringLiteral("The digest names another address");
    const QByteArray nonce = p.value("nonce");
    auto entry = m_digestNonces.find(nonce);
    if (entry == m_digestNonces.end())
        return QStringLiteral("The nonce was not issued by this device");
    if (nowUtc.toMSecsSinceEpoch() - entry->issuedMs > kDigestNonceSeconds * 1000) {
        m_digestNonces.erase(entry);
        *stale = true;
        return QStringLiteral("The nonce has expired");
    }
    bool countOk = false;
    const quint32 count = p.value("nc").toUInt(&countOk, 16);
    if (!countOk || p.value("nc").size() != 8)
        return QStringLiteral("The nonce count is not eight hex digits");
    if (count <= entry->lastCount)
        return QStringLiteral("The nonce count did not grow (a replayed request)");
    const OnvifUser *account = user(QString::fromUtf8(p.value("username")));
    if (!account)
        return QStringLiteral("The user name or password is wrong");
    const QByteArray ha1
        = hashHex(hash, p.value("username") + ':' + kRealm.toUtf8() + ':' + account->password.toUtf8());
    const QByteArray ha2 = hashHex(hash, request.method + ':' + p.value("uri"));
    const QByteArray expected
        = hashHex(hash, ha1 + ':' + nonce + ':' + p.value("nc") + ':' + p.value("cnonce") + ":auth:" + ha2);
    if (expected != p.value("response").toLower())
        return QStringLiteral("The user name or password is wrong");
    entry->lastCount = count;
    return std::nullopt;
}

HttpResponse OnvifDevice::dispatch(const QString &action, const SoapDocument &doc, int payload,
                                   const QDateTime &deviceNow)
{
    const OnvifDeviceState &s = m_state;
    auto ok = [](const QString &response, const Writer &content) {
        return soapResponse(200, envelope([&](QXmlStreamWriter &w) {
                                w.writeStartElement(ns::kDevice, response);
                                if (content)
                                    content(w);
                                w.writeEndElement();
                            }));
    };
    auto tt = [](QXmlStreamWriter &w, const char *name, const QString &text) {
        w.writeTextElement(ns::kSchema, QLatin1String(name), text);
    };
    auto tds = [](QXmlStreamWriter &w, const char *name, const QString &text) {
        w.writeTextElement(ns::kDevice, QLatin1String(name), text);
    };

    if (action == u"GetSystemDateAndTime") {
        return ok(QStringLiteral("GetSystemDateAndTimeResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("SystemDateAndTime"));
            tt(w, "DateTimeType", QStringLiteral("Manual"));
            tt(w, "DaylightSavings", QStringLiteral("false"));
            w.writeStartElement(ns::kSchema, QStringLiteral("TimeZone"));
            tt(w, "TZ", QStringLiteral("UTC0"));
            w.writeEndElement();
            w.writeStartElement(ns::kSchema, QStringLiteral("UTCDateTime"));
            w.writeStartElement(ns::kSchema, QStringLiteral("Time"));
            tt(w, "Hour", QString::number(deviceNow.time().hour()));
            tt(w, "Minute", QString::number(deviceNow.time().minute()));
            tt(w, "Second", QString::number(deviceNow.time().second()));
            w.writeEndElement();
            w.writeStartElement(ns::kSchema, QStringLiteral("Date"));
            tt(w, "Year", QString::number(deviceNow.date().year()));
            tt(w, "Month", QString::number(deviceNow.date().month()));
            tt(w, "Day", QString::number(deviceNow.date().day()));
            w.writeEndElement();
            w.writeEndElement(); // UTCDateTime
            w.writeEndElement(); // SystemDateAndTime
        });
    }
    if (action == u"GetDeviceInformation") {
        return ok(QStringLiteral("GetDeviceInformationResponse"), [&](QXmlStreamWriter &w) {
            tds(w, "Manufacturer", s.manufacturer);
            tds(w, "Model", s.model);
            tds(w, "FirmwareVersion", s.firmware);
            tds(w, "SerialNumber", s.serial);
            tds(w, "HardwareId", s.hardwareId);
        });
    }
    if (action == u"GetNetworkInterfaces" && s.has(OnvifQuirk::NoInterfaces))
        return fault(500, QStringLiteral("Receiver"), {QStringLiteral("ActionNotSupported")},
                     QStringLiteral("Optional Action Not Implemented: GetNetworkInterfaces"));
    if (action == u"GetNetworkInterfaces") {
        return ok(QStringLiteral("GetNetworkInterfacesResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("NetworkInterfaces"));
            w.writeAttribute(QStringLiteral("token"), QStringLiteral("eth0"));
            tt(w, "Enabled", QStringLiteral("true"));
            w.writeStartElement(ns::kSchema, QStringLiteral("Info"));
            tt(w, "Name", QStringLiteral("eth0"));
            tt(w, "HwAddress", s.mac);
            tt(w, "MTU", QStringLiteral("1500"));
            w.writeEndElement();
            w.writeStartElement(ns::kSchema, QStringLiteral("IPv4"));
            tt(w, "Enabled", QStringLiteral("true"));
            w.writeStartElement(ns::kSchema, QStringLiteral("Config"));
            w.writeStartElement(ns::kSchema, s.dhcp ? QStringLiteral("FromDHCP") : QStringLiteral("Manual"));
            tt(w, "Address", s.ipv4);
            tt(w, "PrefixLength", QString::number(s.prefixLength));
            w.writeEndElement();
            tt(w, "DHCP", boolText(s.dhcp));
            w.writeEndElement(); // Config
            w.writeEndElement(); // IPv4
            w.writeEndElement(); // NetworkInterfaces
        });
    }
    if (action == u"GetNetworkDefaultGateway") {
        return ok(QStringLiteral("GetNetworkDefaultGatewayResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("NetworkGateway"));
            if (!s.gateway.isEmpty())
                tt(w, "IPv4Address", s.gateway);
            w.writeEndElement();
        });
    }
    if (action == u"GetNetworkProtocols") {
        return ok(QStringLiteral("GetNetworkProtocolsResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("NetworkProtocols"));
            tt(w, "Name", QStringLiteral("HTTP"));
            tt(w, "Enabled", boolText(s.servesHttp()));
            tt(w, "Port", QString::number(s.httpPort));
            w.writeEndElement();
            if (s.https) {
                w.writeStartElement(ns::kDevice, QStringLiteral("NetworkProtocols"));
                tt(w, "Name", QStringLiteral("HTTPS"));
                tt(w, "Enabled", QStringLiteral("true"));
                tt(w, "Port", QString::number(s.httpsPort));
                w.writeEndElement();
            }
        });
    }
    if (action == u"GetCapabilities") {
        return ok(QStringLiteral("GetCapabilitiesResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("Capabilities"));
            w.writeStartElement(ns::kSchema, QStringLiteral("Device"));
            tt(w, "XAddr", xaddr());
            w.writeStartElement(ns::kSchema, QStringLiteral("Network"));
            tt(w, "IPFilter", QStringLiteral("false"));
            tt(w, "ZeroConfiguration", QStringLiteral("false"));
            tt(w, "IPVersion6", QStringLiteral("false"));
            tt(w, "DynDNS", QStringLiteral("false"));
            w.writeEndElement();
            w.writeEndElement(); // Device
            if (s.snapshotQuirk != SnapshotQuirk::NoMedia)
                onvifmedia::writeCapabilities(w, base());
            w.writeEndElement(); // Capabilities
        });
    }
    if (action == u"GetServices") {
        return ok(QStringLiteral("GetServicesResponse"), [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDevice, QStringLiteral("Service"));
            tds(w, "Namespace", ns::kDevice);
            tds(w, "XAddr", xaddr());
            w.writeStartElement(ns::kDevice, QStringLiteral("Version"));
            tt(w, "Major", QStringLiteral("2"));
            tt(w, "Minor", QStringLiteral("0"));
            w.writeEndElement();
            w.writeEndElement();
            if (s.snapshotQuirk != SnapshotQuirk::NoMedia)
                onvifmedia::writeServices(w, base());
        });
    }
    if (action == u"GetUsers") {
        return ok(QStringLiteral("GetUsersResponse"), [&](QXmlStreamWriter &w) {
            for (const OnvifUser &u : s.users) {
                w.writeStartElement(ns::kDevice, QStringLiteral("User"));
                tt(w, "Username", u.name);
                tt(w, "UserLevel", u.level);
                w.writeEndElement();
            }
        });
    }
    if (action == u"SetNetworkInterfaces") {
        const QString token = doc.childText(payload, ns::kDevice, u"InterfaceToken");
        const int config = doc.child(payload, ns::kDevice, u"NetworkInterface");
        if (token.isEmpty() || config < 0)
            return senderFault({QStringLiteral("InvalidArgs")},
                               QStringLiteral("SetNetworkInterfaces needs an interface token and settings"));
        if (token != u"eth0")
            return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidNetworkInterface")},
                               QStringLiteral("No network interface %1").arg(token.left(64)));
        const bool needsReboot = s.rebootNeeded;
        // An address applied at once leaves what else waits for the reboot waiting.
        OnvifDeviceState next = needsReboot ? m_pending.value_or(m_state) : m_state;
        const int ipv4 = doc.child(config, ns::kSchema, u"IPv4");
        if (ipv4 >= 0) {
            const QString dhcpText = doc.childText(ipv4, ns::kSchema, u"DHCP");
            const std::optional<bool> dhcp = dhcpText.isNull() ? std::optional<bool>(false) : parseBool(dhcpText);
            if (!dhcp)
                return senderFault({QStringLiteral("InvalidArgVal")},
                                   QStringLiteral("DHCP is '%1', not a boolean").arg(dhcpText.left(20)));
            const QList<int> manual = doc.children(ipv4, ns::kSchema, u"Manual");
            if (!*dhcp && manual.size() != 1)
                return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidIPv4Address")},
                                   QStringLiteral("A manual configuration needs exactly one address"));
            if (!manual.isEmpty()) {
                const QString address = doc.childText(manual.first(), ns::kSchema, u"Address");
                bool prefixOk = false;
                const int prefix = doc.childText(manual.first(), ns::kSchema, u"PrefixLength").toInt(&prefixOk);
                if (!isHostAddress(address))
                    return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidIPv4Address")},
                                       QStringLiteral("'%1' is not a usable IPv4 address").arg(address.left(64)));
                if (!prefixOk || prefix < 1 || prefix > 32)
                    return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidIPv4Address")},
                                       QStringLiteral("The prefix length must be 1 to 32"));
                next.ipv4 = address;
                next.prefixLength = prefix;
            }
            next.dhcp = *dhcp;
        }
        if (needsReboot) {
            m_pending = next;
        } else {
            const bool moved = next.ipv4 != m_state.ipv4;
            if (m_pending) {
                m_pending->ipv4 = next.ipv4;
                m_pending->prefixLength = next.prefixLength;
                m_pending->dhcp = next.dhcp;
            }
            m_state = next;
            if (moved) {
                ++m_state.metadataVersion;
                m_effects.moved = true;
            }
        }
        return ok(QStringLiteral("SetNetworkInterfacesResponse"),
                  [&](QXmlStreamWriter &w) { tds(w, "RebootNeeded", boolText(needsReboot)); });
    }
    if (action == u"SetNetworkDefaultGateway") {
        const QList<int> v4 = doc.children(payload, ns::kDevice, u"IPv4Address");
        if (v4.size() > 1)
            return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidGatewayAddress")},
                               QStringLiteral("The device keeps one IPv4 gateway"));
        QString gateway;
        if (!v4.isEmpty()) {
            gateway = doc.element(v4.first()).text;
            if (!isHostAddress(gateway))
                return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("InvalidGatewayAddress")},
                                   QStringLiteral("'%1' is not a usable gateway address").arg(gateway.left(64)));
        }
        m_state.gateway = gateway;
        return ok(QStringLiteral("SetNetworkDefaultGatewayResponse"), {});
    }
    if (action == u"SetNetworkProtocols") {
        const QList<int> protocols = doc.children(payload, ns::kDevice, u"NetworkProtocols");
        if (protocols.isEmpty())
            return senderFault({QStringLiteral("InvalidArgs")}, QStringLiteral("No protocol given"));
        std::optional<quint16> httpPort;
        for (int p : protocols) {
            const QString name = doc.childText(p, ns::kSchema, u"Name");
            if (name != u"HTTP" && name != u"HTTPS" && name != u"RTSP")
                return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("ServiceNotSupported")},
                                   QStringLiteral("No protocol %1").arg(name.left(20)));
            const QList<int> ports = doc.children(p, ns::kSchema, u"Port");
            if (ports.isEmpty())
                return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("PortAlreadyInUse")},
                                   QStringLiteral("%1 needs a port").arg(name));
            for (int port : ports) {
                bool valid = false;
                const int number = doc.element(port).text.toInt(&valid);
                if (!valid || number < 1 || number > 65535)
                    return senderFault({QStringLiteral("InvalidArgVal")},
                                       QStringLiteral("'%1' is not a port").arg(doc.element(port).text.left(20)));
                if (name == u"HTTP" && !httpPort)
                    httpPort = quint16(number);
            }
        }
        if (httpPort && s.has(OnvifQuirk::PortWaits)) {
            OnvifDeviceState next = m_pending.value_or(m_state);
            next.httpPort = *httpPort;
            m_pending = next;
        } else if (httpPort && *httpPort != m_state.httpPort) {
            m_state.httpPort = *httpPort;
            ++m_state.metadataVersion;
            m_effects.moved = true;
        }
        return ok(QStringLiteral("SetNetworkProtocolsResponse"), {});
    }
    if (action == u"SystemReboot") {
        m_effects.reboot = true;
        return ok(QStringLiteral("SystemRebootResponse"),
                  [&](QXmlStreamWriter &w) { tds(w, "Message", QStringLiteral("Rebooting in 1 second")); });
    }
    if (action == u"SetUser") {
        const QList<int> users = doc.children(payload, ns::kDevice, u"User");
        if (users.isEmpty())
            return senderFault({QStringLiteral("InvalidArgs")}, QStringLiteral("No user given"));
        QList<OnvifUser> next = m_state.users;
        for (int u : users) {
            const QString name = doc.childText(u, ns::kSchema, u"Username");
            const QString password = doc.childText(u, ns::kSchema, u"Password");
            const QString level = doc.childText(u, ns::kSchema, u"UserLevel");
            auto it = std::find_if(next.begin(), next.end(), [&](const OnvifUser &x) { return x.name == name; });
            if (it == next.end())
                return senderFault({QStringLiteral("InvalidArgVal"), QStringLiteral("UsernameMissing")},
                                   QStringLiteral("No user %1").arg(name.left(64)));
            if (level != u"Administrator" && level != u"Operator" && level != u"User")
                return senderFault({QStringLiteral("InvalidArgVal")},
                                   QStringLiteral("'%1' is not a user level").arg(level.left(32)));
            if (password.size() > 64)
                return senderFault({QStringLiteral("OperationProhibited"), QStringLiteral("PasswordTooLong")},
                                   QStringLiteral("A password has at most 64 characters"));
            if (!password.isNull())
                it->password = password;
            it->level = level;
        }
        if (std::none_of(next.begin(), next.end(), [](const OnvifUser &x) { return x.level == u"Administrator"; }))
            return senderFault({QStringLiteral("OperationProhibited"), QStringLiteral("FixedUser")},
                               QStringLiteral("The device keeps at least one administrator"));
        m_state.users = next;
        return ok(QStringLiteral("SetUserResponse"), {});
    }
    return fault(500, QStringLiteral("Receiver"), {QStringLiteral("ActionNotSupported")},
                 QStringLiteral("Optional Action Not Implemented: %1").arg(action.left(64)));
}

bool OnvifDevice::matchesProbe(const QList<QualifiedName> &types) const
{
    for (const QualifiedName &t : types) {
        const bool device = t.namespaceUri == ns::kDevice && t.localName == u"Device";
        const bool transmitter = t.namespaceUri == ns::kNetwork && t.localName == u"NetworkVideoTransmitter";
        if (!device && !transmitter)
            return false;
    }
    return true;
}

namespace {

void writeDiscoveryHeader(QXmlStreamWriter &w, const QString &action, const QString &messageId,
                          const QString &relatesTo)
{
    w.writeTextElement(ns::kAddressing2004, QStringLiteral("MessageID"), messageId);
    if (!relatesTo.isEmpty())
        w.writeTextElement(ns::kAddressing2004, QStringLiteral("RelatesTo"), relatesTo);
    w.writeTextElement(ns::kAddressing2004, QStringLiteral("To"), relatesTo.isEmpty() ? kWsdTo : kAnonymous);
    w.writeTextElement(ns::kAddressing2004, QStringLiteral("Action"), kWsdActionBase + action);
}

void writeTarget(QXmlStreamWriter &w, const OnvifDevice &device, bool full)
{
    const OnvifDeviceState &s = device.state();
    w.writeStartElement(ns::kAddressing2004, QStringLiteral("EndpointReference"));
    w.writeTextElement(ns::kAddressing2004, QStringLiteral("Address"), s.endpoint);
    w.writeEndElement();
    if (!full)
        return;
    w.writeTextElement(ns::kDiscovery, QStringLiteral("Types"),
                       QStringLiteral("tds:Device dn:NetworkVideoTransmitter"));
    QString scopes = kDeviceScopes;
    scopes += QStringLiteral(" onvif://www.onvif.org/name/")
              + QString::fromLatin1(QUrl::toPercentEncoding(s.manufacturer));
    scopes
        += QStringLiteral(" onvif://www.onvif.org/hardware/") + QString::fromLatin1(QUrl::toPercentEncoding(s.model));
    w.writeTextElement(ns::kDiscovery, QStringLiteral("Scopes"), scopes);
    w.writeTextElement(ns::kDiscovery, QStringLiteral("XAddrs"), device.xaddrs().join(u' '));
    w.writeTextElement(ns::kDiscovery, QStringLiteral("MetadataVersion"), QString::number(s.metadataVersion));
}

} // namespace

QByteArray OnvifDevice::probeMatches(const QString &relatesTo, const QString &messageId) const
{
    return envelope(
        [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDiscovery, QStringLiteral("ProbeMatches"));
            w.writeStartElement(ns::kDiscovery, QStringLiteral("ProbeMatch"));
            writeTarget(w, *this, true);
            w.writeEndElement();
            w.writeEndElement();
        },
        [&](QXmlStreamWriter &w) { writeDiscoveryHeader(w, QStringLiteral("ProbeMatches"), messageId, relatesTo); });
}

QByteArray OnvifDevice::hello(const QString &messageId) const
{
    return envelope(
        [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDiscovery, QStringLiteral("Hello"));
            writeTarget(w, *this, true);
            w.writeEndElement();
        },
        [&](QXmlStreamWriter &w) { writeDiscoveryHeader(w, QStringLiteral("Hello"), messageId, {}); });
}

QByteArray OnvifDevice::bye(const QString &messageId) const
{
    return envelope(
        [&](QXmlStreamWriter &w) {
            w.writeStartElement(ns::kDiscovery, QStringLiteral("Bye"));
            writeTarget(w, *this, false);
            w.writeEndElement();
        },
        [&](QXmlStreamWriter &w) { writeDiscoveryHeader(w, QStringLiteral("Bye"), messageId, {}); });
}
