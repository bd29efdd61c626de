// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// The user manual as an installer gets it: both PDFs beside the program, readable as text,
// with their chapters, a table of contents that points at the right pages, every picture the
// source asks for, every font embedded, a title and an author; and a text that quotes the
// program as its catalogues have it and explains every error the program explains.

// The program's explanations of error codes, where this build has them.
#if __has_include(<errorexplanation.h>)
#    include <errorexplanation.h>
#    define VEXO_HAS_ERROR_EXPLANATION 1
#endif

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

class TestManual : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pdfHasPagesInRange_data();
    void pdfHasPagesInRange();
    void chaptersAreTextInContentsAndBody_data();
    void chaptersAreTextInContentsAndBody();
    void contentsPointAtChapterPages_data();
    void contentsPointAtChapterPages();
    void referencedScreenshotsWereProduced_data();
    void referencedScreenshotsWereProduced();
    void fontsAreEmbedded_data();
    void fontsAreEmbedded();
    void pdfNamesTitleAndAuthor_data();
    void pdfNamesTitleAndAuthor();
    void quotedTextsAreTheProgramsTexts_data();
    void quotedTextsAreTheProgramsTexts();
    void troubleshootingNamesTheExplainedErrors_data();
    void troubleshootingNamesTheExplainedErrors();
    void namesEveryMenuEntryAndPanelButton_data();
    void namesEveryMenuEntryAndPanelButton();
    void pdfTextHoldsTheQuotedTexts_data();
    void pdfTextHoldsTheQuotedTexts();

private:
    void addLanguages();
    struct Heading
    {
        QString text;
        int level;
    };
    static QList<Heading> headingsOf(const QString &markdown);
    static QString run(const QString &program, const QStringList &arguments);
    static QString withoutLigatures(QString text);
    static QString normalized(QString text);
    QString m_binDir;
    QString m_sourceDir;
    QString m_shotsDir;
};

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void TestManual::initTestCase()
{
    m_binDir = qEnvironmentVariable("VEXO_TEST_BIN_DIR");
    m_sourceDir = qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/docs/manual");
    m_shotsDir = qEnvironmentVariable("VEXO_MANUAL_SHOTS_DIR");
    QVERIFY(!m_binDir.isEmpty());
    QVERIFY(QFile::exists(m_sourceDir));
}

void TestManual::addLanguages()
{
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("language");
    QTest::addRow("English") << "VEXO User Manual.pdf"
                             << "manual.en.md"
                             << "en";
    QTest::addRow("Chinese") << QStringLiteral("设备网络搜索用户使用手册.pdf") << "manual.zh.md"
                             << "zh";
}

QList<TestManual::Heading> TestManual::headingsOf(const QString &markdown)
{
    QList<Heading> headings;
    static const QRegularExpression heading(QStringLiteral("^(#{1,3}) +(.+)$"), QRegularExpression::MultilineOption);
    for (auto it = heading.globalMatch(markdown); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        headings.append({match.captured(2).trimmed(), int(match.capturedLength(1))});
    }
    return headings;
}

QString TestManual::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Ligatures are undone; anything else (a radical for an ideograph) must come out as written.
QString TestManual::withoutLigatures(QString text)
{
    return text.replace(QChar(0xFB00), QStringLiteral("ff"))
        .replace(QChar(0xFB01), QStringLiteral("fi"))
        .replace(QChar(0xFB02), QStringLiteral("fl"))
        .replace(QChar(0xFB03), QStringLiteral("ffi"))
        .replace(QChar(0xFB04), QStringLiteral("ffl"));
}

// pdftotext may also break or pad a line differently from the source; words in order is what counts.
QString TestManual::normalized(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return withoutLigatures(text).replace(space, QStringLiteral(" "));
}

void TestManual::pdfHasPagesInRange_data()
{
    addLanguages();
}

void TestManual::pdfHasPagesInRange()
{
    QFETCH(QString, pdf);
    const QString info = run(QStringLiteral("pdfinfo"), {QDir(m_binDir).filePath(pdf)});
    const QRegularExpressionMatch pages
        = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(info);
    QVERIFY2(pages.hasMatch(), qPrintable(info));
    // One page of contents and one or more per chapter; far more means broken layout.
    const int count = pages.captured(1).toInt();
    QVERIFY2(count >= 12 && count <= 40, qPrintable(QString::number(count)));
}

