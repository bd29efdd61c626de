// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "handoverreport.h"

#include "journaltexts.h"

#include <compoundfilewriter.h>
#include <deviceinfo.h>
#include <journal.h>
#include <journalrecord.h>
#include <userfilewriter.h>
#include <xlsworkbook.h>

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSet>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace VexoTool {

namespace {

constexpr int PageSize = 5000;
// Devices whose failure is followed up with a query each; with more, the journal is read once.
constexpr int MostDevicesAskedOneByOne = 50;
// Long tables are cut into parts: the text layout handles many short tables far faster than one long.
constexpr int RowsPerTable = 200;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Draws the report onto the pages of a PDF writer: headings, lines of text, and tables whose
// cells wrap at word boundaries, each table's header repeated on every page it continues on.
class ReportPainter
{
public:
    explicit ReportPainter(QPdfWriter &writer)
        : m_writer(writer)
        , m_painter(&writer)
    {
        m_page = writer.pageLayout().paintRectPixels(writer.resolution());
        m_body.setPointSizeF(7.5);
        m_bold = m_body;
        m_bold.setBold(true);
        m_heading = m_bold;
        m_heading.setPointSizeF(11);
        m_title = m_bold;
        m_title.setPointSizeF(15);
        m_padding = writer.resolution() / 36; // two points
        m_y = m_page.top();
        drawPageNumber();
    }

    bool isActive() const { return m_painter.isActive(); }

    void title(const QString &text) { paragraph(text, m_title); }
    void heading(const QString &text)
    {
        m_y += QFontMetrics(m_heading, &m_writer).height() / 2;
        paragraph(text, m_heading);
    }
    void line(const QString &text) { paragraph(text, m_body); }

    /**
     * @brief A table of @p rows under @p headers; @p widths are the columns' shares of the page's
     *        width. The cells of the columns in @p whole stay on one line: a serial number or MAC
     *        broken at a hyphen could not be searched for.
     */
    void table(const QStringList &headers, const QList<QStringList> &rows, const QList<double> &widths,
               const QList<int> &whole)
    {
        QList<int> columns;
        for (double share : widths)
            columns.append(int(share * m_page.width()));
        m_whole = whole;
        tableRow(headers, columns, true, headers, true);
        for (const QStringList &row : rows)
            tableRow(row, columns, false, headers, false);
        m_y += QFontMetrics(m_body, &m_writer).height();
    }

    /** @brief @p pictures in rows of six, each scaled into its cell with its caption under it. */
    void pictures(const QList<std::pair<QString, QImage>> &pictures)
    {
        constexpr int kPerRow = 6;
        const int cellWidth = m_page.width() / kPerRow;
        const int imageWidth = cellWidth - 2 * m_padding;
        const int imageHeight = imageWidth * 9 / 16;
        const int captionHeight = QFontMetrics(m_body, &m_writer).height();
        const int rowHeight = imageHeight + captionHeight + 3 * m_padding;
        m_painter.setFont(m_body);
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const int column = int(i % kPerRow);
            if (column == 0 && i > 0)
                m_y += rowHeight;
            if (column == 0 && m_y + rowHeight > m_page.bottom() - footerHeight())
                newPage();
            const int x = m_page.left() + column * cellWidth + m_padding;
            const QImage &image = pictures.at(i).second;
            const QSize fitted = image.size().scaled(imageWidth, imageHeight, Qt::KeepAspectRatio);
            m_painter.drawImage(QRect(QPoint(x, m_y), fitted), image);
            const QString caption
                = QFontMetrics(m_body, &m_writer).elidedText(pictures.at(i).first, Qt::ElideMiddle, imageWidth);
            m_painter.drawText(QRect(x, m_y + imageHeight + m_padding, imageWidth, captionHeight), Qt::TextSingleLine,
                               caption);
        }
        m_y += rowHeight + QFontMetrics(m_body, &m_writer).height();
    }

private:
    void paragraph(const QString &text, const QFont &font)
    {
        m_painter.setFont(font);
        const QRect room(m_page.left(), 0, m_page.width(), m_page.height());
        const int height = m_painter.boundingRect(room, Qt::TextWordWrap, text).height();
        if (m_y + height > m_page.bottom() - footerHeight())
            newPage();
        m_painter.drawText(QRect(m_page.left(), m_y, m_page.width(), height), Qt::TextWordWrap, text);
        m_y += height;
    }

    // The cell's text height: one line when it fits, else wrapped at words.
    int cellHeight(const QFontMetrics &metrics, const QString &text, int width) const
    {
        if (!text.contains(u'\n') && metrics.horizontalAdvance(text) <= width)
            return metrics.height();
        return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
    }

    void tableRow(const QStringList &cells, const QList<int> &columns, bool bold, const QStringList &headers,
                  bool isHeader)
    {
        const QFont &font = bold ? m_bold : m_body;
        const QFontMetrics metrics(font, &m_writer);
        int height = metrics.height();
        for (int c = 0; c < columns.size() && c < cells.size(); ++c) {
            if (!m_whole.contains(c))
                height = std::max(height, cellHeight(metrics, cells.at(c), columns.at(c) - 2 * m_padding));
        }
        height += 2 * m_padding;
        if (m_y + height > m_page.bottom() - footerHeight()) {
            newPage();
            if (!isHeader)
                tableRow(headers, columns, true, headers, true);
        }
        m_painter.setFont(font);
        int x = m_page.left();
        for (int c = 0; c < columns.size(); ++c) {
            const QRect cell(x, m_y, columns.at(c), height);
            if (isHeader)
                m_painter.fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
            m_painter.drawRect(cell);
            m_painter.drawText(cell.adjusted(m_padding, m_padding, -m_padding, -m_padding),
                               m_whole.contains(c) ? Qt::TextSingleLine : Qt::TextWordWrap, cells.value(c));
            x += columns.at(c);
        }
        m_y += height;
    }

    int footerHeight() const { return QFontMetrics(m_body, &m_writer).height() * 2; }

    void drawPageNumber()
    {
        ++m_pageNumber;
        m_painter.setFont(m_body);
        const int height = QFontMetrics(m_body, &m_writer).height();
        m_painter.drawText(QRect(m_page.left(), m_page.bottom() - height, m_page.width(), height), Qt::AlignRight,
                           QString::number(m_pageNumber));
    }

    void newPage()
    {
        m_writer.newPage();
        m_y = m_page.top();
        drawPageNumber();
    }

    QPdfWriter &m_writer;
    QPainter m_painter;
    QRect m_page;
    QFont m_body;
    QFont m_bold;
    QFont m_heading;
    QFont m_title;
    int m_padding = 0;
    int m_y = 0;
    int m_pageNumber = 0;
    QList<int> m_whole; // the current table's one-line columns
};

} // namespace

