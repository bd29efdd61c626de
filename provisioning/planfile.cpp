// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "planfile.h"

#include "inputvalidation.h"

#include <macaddress.h>

#include <Vexo.h>

#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringDecoder>

namespace VexoTool {

namespace {

struct Record
{
    int line = 0;
    QStringList fields;
};

// Reads the text record by record, fields split as RFC 4180 does with the separator given, so
// that no more than one record is held at a time. A quote opens a quoted field only at the
// field's start; inside, "" is one quote and line breaks belong to the field.
class RecordReader
{
public:
    RecordReader(QStringView text, QChar separator)
        : m_text(text)
        , m_separator(separator)
    {}

    // The next record that is not blank; false at the end or at a problem (see error()).
    bool next(Record &record)
    {
        for (;;) {
            const Step step = read(record);
            if (step == Step::Record)
                return true;
            if (step != Step::Blank)
                return false;
        }
    }
    const std::optional<PlanError> &error() const { return m_error; }

private:
    enum class Step { Record, Blank, End, Failed };

    Step read(Record &record)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return Step::End;
        record = Record{m_line, {}};
        QString field;
        bool quoted = false;
        bool afterQuote = false; // a quoted field ended; only a separator or line end may follow
        bool fieldStarted = false;
        int quoteLine = 0;
        while (m_pos < size) {
            const QChar c = m_text.at(m_pos++);
            if (quoted) {
                if (c == u'"') {
                    if (m_pos < size && m_text.at(m_pos) == u'"') {
                        field.append(u'"');
                        ++m_pos;
                    } else {
                        quoted = false;
                        afterQuote = true;
                    }
                } else {
                    if (c == u'\n')
                        ++m_line;
                    field.append(c);
                }
                continue;
            }
            if (c == m_separator) {
                if (record.fields.size() + 1 >= PlanFile::MaxColumns) {
                    m_error = PlanError{m_line, 0,
                                        PlanFile::tr("The row has more than %1 fields.").arg(PlanFile::MaxColumns)};
                    m_pos = size;
                    return Step::Failed;
                }
                record.fields.append(field);
                field.clear();
                afterQuote = false;
                fieldStarted = true;
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && m_pos < size && m_text.at(m_pos) == u'\n')
                    ++m_pos;
                ++m_line;
                break;
            } else if (afterQuote) {
                if (c == u' ' || c == u'\t')
                    continue;
                m_error = PlanError{m_line, int(record.fields.size()) + 1,
                                    PlanFile::tr("Text after the closing quote of a quoted field.")};
                m_pos = size;
                return Step::Failed;
            } else if (c == u'"' && field.trimmed().isEmpty()) {
                field.clear();
                quoted = true;
                quoteLine = m_line;
                fieldStarted = true;
            } else {
                field.append(c);
                fieldStarted = true;
            }
        }
        if (quoted) {
            m_error
                = PlanError{quoteLine, int(record.fields.size()) + 1, PlanFile::tr("A quoted field is not closed.")};
            return Step::Failed;
        }
        record.fields.append(field);
        const bool blank = record.fields.size() == 1 && record.fields.first().trimmed().isEmpty() && !fieldStarted;
        return blank ? Step::Blank : Step::Record;
    }

    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
    std::optional<PlanError> m_error;
};

// A value as a message quotes it: at most MaxQuotedLength characters, a cut one ending in "…".
QString quoted(const QString &value)
{
    constexpr qsizetype MaxQuotedLength = 64;
    if (value.size() <= MaxQuotedLength)
        return value;
    qsizetype cut = MaxQuotedLength - 1;
    if (value.at(cut - 1).isHighSurrogate())
        --cut;
    return value.left(cut) + QChar(0x2026);
}

// The separator the header row uses most, outside quotes; a comma when it uses none.
QChar detectSeparator(const QString &text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    bool seenText = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            if (seenText)
                break;
        } else if (!quoted) {
            commas += c == u',';
            semicolons += c == u';';
            tabs += c == u'\t';
            seenText = seenText || !c.isSpace();
        }
    }
    if (tabs > commas && tabs >= semicolons)
        return u'\t';
    if (semicolons > commas)
        return u';';
    return u',';
}

QString normalizedName(const QString &name)
{
    QString result = name.trimmed().toLower();
    result.remove(u' ').remove(u'_').remove(u'-').remove(u'.').remove(QChar(0x3000));
    return result;
}