void TestManual::chaptersAreTextInContentsAndBody_data()
{
    addLanguages();
}

void TestManual::chaptersAreTextInContentsAndBody()
{
    QFETCH(QString, pdf);
    QFETCH(QString, source);
    const QString text
        = normalized(run(QStringLiteral("pdftotext"), {QDir(m_binDir).filePath(pdf), QStringLiteral("-")}));
    const QList<Heading> headings = headingsOf(readAll(QDir(m_sourceDir).filePath(source)));
    QVERIFY(headings.size() >= 10);
    for (const Heading &heading : headings) {
        const QString title = normalized(heading.text);
        // Chapters and sections appear in the contents and again where they begin.
        const int expected = heading.level == 1 ? 1 : 2;
        QVERIFY2(text.count(title) >= expected, qPrintable(title));
    }
}

void TestManual::contentsPointAtChapterPages_data()
{
    addLanguages();
}

void TestManual::contentsPointAtChapterPages()
{
    QFETCH(QString, pdf);
    QFETCH(QString, source);
    const QStringList pages = run(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-layout"), QDir(m_binDir).filePath(pdf), QStringLiteral("-")})
                                  .split(QLatin1Char('\f'));
    QVERIFY(pages.size() > 2);
    const QList<Heading> headings = headingsOf(readAll(QDir(m_sourceDir).filePath(source)));
    for (const Heading &heading : headings) {
        if (heading.level != 2)
            continue;
        // Where the chapter begins: the page with its title on a line of its own.
        const QRegularExpression title(QStringLiteral("^\\s*") + QRegularExpression::escape(heading.text)
                                           + QStringLiteral("\\s*$"),
                                       QRegularExpression::MultilineOption);
        int page = 0;
        for (int i = 0; i < pages.size() && page == 0; ++i) {
            if (title.match(pages.at(i)).hasMatch())
                page = i + 1;
        }
        QVERIFY2(page > 1, qPrintable(heading.text));
        const QRegularExpression entry(QRegularExpression::escape(heading.text) + QStringLiteral(" +")
                                           + QString::number(page) + QStringLiteral("\\s*$"),
                                       QRegularExpression::MultilineOption);
        QVERIFY2(entry.match(pages.first() + pages.at(1)).hasMatch(),
                 qPrintable(heading.text + QStringLiteral(" on page ") + QString::number(page)));
        // Its page carries its number at the foot.
        QVERIFY2(pages.at(page - 1).contains(QStringLiteral("%1 / %2").arg(page).arg(pages.size() - 1)),
                 qPrintable(heading.text));
    }
}

void TestManual::referencedScreenshotsWereProduced_data()
{
    addLanguages();
}

void TestManual::referencedScreenshotsWereProduced()
{
    QFETCH(QString, source);
    QFETCH(QString, language);
    const QString markdown = readAll(QDir(m_sourceDir).filePath(source));
    static const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\(([^)]+)\\)"));
    int count = 0;
    for (auto it = picture.globalMatch(markdown); it.hasNext(); ++count) {
        const QString name = it.next().captured(1);
        const QImage image(QDir(m_shotsDir).filePath(language + QLatin1Char('/') + name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QVERIFY2(image.width() >= 200 && image.height() >= 100, qPrintable(name));
    }
    QVERIFY(count >= 10);
}

void TestManual::fontsAreEmbedded_data()
{
    addLanguages();
}

void TestManual::fontsAreEmbedded()
{
    QFETCH(QString, pdf);
    const QStringList lines = run(QStringLiteral("pdffonts"), {QDir(m_binDir).filePath(pdf)}).split(QLatin1Char('\n'));
    // A header of two lines, then one line per font whose "emb" column reads "yes".
    QVERIFY(lines.size() > 3);
    static const QRegularExpression embedded(
        QStringLiteral("\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"));
    int fonts = 0;
    for (const QString &line : lines.mid(2)) {
        const QRegularExpressionMatch match = embedded.match(line);
        if (!match.hasMatch())
            continue;
        ++fonts;
        QVERIFY2(match.captured(1) == QStringLiteral("yes"), qPrintable(line));
    }
    QVERIFY(fonts > 0);
}

namespace {

// The translation of @p source in @p context of the catalogue of @p language, as the program shows it.
QString catalogueTranslation(const QString &language, const char *context, const char *source)
{
    QFile file(qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/translations/vexotool_%1.ts").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QString currentContext;
    QString currentSource;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            currentContext = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            currentSource = xml.readElementText();
        else if (xml.name() == QLatin1String("translation") && currentContext == QLatin1String(context)
                 && currentSource == QLatin1String(source))
            return xml.readElementText();
    }
    return {};
}

} // namespace

void TestManual::pdfNamesTitleAndAuthor_data()
{
    addLanguages();
}

void TestManual::pdfNamesTitleAndAuthor()
{
    QFETCH(QString, pdf);
    QFETCH(QString, language);
    const QString windowTitle = catalogueTranslation(language, "VexoTool::VEXOToolMainPage", "VEXO Tool");
    QVERIFY(!windowTitle.isEmpty());
    const QString info = run(QStringLiteral("pdfinfo"), {QDir(m_binDir).filePath(pdf)});
    const auto field = [&info](const char *name) {
        const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(info).captured(1).trimmed();
    };
    // The manual is named after the program as its window title names it.
    QVERIFY2(field("Title").startsWith(windowTitle + QLatin1Char(' ')), qPrintable(info));
    QVERIFY2(!field("Author").isEmpty(), qPrintable(info));
}

namespace {

// What a user of @p language reads for each text of the catalogue: the translation, or the
// source text where the translation is missing. Arguments (%1) match any text.
QList<QRegularExpression> catalogueTexts(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QRegularExpression> texts;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            QString pattern = QRegularExpression::escape(translation.isEmpty() ? source : translation);
            // escape() may have escaped the '%' of an argument as well.
            pattern.replace(QRegularExpression(QStringLiteral("\\\\?%\\d")), QStringLiteral(".+"));
            texts.append(QRegularExpression(QRegularExpression::anchoredPattern(pattern)));
        }
    }
    return texts;
}

// The manual's text without code: what stands in backticks or indented blocks is no program text.
QString proseOf(const QString &markdown)
{
    static const QRegularExpression code(QStringLiteral("`[^`\n]*`|^    .*$"), QRegularExpression::MultilineOption);
    return QString(markdown).remove(code);
}

// The texts the manual quotes, in double quotes or in Chinese quotation marks.
QStringList quotesOf(const QString &markdown)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"\n]+)\"|“([^”\n]+)”"));
    QStringList quotes;
    for (auto it = quoted.globalMatch(proseOf(markdown)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        quotes.append(match.captured(1) + match.captured(2));
    }
    return quotes;
}

