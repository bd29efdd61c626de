// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "xlsworkbook.h"

#include <QTextBoundaryFinder>
#include <QtEndian>

#include <algorithm>

namespace VexoTool {

namespace {

// Record types of the workbook stream.
enum RecordType : quint16 {
    RecordEof = 0x000A,
    RecordDate1904 = 0x0022,
    RecordFont = 0x0031,
    RecordContinue = 0x003C,
    RecordWindow1 = 0x003D,
    RecordCodePage = 0x0042,
    RecordBoundSheet = 0x0085,
    RecordXf = 0x00E0,
    RecordSst = 0x00FC,
    RecordLabelSst = 0x00FD,
    RecordExtSst = 0x00FF,
    RecordDimensions = 0x0200,
    RecordWindow2 = 0x023E,
    RecordStyle = 0x0293,
    RecordBof = 0x0809,
};

// The most data one record carries; longer contents go on in CONTINUE records.
constexpr int kMaxRecordData = 8224;
// Cell formats 0 to 14 are the style formats readers expect; 15 is the format of every cell.
constexpr int kStyleXfCount = 15;
constexpr quint16 kCellXf = 15;
constexpr quint16 kCodePageUtf16 = 1200;
// An empty text is no cell at all, as spreadsheet programs keep it; some readers stop at an
// empty entry of the string table.
constexpr quint32 kNoString = 0xFFFFFFFF;
// Below this size the container would keep the stream in its small-block area; the writers of
// this format keep the workbook stream in ordinary sectors, which is what readers are used to.
constexpr int kMinStreamSize = 4096;

void appendU8(QByteArray &out, quint8 value)
{
    out.append(char(value));
}

void appendU16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putU32(QByteArray &out, qsizetype at, quint32 value)
{
    qToLittleEndian(value, out.data() + at);
}

// Returns the stream offset at which the record starts.
qsizetype appendRecord(QByteArray &out, quint16 type, const QByteArray &data)
{
    Q_ASSERT(data.size() <= kMaxRecordData);
    const qsizetype start = out.size();
    appendU16(out, type);
    appendU16(out, quint16(data.size()));
    out.append(data);
    return start;
}

bool needsWideCharacters(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; });
}

void appendCharacters(QByteArray &out, QStringView text, bool wide)
{
    for (const QChar c : text) {
        if (wide)
            appendU16(out, c.unicode());
        else
            appendU8(out, quint8(c.unicode()));
    }
}

// A short text with a one-byte length, as sheet and font names are stored.
void appendShortString(QByteArray &out, const QString &text)
{
    const bool wide = needsWideCharacters(text);
    appendU8(out, quint8(text.size()));
    appendU8(out, wide ? 0x01 : 0x00);
    appendCharacters(out, text, wide);
}

QByteArray bofData(quint16 substreamType)
{
    QByteArray data;
    appendU16(data, 0x0600); // BIFF8
    appendU16(data, substreamType);
    appendU16(data, 0x0DBB); // build identifier
    appendU16(data, 0x07CC); // build year
    appendU32(data, 0);      // file history flags
    appendU32(data, 0x0006); // lowest version able to read the file: BIFF8
    return data;
}

QByteArray window1Data()
{
    QByteArray data;
    appendU16(data, 0x0000); // window position
    appendU16(data, 0x0000);
    appendU16(data, 0x4000); // window size in twips
    appendU16(data, 0x2000);
    appendU16(data, 0x0038); // horizontal and vertical scroll bars, sheet tabs
    appendU16(data, 0);      // active sheet
    appendU16(data, 0);      // first visible tab
    appendU16(data, 1);      // selected sheets
    appendU16(data, 0x0258); // tab bar width ratio
    return data;
}

QByteArray fontData()
{
    QByteArray data;
    appendU16(data, 200);    // 10 points, in twentieths
    appendU16(data, 0);      // no italic, no strike-out
    appendU16(data, 0x7FFF); // the window text colour
    appendU16(data, 400);    // normal weight
    appendU16(data, 0);      // no super- or subscript
    appendU8(data, 0);       // no underline
    appendU8(data, 0);       // font family
    appendU8(data, 0);       // character set
    appendU8(data, 0);
    appendShortString(data, QStringLiteral("Arial"));
    return data;
}

QByteArray xfData(bool styleFormat)
{
    QByteArray data;
    appendU16(data, 0);                             // font 0
    appendU16(data, 0);                             // number format "General"
    appendU16(data, styleFormat ? 0xFFF5 : 0x0001); // locked; a style, or a cell based on style 0
    appendU8(data, 0x20);                           // aligned at the bottom
    appendU8(data, 0);                              // no rotation
    appendU8(data, 0);                              // no indent
    appendU8(data, styleFormat ? 0xF4 : 0x00);      // which attributes the format sets
    appendU32(data, 0);                             // no borders
    appendU32(data, 0);
    appendU16(data, 0x20C0); // default pattern colours
    return data;
}

