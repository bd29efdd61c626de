// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// vexo-manual SOURCE.md IMAGEDIR OUTPUT.pdf FONTS AUTHOR: turns one language's manual into a PDF
// whose title (the manual's first heading) and author readers show in the document's properties.
// Qt's Markdown reader lays the text out, pictures come from IMAGEDIR (the screenshots of that
// language), a table of contents with page numbers follows the title, and every page but the
// first carries its number. Qt embeds the fonts it draws with, so the PDF reads anywhere.

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <QAbstractTextDocumentLayout>

#include <cstdio>

namespace {

struct Heading
{
    QString text;
    int level = 0;
    QTextBlock block;
};

// The pictures' widths are given in the 96 dpi pixels of the document; Qt scales them to the device.
constexpr double kImageDpi = 96.0;
// Screenshots print a little smaller than on screen: the program's 9-point text stays readable.
constexpr double kPictureScale = 0.85;
// A picture that would leave the rest of its page empty shrinks down to this share to fit there.
constexpr double kSmallestFit = 0.6;

QList<Heading> headingsOf(const QTextDocument &doc)
{
    QList<Heading> headings;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 2 || level == 3)
            headings.append({block.text(), level, block});
    }
    return headings;
}

// A PDF text string: UTF-16 with its byte order mark, as hex, so any script and any bracket passes.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

// Gives the finished PDF at @p path the document information the writer cannot set (the author)
// by an incremental update: a new information dictionary and a trailer that points at it and at
// the writer's own cross-reference table. Readers take the last trailer.
bool addDocumentInfo(const QString &path, const QString &title, const QString &author)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray pdf = file.readAll();
    const QRegularExpressionMatch start = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"))
                                              .match(QString::fromLatin1(pdf.right(64)));
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (!start.hasMatch() || trailerAt < 0)
        return false;
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt, 256));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(trailer);
    const QRegularExpressionMatch root
        = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+)\\s+R")).match(trailer);
    if (!size.hasMatch() || !root.hasMatch())
        return false;
    const int object = size.captured(1).toInt();
    // The writer's date of creation carries over into the new dictionary.
    const QRegularExpressionMatch created
        = QRegularExpression(QStringLiteral("/CreationDate\\s*(\\(D:[^)]*\\))")).match(QString::fromLatin1(pdf));
    QByteArray update = "\n";
    const qsizetype objectAt = pdf.size() + update.size();
    update += QByteArray::number(object) + " 0 obj\n<<\n/Title " + pdfText(title) + "\n/Author " + pdfText(author)
              + "\n/Creator (vexo-manual)\n/Producer (Qt " QT_VERSION_STR ")\n"
              + (created.hasMatch() ? "/CreationDate " + created.captured(1).toLatin1() + '\n' : QByteArray())
              + ">>\nendobj\n";
    const qsizetype xrefAt = pdf.size() + update.size();
    update += "xref\n" + QByteArray::number(object) + " 1\n" + QByteArray::number(objectAt).rightJustified(10, '0')
              + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(object + 1) + "\n/Root " + root.captured(1).toLatin1()
              + " R\n/Info " + QByteArray::number(object) + " 0 R\n/Prev " + start.captured(1).toLatin1()
              + "\n>>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return file.write(update) == update.size();
}

