// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// vexo-manual SOURCE.md IMAGEDIR OUTPUT.pdf FONTS: turns one language's manual into a PDF.
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
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: vexo-manual SOURCE.md IMAGEDIR OUTPUT.pdf FAMILY-OR-FILE[,...]\n");
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
            const double width = std::min<double>(imageWidth, picture.width() * 0.8);
            image.setWidth(width);
            image.setHeight(width * picture.height() / picture.width());
            pictures.append({fragment.position(), fragment.length(), image});
        }
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
            format.setTopMargin(px * (level == 1 ? 0 : level == 2 ? 6 : 14));
            format.setBottomMargin(px * 8);
            if (level == 2)
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
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
    tableFormat.setCellPadding(px * 0.8);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable *toc = at.insertTable(int(headings.size()), 2, tableFormat);
    for (int i = 0; i < headings.size(); ++i) {
        QTextCharFormat format;
        format.setFont(font);
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
    QList<Heading> placed = headingsOf(doc);
    // A section title left alone at the foot of a page moves to the next page with its text.
    for (const Heading &heading : std::as_const(placed)) {
        const QTextBlock next = heading.block.next();
        if (heading.level != 3 || !next.isValid() || pageOf(doc, heading.block) == pageOf(doc, next))
            continue;
        QTextBlockFormat format = heading.block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
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
    std::printf("%s: %d pages\n", qPrintable(args.at(3)), pages);
    return 0;
}