const QHash<QString, PlanColumn> &columnNames()
{
    static const QHash<QString, PlanColumn> names = [] {
        QHash<QString, PlanColumn> map;
        const auto add = [&map](PlanColumn column, std::initializer_list<const char16_t *> texts) {
            for (const char16_t *text : texts)
                map.insert(normalizedName(QString::fromUtf16(text)), column);
        };
        add(PlanColumn::Serial, {u"serial", u"serial number", u"serial no", u"sn", u"序列号", u"设备序列号"});
        add(PlanColumn::Mac, {u"mac", u"mac address", u"MAC地址", u"物理地址"});
        add(PlanColumn::Address,
            {u"ipv4", u"ipv4 address", u"address", u"ip", u"ip address", u"IPv4地址", u"IP地址", u"地址"});
        add(PlanColumn::Mask, {u"mask", u"subnet mask", u"netmask", u"ipv4 subnet mask", u"子网掩码", u"掩码"});
        add(PlanColumn::Gateway,
            {u"gateway", u"ipv4 gateway", u"default gateway", u"网关", u"默认网关", u"IPv4默认网关"});
        add(PlanColumn::Port, {u"port", u"device port", u"service port", u"端口", u"设备端口"});
        add(PlanColumn::HttpPort, {u"http port", u"web port", u"HTTP端口"});
        add(PlanColumn::Dhcp, {u"dhcp", u"启用DHCP"});
        add(PlanColumn::Password, {u"password", u"new password", u"admin password", u"密码", u"新密码"});
        return map;
    }();
    return names;
}

std::optional<bool> switchValue(const QString &text)
{
    static const QSet<QString> on{QStringLiteral("on"),   QStringLiteral("yes"), QStringLiteral("1"),
                                  QStringLiteral("true"), QStringLiteral("开"),  QStringLiteral("是")};
    static const QSet<QString> off{QStringLiteral("off"),   QStringLiteral("no"), QStringLiteral("0"),
                                   QStringLiteral("false"), QStringLiteral("关"), QStringLiteral("否")};
    const QString value = text.toLower();
    if (on.contains(value))
        return true;
    if (off.contains(value))
        return false;
    return std::nullopt;
}

std::optional<quint16> portValue(const QString &text, uint lowest)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value < lowest || value > 65535)
        return std::nullopt;
    return quint16(value);
}

bool isLatin1Text(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

} // namespace

std::optional<PlanColumn> PlanFile::columnForName(const QString &name)
{
    const auto it = columnNames().constFind(normalizedName(name));
    if (it == columnNames().cend())
        return std::nullopt;
    return *it;
}

QString PlanFile::normalizedMac(const QString &mac)
{
    return MacAddress::canonical(mac);
}

QString PlanFile::describe(const PlanError &error)
{
    if (error.line > 0 && error.column > 0)
        return tr("Line %1, column %2: %3").arg(error.line).arg(error.column).arg(error.message);
    if (error.line > 0)
        return tr("Line %1: %2").arg(error.line).arg(error.message);
    return error.message;
}

PlanParseResult PlanFile::read(const QString &path)
{
    PlanParseResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errors.append({0, 0, tr("The plan file cannot be opened: %1").arg(file.errorString())});
        return result;
    }
    if (file.size() > MaxFileSize) {
        result.errors.append({0, 0, tr("The plan file is larger than %1 MB.").arg(MaxFileSize / (1024 * 1024))});
        return result;
    }
    return parse(file.read(MaxFileSize + 1));
}