QVector<ReportDevice> HandoverReport::inventory(const QVector<VEXO_DEVICE_INFO> &records, const SnapshotOf &snapshotOf)
{
    QVector<VEXO_DEVICE_INFO> sorted = records;
    const auto addressOf = [](const VEXO_DEVICE_INFO &record) {
        return journalIpv4Number(fieldText(record.ipv4Address)).value_or(0);
    };
    std::stable_sort(sorted.begin(), sorted.end(), [&addressOf](const VEXO_DEVICE_INFO &a, const VEXO_DEVICE_INFO &b) {
        const quint32 left = addressOf(a);
        const quint32 right = addressOf(b);
        return left != right ? left < right : fieldText(a.serialNumber) < fieldText(b.serialNumber);
    });
    QVector<ReportDevice> devices;
    devices.reserve(sorted.size());
    for (const VEXO_DEVICE_INFO &record : std::as_const(sorted)) {
        ReportDevice device;
        device.serialNumber = fieldText(record.serialNumber);
        device.mac = fieldText(record.macAddress);
        device.model = fieldText(record.deviceTypeText);
        device.addresses = JournalTexts::valuesText(journalValuesOf(record));
        device.firmware = fieldText(record.softwareVersion);
        JournalEntry described;
        describeDevice(described, record);
        device.protocol = described.protocol;
        device.verification = JournalTexts::verificationText(described.verification);
        if (snapshotOf)
            device.snapshot = snapshotOf(record);
        devices.append(device);
    }
    return devices;
}