QByteArray styleData()
{
    QByteArray data;
    appendU16(data, 0x8000); // built-in style of format 0
    appendU8(data, 0);       // "Normal"
    appendU8(data, 0xFF);
    return data;
}

QByteArray dimensionsData(int rowCount, int columnCount)
{
    QByteArray data;
    appendU32(data, 0);
    appendU32(data, rowCount > 0 && columnCount > 0 ? quint32(rowCount) : 0); // one past the last row
    appendU16(data, 0);
    appendU16(data, rowCount > 0 && columnCount > 0 ? quint16(columnCount) : 0); // one past the last column
    appendU16(data, 0);
    return data;
}

QByteArray window2Data()
{
    QByteArray data;
    appendU16(data, 0x06B6); // grid, headers, zeros, outline; the sheet is selected and shown
    appendU16(data, 0);      // top row
    appendU16(data, 0);      // left column
    appendU16(data, 0x0040); // grid colour: the default
    appendU16(data, 0);
    appendU16(data, 0); // zoom: the defaults
    appendU16(data, 0);
    appendU32(data, 0);
    return data;
}

QByteArray labelSstData(int row, int column, quint32 stringIndex)
{
    QByteArray data;
    appendU16(data, quint16(row));
    appendU16(data, quint16(column));
    appendU16(data, kCellXf);
    appendU32(data, stringIndex);
    return data;
}

// The shared string table split into records. A string's length and flags never straddle two
// records; its characters may, and every continued part starts with its own flags byte.
struct StringTable
{
    QList<QByteArray> records; // the SST record's data, then each CONTINUE record's data
    struct Position
    {
        qsizetype record = 0;
        qsizetype offset = 0; // within that record's data
    };
    QList<Position> bucketStarts; // where every stringsPerBucket-th string starts
    quint16 stringsPerBucket = 8;
};

StringTable buildStringTable(const QStringList &strings, quint32 references)
{
    StringTable table;
    // At most 128 buckets in the index that follows the table, each of at least 8 strings.
    table.stringsPerBucket = quint16(std::max<qsizetype>(8, (strings.size() + 127) / 128));

    QByteArray current;
    appendU32(current, references);
    appendU32(current, quint32(strings.size()));
    const auto startRecord = [&table, &current] {
        table.records.append(current);
        current.clear();
    };

    for (qsizetype i = 0; i < strings.size(); ++i) {
        const QString &text = strings.at(i);
        const bool wide = needsWideCharacters(text);
        const int charSize = wide ? 2 : 1;
        // The length, the flags and the first character belong together.
        const int headerSize = 3 + (text.isEmpty() ? 0 : charSize);
        if (current.size() + headerSize > kMaxRecordData)
            startRecord();
        if (i % table.stringsPerBucket == 0)
            table.bucketStarts.append({table.records.size(), current.size()});
        appendU16(current, quint16(text.size()));
        appendU8(current, wide ? 0x01 : 0x00);

        QStringView rest(text);
        while (!rest.isEmpty()) {
            qsizetype fits = std::min<qsizetype>((kMaxRecordData - current.size()) / charSize, rest.size());
            // A surrogate pair stays in one record.
            if (fits > 0 && fits < rest.size() && rest.at(fits - 1).isHighSurrogate())
                --fits;
            if (fits == 0) {
                startRecord();
                appendU8(current, wide ? 0x01 : 0x00);
                continue;
            }
            appendCharacters(current, rest.first(fits), wide);
            rest = rest.sliced(fits);
        }
    }
    table.records.append(current);
    return table;
}

} // namespace

QString XlsWorkbook::sheetNameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("the sheet name is empty");
    if (name.size() > MaxSheetNameLength)
        return QStringLiteral("the sheet name is longer than %1 characters").arg(MaxSheetNameLength);
    for (const QChar c : name) {
        if (QStringView(u"[]:*?/\\").contains(c))
            return QStringLiteral("the sheet name holds \"%1\"").arg(c);
    }
    if (name.startsWith(u'\'') || name.endsWith(u'\''))
        return QStringLiteral("the sheet name begins or ends with an apostrophe");
    // Readers show a lone surrogate as garbage or replace the whole name.
    if (!QStringView(name).isValidUtf16())
        return QStringLiteral("the sheet name holds half of a surrogate pair");
    return {};
}

QString XlsWorkbook::fittingSheetName(const QString &name)
{
    if (name.size() <= MaxSheetNameLength)
        return name;
    qsizetype cut = 0;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name);
    for (qsizetype next = graphemes.toNextBoundary(); next > 0 && next <= MaxSheetNameLength;
         next = graphemes.toNextBoundary())
        cut = next;
    if (cut == 0) {
        // The first cluster alone is too long: keep as many whole code points of it as fit.
        cut = MaxSheetNameLength;
        if (name.at(cut - 1).isHighSurrogate() && name.at(cut).isLowSurrogate())
            --cut;
    }
    return name.left(cut);
}