// Without any white space and with "..." as one character: the PDF's lines break where the
// source's do not, and Chinese text has no spaces to break at.
QString squeezed(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.replace(QStringLiteral("..."), QStringLiteral("…")).remove(space);
}

} // namespace

void TestManual::quotedTextsAreTheProgramsTexts_data()
{
    addLanguages();
}

void TestManual::quotedTextsAreTheProgramsTexts()
{
    QFETCH(QString, source);
    QFETCH(QString, language);
    const QList<QRegularExpression> texts = catalogueTexts(
        qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/translations/vexotool_%1.ts").arg(language));
    QVERIFY(texts.size() > 100);
    const QString markdown = readAll(QDir(m_sourceDir).filePath(source));
    QStringList headings;
    for (const Heading &heading : headingsOf(markdown))
        headings.append(heading.text);
    QStringList unknown;
    int count = 0;
    for (const QString &quote : quotesOf(markdown)) {
        ++count;
        // A quoted chapter title points at that chapter.
        if (headings.contains(quote))
            continue;
        if (std::none_of(texts.begin(), texts.end(),
                         [&quote](const QRegularExpression &text) { return text.match(quote).hasMatch(); }))
            unknown.append(quote);
    }
    QVERIFY(count >= 20);
    QVERIFY2(unknown.isEmpty(),
             qPrintable(QStringLiteral("not in the catalogue: ") + unknown.join(QStringLiteral(" | "))));
}

void TestManual::troubleshootingNamesTheExplainedErrors_data()
{
    addLanguages();
}

void TestManual::troubleshootingNamesTheExplainedErrors()
{
    QFETCH(QString, source);
    const QString markdown = readAll(QDir(m_sourceDir).filePath(source));
    // The troubleshooting chapter is the one with the table of error numbers.
    const QStringList chapters
        = markdown.split(QRegularExpression(QStringLiteral("^## "), QRegularExpression::MultilineOption));
    const auto troubleshooting = std::find_if(chapters.begin(), chapters.end(), [](const QString &chapter) {
        return chapter.contains(QStringLiteral("2009")) && chapter.contains(QLatin1Char('|'));
    });
    QVERIFY(troubleshooting != chapters.end());
    QSet<quint32> named;
    static const QRegularExpression number(QStringLiteral("\\b(20\\d\\d)\\b"));
    for (auto it = number.globalMatch(*troubleshooting); it.hasNext();)
        named.insert(it.next().captured(1).toUInt());

    // Every number it names is one the discovery library reports.
    QSet<quint32> defined;
    static const QRegularExpression error(QStringLiteral("#define VEXO_ERR_\\w+ +(\\d+)"));
    const QString header
        = readAll(qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/platform/vexo/include/Vexo.h"));
    for (auto it = error.globalMatch(header); it.hasNext();)
        defined.insert(it.next().captured(1).toUInt());
    QVERIFY(defined.size() > 10);
    for (const quint32 code : std::as_const(named))
        QVERIFY2(defined.contains(code), qPrintable(QString::number(code)));

    // Every error the program explains has its row.
    QSet<quint32> explained;
#ifdef VEXO_HAS_ERROR_EXPLANATION
    for (const quint32 code : std::as_const(defined)) {
        if (!VexoTool::ErrorExplanation::forCode(code).isEmpty())
            explained.insert(code);
    }
    QVERIFY(!explained.isEmpty());
#else
    explained = {2007, 2009, 2011, 2022, 2024, 2028};
#endif
    for (const quint32 code : std::as_const(explained))
        QVERIFY2(named.contains(code), qPrintable(QString::number(code)));
}

void TestManual::namesEveryMenuEntryAndPanelButton_data()
{
    addLanguages();
}

void TestManual::namesEveryMenuEntryAndPanelButton()
{
    QFETCH(QString, source);
    QFETCH(QString, language);
    // The screenshot tool notes the menu's entries and the panel's buttons as the program shows them.
    QFile names(QDir(m_shotsDir).filePath(language + QStringLiteral("/program-names.txt")));
    QVERIFY(names.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList entries = QString::fromUtf8(names.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(entries.size() >= 8, qPrintable(entries.join(QStringLiteral(" | "))));
    const QString manual = squeezed(readAll(QDir(m_sourceDir).filePath(source)));
    QStringList missing;
    for (const QString &entry : entries) {
        if (!manual.contains(squeezed(entry)))
            missing.append(entry);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not named: ") + missing.join(QStringLiteral(" | "))));
}

void TestManual::pdfTextHoldsTheQuotedTexts_data()
{
    addLanguages();
}

void TestManual::pdfTextHoldsTheQuotedTexts()
{
    QFETCH(QString, pdf);
    QFETCH(QString, source);
    // What a reader finds when searching the PDF: its text layer, not the pictures of the glyphs.
    const QString text = squeezed(
        withoutLigatures(run(QStringLiteral("pdftotext"), {QDir(m_binDir).filePath(pdf), QStringLiteral("-")})));
    QVERIFY(!text.isEmpty());
    const QStringList wanted = QStringList{QStringLiteral("IPv4"), QStringLiteral("IPv6")}
                               + quotesOf(readAll(QDir(m_sourceDir).filePath(source)));
    QStringList missing;
    for (const QString &quote : wanted) {
        if (!text.contains(squeezed(quote)))
            missing.append(quote);
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("not in the text layer: ") + missing.join(QStringLiteral(" | "))));
}

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