bool HandoverReport::readJournal(const Journal &journal, QString *error)
{
    changes.clear();
    openFailures.clear();
    const auto readAll
        = [&journal, error](const JournalFilter &filter, const std::function<void(const JournalEntry &)> &take) {
              for (int offset = 0;; offset += PageSize) {
                  const JournalPage page = journal.query(filter, offset, PageSize);
                  if (!page.ok)
                      return fail(error, tr("The journal cannot be read: %1").arg(page.error));
                  for (const JournalEntry &entry : page.entries)
                      take(entry);
                  if (page.entries.size() < PageSize)
                      return true;
              }
          };
    JournalFilter period;
    period.from = from;
    period.until = until;
    if (!readAll(period, [this](const JournalEntry &entry) { changes.append(entry); }))
        return false;

    // Newest first, the first entry of a device is its last operation. A period that reaches
    // the present holds the last operation of every device it names.
    const auto keyOf = [](const JournalEntry &entry) {
        return entry.serialNumber + QLatin1Char('\n') + entry.mac;
    };
    QSet<QString> decided;
    if (!until.isValid()) {
        for (const JournalEntry &entry : std::as_const(changes)) {
            if (!decided.contains(keyOf(entry))) {
                decided.insert(keyOf(entry));
                if (entry.result == JournalResult::Failed)
                    openFailures.append(entry);
            }
        }
    }
    // Every other device with a failure: open when nothing came after it.
    JournalFilter failures;
    failures.result = JournalResult::Failed;
    QList<JournalEntry> candidates;
    if (!readAll(failures, [&](const JournalEntry &entry) {
            if (!decided.contains(keyOf(entry))) {
                decided.insert(keyOf(entry));
                candidates.append(entry);
            }
        }))
        return false;
    if (candidates.size() > MostDevicesAskedOneByOne) {
        // Many devices to ask: one pass over the whole journal costs less.
        QSet<QString> seen;
        QSet<QString> open;
        for (const JournalEntry &entry : std::as_const(candidates))
            open.insert(keyOf(entry));
        QList<JournalEntry> found;
        if (!readAll(JournalFilter(), [&](const JournalEntry &entry) {
                if (seen.contains(keyOf(entry)))
                    return;
                seen.insert(keyOf(entry));
                if (open.contains(keyOf(entry)) && entry.result == JournalResult::Failed)
                    found.append(entry);
            }))
            return false;
        openFailures += found;
    } else {
        for (const JournalEntry &entry : std::as_const(candidates)) {
            JournalFilter device;
            device.device = entry.serialNumber.isEmpty() ? entry.mac : entry.serialNumber;
            const JournalPage newest = journal.query(device, 0, 1);
            if (!newest.ok)
                return fail(error, tr("The journal cannot be read: %1").arg(newest.error));
            if (!newest.entries.isEmpty() && newest.entries.first().id == entry.id)
                openFailures.append(entry);
        }
    }
    std::stable_sort(openFailures.begin(), openFailures.end(),
                     [](const JournalEntry &a, const JournalEntry &b) { return a.time > b.time; });
    return true;
}

QStringList HandoverReport::deviceHeaders()
{
    return {tr("Serial Number"), tr("MAC"),      tr("Model"),       tr("Protocol"),
            tr("Addresses"),     tr("Firmware"), tr("Verification")};
}

QStringList HandoverReport::deviceRow(const ReportDevice &device)
{
    return {device.serialNumber, device.mac,      device.model,       device.protocol,
            device.addresses,    device.firmware, device.verification};
}

QStringList HandoverReport::changeHeaders()
{
    return {tr("Time"), tr("Operation"), tr("Serial Number"), tr("Before"), tr("After"), tr("Result"), tr("User")};
}

QStringList HandoverReport::changeRow(const JournalEntry &entry)
{
    QString result = journalResultName(entry.result);
    if (!entry.explanation.isEmpty())
        result += QStringLiteral(": ") + entry.explanation;
    return {JournalTexts::timeText(entry),
            journalFlowName(entry.flow),
            entry.serialNumber,
            JournalTexts::valuesText(entry.before),
            JournalTexts::valuesText(entry.after),
            result,
            entry.user};
}

QStringList HandoverReport::failureHeaders()
{
    return {tr("Serial Number"), tr("MAC"), tr("Time"), tr("Operation"), tr("Explanation")};
}

QStringList HandoverReport::failureRow(const JournalEntry &entry)
{
    return {entry.serialNumber, entry.mac, JournalTexts::timeText(entry), journalFlowName(entry.flow),
            entry.explanation};
}

QString HandoverReport::operatorText() const
{
    //: the hand-over report's operator when the operating system does not say who it is
    return operatorName.isEmpty() ? tr("unknown") : operatorName;
}

QString HandoverReport::periodText() const
{
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    //: the period of the hand-over report's changes when it has no start
    const QString start = from.isValid() ? from.toLocalTime().toString(format) : tr("the first entry");
    //: the period of the hand-over report's changes when it has no end
    const QString end = until.isValid() ? until.toLocalTime().toString(format) : tr("now");
    //: %1 and %2 are the period's start and end
    return tr("%1 to %2").arg(start, end);
}