PlanParseResult PlanFile::parse(const QByteArray &bytes)
{
    PlanParseResult result;
    if (bytes.size() > MaxFileSize) {
        result.errors.append({0, 0, tr("The plan file is larger than %1 MB.").arg(MaxFileSize / (1024 * 1024))});
        return result;
    }
    // Binary files: a NUL byte, or bytes that are not UTF-8, end the reading at their line.
    const QByteArray view = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const qsizetype nul = view.indexOf('\0');
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(view);
    if (nul >= 0 || decoder.hasError()) {
        qsizetype bad = nul;
        if (bad < 0) {
            const qsizetype replacement = text.indexOf(QChar::ReplacementCharacter);
            bad = replacement < 0 ? 0 : text.left(replacement).toUtf8().size();
        }
        const int line = int(view.left(bad).count('\n')) + 1;
        result.errors.append(
            {line, 0, tr("This is not a text file in UTF-8: the plan must be CSV or tab-separated text.")});
        return result;
    }

    RecordReader reader(text, detectSeparator(text));
    Record header;
    if (!reader.next(header)) {
        result.errors.append(reader.error().value_or(PlanError{0, 0, tr("The plan file is empty.")}));
        return result;
    }

    // Problems are listed up to MaxErrors; the rest are counted.
    int errorCount = 0;
    auto fail = [&](int line, int column, const QString &message) {
        if (++errorCount <= MaxErrors)
            result.errors.append({line, column, message});
    };
    auto finish = [&] {
        if (errorCount > MaxErrors)
            result.errors.append({0, 0, tr("%n more problem(s) not listed.", nullptr, errorCount - MaxErrors)});
        if (!result.errors.isEmpty())
            result.rows.clear();
        else if (result.rows.isEmpty())
            result.errors.append({0, 0, tr("The plan names no device.")});
        return result;
    };

    // The header row.
    QList<PlanColumn> columns;
    QMap<PlanColumn, int> seen;
    bool anyKnown = false;
    for (const QString &name : std::as_const(header.fields))
        anyKnown = anyKnown || columnForName(name).has_value();
    if (!anyKnown) {
        result.errors.append({header.line, 0,
                              tr("The first row names no column: a plan starts with a header row such as "
                                 "\"serial,ipv4,mask,gateway\".")});
        return result;
    }
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields.at(i).trimmed();
        const std::optional<PlanColumn> column = columnForName(name);
        if (!column) {
            fail(header.line, i + 1, tr("Unknown column \"%1\".").arg(quoted(name)));
            continue;
        }
        if (seen.contains(*column)) {
            fail(header.line, i + 1,
                 tr("Column \"%1\" repeats column %2.").arg(quoted(name)).arg(seen.value(*column) + 1));
            continue;
        }
        seen.insert(*column, i);
        columns.append(*column);
    }
    if (errorCount > 0)
        return finish();
    if (!seen.contains(PlanColumn::Serial) && !seen.contains(PlanColumn::Mac)) {
        result.errors.append(
            {header.line, 0, tr("The plan needs a serial number or a MAC column to tell the devices apart.")});
        return result;
    }

    QHash<QString, int> serialLines;
    QHash<QString, int> macLines;
    int rowCount = 0;
    Record record;
    while (reader.next(record)) {
        if (++rowCount > MaxRows) {
            result.rows.clear();
            result.errors = {{0, 0, tr("The plan has more than %1 rows.").arg(MaxRows)}};
            return result;
        }
        if (record.fields.size() > columns.size()) {
            fail(record.line, int(columns.size()) + 1,
                 tr("The row has %1 fields, the header names %2 columns.")
                     .arg(record.fields.size())
                     .arg(columns.size()));
            continue;
        }
        PlanRow row;
        row.line = record.line;
        for (int i = 0; i < record.fields.size(); ++i) {
            const QString value = record.fields.at(i).trimmed();
            if (value.isEmpty())
                continue;
            const int column = i + 1;
            switch (columns.at(i)) {
            case PlanColumn::Serial:
                if (!isLatin1Text(value) || value.size() >= int(sizeof VEXO_DEVICE_INFO::serialNumber))
                    fail(record.line, column, tr("\"%1\" is not a serial number.").arg(quoted(value)));
                row.serial = value;
                break;
            case PlanColumn::Mac:
                row.mac = normalizedMac(value);
                if (row.mac.isEmpty())
                    fail(record.line, column, tr("\"%1\" is not a MAC address.").arg(quoted(value)));
                break;
            case PlanColumn::Address:
                if (!isValidIPv4(value))
                    fail(record.line, column, tr("\"%1\" is not a valid IPv4 address.").arg(quoted(value)));
                row.address = value;
                break;
            case PlanColumn::Mask:
                if (!isValidSubnetMask(value))
                    fail(record.line, column, tr("\"%1\" is not a valid subnet mask.").arg(quoted(value)));
                row.mask = value;
                break;
            case PlanColumn::Gateway:
                if (!isValidGateway(value))
                    fail(record.line, column, tr("\"%1\" is not a valid gateway.").arg(quoted(value)));
                row.gateway = value;
                break;
            case PlanColumn::Port:
                row.port = portValue(value, 2000);
                if (!row.port)
                    fail(record.line, column, tr("Device port ranges from 2000 to 65535."));
                break;
            case PlanColumn::HttpPort:
                row.httpPort = portValue(value, 1);
                if (!row.httpPort)
                    fail(record.line, column, tr("Http port ranges from 1 to 65535."));
                break;
            case PlanColumn::Dhcp:
                row.dhcp = switchValue(value);
                if (!row.dhcp)
                    fail(record.line, column, tr("DHCP is \"on\" or \"off\", not \"%1\".").arg(quoted(value)));
                break;
            case PlanColumn::Password:
                // Passwords keep their spaces: only the cell as written counts.
                row.password = record.fields.at(i);
                if (row.password.toLocal8Bit().size() > VEXO_MAX_PASSWORD_LEN || row.password.contains(QChar(0)))
                    fail(record.line, column,
                         tr("The password is longer than %1 characters.").arg(VEXO_MAX_PASSWORD_LEN));
                break;
            }
        }
        if (row.serial.isEmpty() && row.mac.isEmpty()) {
            const int column = int(seen.value(PlanColumn::Serial, seen.value(PlanColumn::Mac))) + 1;
            fail(record.line, column, tr("The row names no device: give its serial number or MAC."));
            continue;
        }
        if (!row.serial.isEmpty()) {
            const int earlier = serialLines.value(row.serial);
            if (earlier)
                fail(record.line, int(seen.value(PlanColumn::Serial)) + 1,
                     tr("The device is already planned in line %1.").arg(earlier));
            else
                serialLines.insert(row.serial, record.line);
        }
        if (!row.mac.isEmpty()) {
            const int earlier = macLines.value(row.mac);
            if (earlier)
                fail(record.line, int(seen.value(PlanColumn::Mac)) + 1,
                     tr("The device is already planned in line %1.").arg(earlier));
            else
                macLines.insert(row.mac, record.line);
        }
        // Rows are kept only while the plan may still be used.
        if (errorCount == 0)
            result.rows.append(row);
    }
    if (const std::optional<PlanError> &error = reader.error())
        fail(error->line, error->column, error->message);
    return finish();
}

} // namespace VexoTool