bool XlsWorkbook::fail(const QString &reason)
{
    m_errorString = reason;
    return false;
}

quint32 XlsWorkbook::stringIndex(const QString &text)
{
    ++m_stringReferences;
    const auto found = m_stringIndexes.constFind(text);
    if (found != m_stringIndexes.cend())
        return found.value();
    const auto index = quint32(m_strings.size());
    m_strings.append(text);
    m_stringIndexes.insert(text, index);
    return index;
}

bool XlsWorkbook::createSheet(const QString &name, const QStringList &columnNames)
{
    if (hasSheet())
        return fail(QStringLiteral("the workbook has a sheet already"));
    if (const QString problem = sheetNameProblem(name); !problem.isEmpty())
        return fail(problem);
    if (columnNames.size() > MaxColumns)
        return fail(QStringLiteral("%1 columns, at most %2 fit").arg(columnNames.size()).arg(MaxColumns));
    m_sheetName = name;
    m_columnCount = int(columnNames.size());
    if (!insertRow(columnNames)) {
        m_sheetName.clear();
        m_columnCount = 0;
        return false;
    }
    return true;
}

bool XlsWorkbook::insertRow(const QStringList &values)
{
    if (!hasSheet())
        return fail(QStringLiteral("no sheet to insert into"));
    if (m_rows.size() >= MaxRows)
        return fail(QStringLiteral("the sheet is full (%1 rows)").arg(MaxRows));
    if (values.size() > m_columnCount)
        return fail(QStringLiteral("%1 values for %2 columns").arg(values.size()).arg(m_columnCount));
    for (const QString &value : values) {
        if (value.size() > MaxCellTextLength)
            return fail(QStringLiteral("a text of %1 characters, at most %2 fit in a cell")
                            .arg(value.size())
                            .arg(MaxCellTextLength));
    }
    QList<quint32> row;
    row.reserve(values.size());
    for (const QString &value : values)
        row.append(value.isEmpty() ? kNoString : stringIndex(value));
    m_rows.append(row);
    return true;
}

QByteArray XlsWorkbook::stream() const
{
    if (!hasSheet())
        return {};

    QByteArray out;
    appendRecord(out, RecordBof, bofData(0x0005));
    QByteArray codePage;
    appendU16(codePage, kCodePageUtf16);
    appendRecord(out, RecordCodePage, codePage);
    appendRecord(out, RecordWindow1, window1Data());
    appendRecord(out, RecordDate1904, QByteArray(2, '\0'));
    // Font number 4 does not exist in this format: five records make fonts 0 to 3 and 5.
    for (int i = 0; i < 5; ++i)
        appendRecord(out, RecordFont, fontData());
    for (int i = 0; i < kStyleXfCount; ++i)
        appendRecord(out, RecordXf, xfData(true));
    appendRecord(out, RecordXf, xfData(false));
    appendRecord(out, RecordStyle, styleData());

    QByteArray boundSheet;
    appendU32(boundSheet, 0); // the sheet's offset, known once the globals are complete
    appendU8(boundSheet, 0);  // visible
    appendU8(boundSheet, 0);  // a worksheet
    appendShortString(boundSheet, m_sheetName);
    const qsizetype sheetOffsetAt = appendRecord(out, RecordBoundSheet, boundSheet) + 4;

    const StringTable table = buildStringTable(m_strings, m_stringReferences);
    QList<qsizetype> recordStarts;
    for (qsizetype i = 0; i < table.records.size(); ++i)
        recordStarts.append(appendRecord(out, i == 0 ? RecordSst : RecordContinue, table.records.at(i)));
    QByteArray extSst;
    appendU16(extSst, table.stringsPerBucket);
    for (const StringTable::Position &start : table.bucketStarts) {
        appendU32(extSst, quint32(recordStarts.at(start.record) + 4 + start.offset));
        appendU16(extSst, quint16(4 + start.offset));
        appendU16(extSst, 0);
    }
    appendRecord(out, RecordExtSst, extSst);
    appendRecord(out, RecordEof, {});

    putU32(out, sheetOffsetAt, quint32(out.size()));
    appendRecord(out, RecordBof, bofData(0x0010));
    appendRecord(out, RecordDimensions, dimensionsData(int(m_rows.size()), m_columnCount));
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        const QList<quint32> &cells = m_rows.at(row);
        for (qsizetype column = 0; column < cells.size(); ++column) {
            if (cells.at(column) != kNoString)
                appendRecord(out, RecordLabelSst, labelSstData(int(row), int(column), cells.at(column)));
        }
    }
    appendRecord(out, RecordWindow2, window2Data());
    appendRecord(out, RecordEof, {});

    if (out.size() < kMinStreamSize)
        out.append(QByteArray(kMinStreamSize - out.size(), '\0'));
    return out;
}

} // namespace VexoTool