bool HandoverReport::writePdf(const QString &path, QString *error) const
{
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                     QPageLayout::Millimeter));
    writer.setResolution(300);
    writer.setTitle(tr("Hand-over report: %1").arg(site));
    writer.setCreator(QCoreApplication::applicationName());
    {
        ReportPainter pages(writer);
        if (!pages.isActive())
            return fail(error, tr("%1 cannot be written.").arg(QDir::toNativeSeparators(path)));
        pages.title(tr("Hand-over report: %1").arg(site));
        pages.line(tr("Date: %1").arg(created.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        pages.line(tr("Operator: %1").arg(operatorText()));
        pages.line(tr("Changes from %1").arg(periodText()));

        QList<QStringList> rows;
        for (const ReportDevice &device : devices)
            rows.append(deviceRow(device));
        //: heading of the hand-over report's device list; %1 is how many
        pages.heading(tr("Devices (%1)").arg(devices.size()));
        pages.table(deviceHeaders(), rows, {0.19, 0.12, 0.09, 0.06, 0.33, 0.12, 0.09}, {0, 1});

        // What the cameras see, so the customer can tell them apart as the installer did.
        QList<std::pair<QString, QImage>> pictures;
        for (const ReportDevice &device : devices) {
            if (!device.snapshot.isNull())
                pictures.append({device.serialNumber, device.snapshot});
        }
        if (!pictures.isEmpty()) {
            //: heading of the hand-over report's camera pictures; %1 is how many
            pages.heading(tr("Snapshots (%1)").arg(pictures.size()));
            pages.pictures(pictures);
        }

        rows.clear();
        for (const JournalEntry &entry : changes)
            rows.append(changeRow(entry));
        pages.heading(tr("Changes (%1)").arg(changes.size()));
        pages.table(changeHeaders(), rows, {0.13, 0.12, 0.19, 0.18, 0.18, 0.12, 0.08}, {2});

        rows.clear();
        for (const JournalEntry &entry : openFailures)
            rows.append(failureRow(entry));
        pages.heading(tr("Failures still open (%1)").arg(openFailures.size()));
        pages.table(failureHeaders(), rows, {0.22, 0.14, 0.14, 0.16, 0.34}, {0, 1});
    }
    // The writer says nothing about a file it could not write; look for it.
    if (QFileInfo(path).size() <= 0)
        return fail(error, tr("%1 cannot be written.").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool HandoverReport::writeXls(const QString &path, QString *error) const
{
    const int width = int(std::max({deviceHeaders().size(), changeHeaders().size(), failureHeaders().size()}));
    XlsWorkbook workbook;
    QStringList columns;
    for (int c = 0; c < width; ++c)
        columns.append(QString());
    columns[0] = tr("Hand-over report: %1").arg(site);
    //: name of the hand-over report workbook's sheet
    bool ok = workbook.createSheet(tr("Hand-over"), columns);
    const auto add = [&ok, &workbook](const QStringList &row) {
        ok = ok && workbook.insertRow(row);
    };
    add({tr("Date: %1").arg(created.toString(QStringLiteral("yyyy-MM-dd HH:mm")))});
    add({tr("Operator: %1").arg(operatorText())});
    add({tr("Changes from %1").arg(periodText())});
    add({});
    add({tr("Devices (%1)").arg(devices.size())});
    add(deviceHeaders());
    for (const ReportDevice &device : devices)
        add(deviceRow(device));
    add({});
    add({tr("Changes (%1)").arg(changes.size())});
    add(changeHeaders());
    for (const JournalEntry &entry : changes)
        add(changeRow(entry));
    add({});
    add({tr("Failures still open (%1)").arg(openFailures.size())});
    add(failureHeaders());
    for (const JournalEntry &entry : openFailures)
        add(failureRow(entry));
    if (!ok)
        return fail(error, workbook.errorString());
    QString why;
    const std::optional<QByteArray> container
        = CompoundFileWriter::singleStreamFile(QStringLiteral("Workbook"), workbook.stream(), &why);
    if (!container || !UserFileWriter::write(path, *container, &why))
        return fail(error, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

QString HandoverReport::workbookPathBeside(const QString &pdfPath)
{
    const QFileInfo info(pdfPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xls"));
}

} // namespace VexoTool