int pageOf(const QTextDocument &doc, const QTextBlock &block)
{
    // Where its first line stands: a line pushed to the next page leaves the block's top behind.
    const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    const double top = rect.top() + (layout && layout->lineCount() > 0 ? layout->lineAt(0).y() : 0.0);
    return int(top / doc.pageSize().height()) + 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: vexo-manual SOURCE.md IMAGEDIR OUTPUT.pdf FAMILY-OR-FILE[,...] AUTHOR\n");
        return 2;
    }
    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());
    const QString imageDir = args.at(2);

    QPdfWriter writer(args.at(3));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 16, 18, 18),
                                     QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("vexo-manual"));

    // The fourth argument names font families or font files, separated by commas; files are
    // loaded for this run only (the Chinese manual brings a cut-down copy of its font).
    QStringList families;
    for (const QString &entry : args.at(4).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!QFile::exists(entry)) {
            families.append(entry);
            continue;
        }
        const QStringList loaded = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(entry));
        if (loaded.isEmpty()) {
            std::fprintf(stderr, "cannot load the font %s\n", qPrintable(entry));
            return 1;
        }
        if (!families.contains(loaded.first()))
            families.append(loaded.first());
    }

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setDefaultStyleSheet(QString());
    doc.setBaseUrl(QUrl::fromLocalFile(imageDir + QLatin1Char('/')));
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    // The title is the manual's own first heading, as the window title names the program.
    QString title;
    for (QTextBlock block = doc.begin(); block.isValid() && title.isEmpty(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1)
            title = block.text();
    }
    writer.setTitle(title);

    const QRect body = writer.pageLayout().paintRectPixels(writer.resolution());
    const QSizeF page(body.width(), body.height() - writer.resolution() * 0.35); // room for the page number
    doc.setPageSize(page);
    const double imageWidth = page.width() * kImageDpi / writer.resolution();
    // Margins, rules and padding are in the writer's pixels; px is one pixel of a 96 dpi screen.
    const double px = writer.resolution() / kImageDpi;

    // Pictures span the text width; headings get air above them and start a new page at level 2.
    QStringList missing;
    struct Picture
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Picture> pictures;
    QList<std::pair<int, int>> codeFragments;
    bool firstChapterSeen = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(imageDir + QLatin1Char('/') + image.name());
            if (picture.isNull()) {
                missing.append(image.name());
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            const double width = std::min<double>(imageWidth, picture.width() * kPictureScale);
            image.setWidth(width);
            image.setHeight(width * picture.height() / picture.width());
            pictures.append({fragment.position(), fragment.length(), image});
        }
        const bool pictureBlock = !pictures.isEmpty() && block.contains(pictures.last().position);
        // Code keeps its monospace font and falls back to the text's font for other scripts.
        bool codeBlock = !block.text().isEmpty();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().fontFixedPitch())
                codeFragments.append({fragment.position(), fragment.length()});
            else
                codeBlock = false;
        }
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setTopMargin(px * (level == 1 ? 0 : level == 2 ? 28 : 14));
            format.setBottomMargin(px * 8);
            // The first chapter starts after the title page; the others where the layout says.
            if (level == 2 && !firstChapterSeen) {
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                format.setTopMargin(px * 6); // the page break gives the air above it
                firstChapterSeen = true;
            }
            cursor.setBlockFormat(format);
        } else if (QTextCursor(block).currentTable()) { // cells stay tight
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setTopMargin(0);
            format.setBottomMargin(0);
            cursor.setBlockFormat(format);
        } else if (!codeBlock) { // code keeps its own spacing
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setBottomMargin(px * 6);
            // A picture's line is as high as the picture: air under it comes from the margin.
            if (!pictureBlock)
                format.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
            cursor.setBlockFormat(format);
        }
    }
    // Tables get thin single rules instead of the reader's double frame.
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorder(px);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            format.setBorderBrush(Qt::gray);
            format.setCellPadding(px * 4);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            // Two columns: the one with more text gets the larger share.
            if (table->columns() == 2) {
                qsizetype text[2] = {0, 0};
                for (int row = 0; row < table->rows(); ++row) {
                    for (int column = 0; column < 2; ++column) {
                        const QTextTableCell cell = table->cellAt(row, column);
                        text[column] += cell.lastPosition() - cell.firstPosition();
                    }
                }
                const double left = text[0] > text[1] ? 64 : 36;
                format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, left),
                                                  QTextLength(QTextLength::PercentageLength, 100 - left)});
            }
            table->setFormat(format);
        }
    }
    QTextCharFormat code;
    code.setFontFamilies(QStringList{QStringLiteral("DejaVu Sans Mono")} + families);
    code.setFontFixedPitch(true);
    for (const auto &[position, length] : std::as_const(codeFragments)) {
        QTextCursor cursor(&doc);
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(code);
    }
    // Formats change after the walk, which a changed fragment would otherwise cut short.
    for (const Picture &picture : std::as_const(pictures)) {
        QTextCursor cursor(&doc);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "missing pictures in %s: %s\n", qPrintable(imageDir), qPrintable(missing.join(u' ')));
        return 1;
    }

    // The table of contents goes after the title block (everything before the first chapter).
    const QList<Heading> headings = headingsOf(doc);
    if (headings.isEmpty()) {
        std::fprintf(stderr, "no chapters in %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QTextCursor at(headings.first().block);
    at.insertBlock();
    at.movePosition(QTextCursor::PreviousBlock);
    // The block split off before the first chapter would keep its heading format and page break.
    QTextBlockFormat plain;
    plain.setTopMargin(px * 12);
    at.setBlockFormat(plain);
    at.setBlockCharFormat(QTextCharFormat());
    QTextTableFormat tableFormat;
    tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    tableFormat.setBorder(0);
    tableFormat.setCellPadding(px * 0.5);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable *toc = at.insertTable(int(headings.size()), 2, tableFormat);
    // The contents fit on the title page: their lines are a little smaller than the text's.
    QFont contentsFont(font);
    contentsFont.setPointSizeF(9.5);
    for (int i = 0; i < headings.size(); ++i) {
        QTextCharFormat format;
        format.setFont(contentsFont);
        if (headings.at(i).level == 2)
            format.setFontWeight(QFont::Bold);
        QTextCursor title = toc->cellAt(i, 0).firstCursorPosition();
        QTextBlockFormat indent;
        indent.setIndent(headings.at(i).level - 2);
        title.setBlockFormat(indent);
        title.insertText(headings.at(i).text, format);
        QTextCursor number = toc->cellAt(i, 1).firstCursorPosition();
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        number.setBlockFormat(right);
        number.insertText(QStringLiteral("00"), format);
    }
    // The page numbers of the chapters, now that the contents take their room. The headings are
    // looked up again: the first one's block was split to make room for the contents.
    // A chapter starts on a new page when less than a third of the page before it is left: pages
    // are neither nearly empty nor begin a chapter at their foot.
    for (const Heading &heading : headingsOf(doc)) {
        if (heading.level != 2 || heading.block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        const double pageHeight = doc.pageSize().height();
        const double top = doc.documentLayout()->blockBoundingRect(heading.block).top();
        if (top - int(top / pageHeight) * pageHeight < pageHeight * 2 / 3)
            continue;
        QTextBlockFormat format = heading.block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        format.setTopMargin(px * 6); // the page break gives the air above it
        QTextCursor(heading.block).setBlockFormat(format);
    }

    // A picture that does not fit below the text before it would leave a gap of up to a page:
    // where a smaller copy fits, it takes the room instead.
    // The contents moved every picture: they are looked up again.
    QList<Picture> placedPictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                placedPictures.append(
                    {it.fragment().position(), it.fragment().length(), it.fragment().charFormat().toImageFormat()});
        }
    }
    for (const Picture &picture : std::as_const(placedPictures)) {
        const QTextBlock block = doc.findBlock(picture.position);
        const QTextBlock previous = block.previous();
        if (!block.isValid() || !previous.isValid())
            continue;
        QAbstractTextDocumentLayout *layout = doc.documentLayout();
        const double pageHeight = doc.pageSize().height();
        const double previousBottom = layout->blockBoundingRect(previous).bottom();
        const int previousPage = int(previousBottom / pageHeight);
        if (pageOf(doc, block) - 1 <= previousPage)
            continue;
        const double room = (previousPage + 1) * pageHeight - previousBottom - doc.documentMargin() * 2
                            - block.blockFormat().topMargin() - block.blockFormat().bottomMargin() - px * 4;
        const QTextImageFormat format = picture.format;
        const double scale = room / format.height();
        if (scale < kSmallestFit || scale >= 1.0)
            continue;
        QTextImageFormat smaller = format;
        smaller.setWidth(format.width() * scale);
        smaller.setHeight(format.height() * scale);
        QTextCursor cursor(&doc);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(smaller);
    }

    // A short table that would break across two pages moves to the next one whole.
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table || table == toc)
            continue;
        const double pageHeight = doc.pageSize().height();
        const QRectF box = doc.documentLayout()->frameBoundingRect(table);
        if (int(box.top() / pageHeight) == int((box.bottom() - 1) / pageHeight) || box.height() > pageHeight / 3)
            continue;
        QTextTableFormat format = table->format();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        table->setFormat(format);
    }

    QList<Heading> placed = headingsOf(doc);
    // A title left alone at the foot of a page moves to the next page with its text.
    for (const Heading &heading : std::as_const(placed)) {
        const QTextBlock next = heading.block.next();
        if (heading.level < 2 || !next.isValid() || pageOf(doc, heading.block) == pageOf(doc, next))
            continue;
        QTextBlockFormat format = heading.block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        format.setTopMargin(px * 6); // the page break gives the air above it
        QTextCursor(heading.block).setBlockFormat(format);
    }
    placed = headingsOf(doc);
    for (int i = 0; i < placed.size() && i < headings.size(); ++i) {
        QTextCursor number = toc->cellAt(i, 1).firstCursorPosition();
        number.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        number.insertText(QString::number(pageOf(doc, placed.at(i).block)));
    }

    QPainter painter(&writer);
    const int pages = doc.pageCount();
    QFont footer(font);
    footer.setPointSizeF(9);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        doc.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
        if (i > 0) {
            painter.setFont(footer);
            painter.setPen(Qt::darkGray);
            painter.drawText(
                QRectF(0, body.height() - writer.resolution() * 0.25, body.width(), writer.resolution() * 0.25),
                Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
        }
    }
    painter.end();
    if (!addDocumentInfo(args.at(3), title, args.at(5))) {
        std::fprintf(stderr, "cannot add the title and author to %s\n", qPrintable(args.at(3)));
        return 1;
    }
    std::printf("%s: %d pages\n", qPrintable(args.at(3)), pages);
    return 0;
}
