// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Build-time renderer of the skin's SVG drawings.
//
//   svg2png [--replace FROM=TO]... [--background COLOR] [--frames N] IN.svg OUT.png WIDTH HEIGHT
//
// Renders IN.svg into a WIDTHxHEIGHT PNG. Each --replace substitutes a text in the
// SVG first, so one drawing yields its colour variants (normal, hover, disabled).
// With --frames N the drawing is rendered N times, turned by 360/N degrees about
// its centre each time, into OUT_00.png, OUT_01.png, ... (frames of a spinner).

#include <QCommandLineParser>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "svg2png: %s\n", qPrintable(message));
    return 1;
}

QImage render(QSvgRenderer &renderer, QSize size, const QColor &background, qreal angle)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background.isValid() ? background : QColor(Qt::transparent));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (angle != 0) {
        painter.translate(size.width() / 2.0, size.height() / 2.0);
        painter.rotate(angle);
        painter.translate(-size.width() / 2.0, -size.height() / 2.0);
    }
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    // The drawings hold no text, so rendering needs neither fonts nor a display.
    QCoreApplication app(argc, argv);

    QCommandLineParser parser;
    const QCommandLineOption replaceOption("replace", "Replace a text of the SVG before rendering.", "FROM=TO");
    const QCommandLineOption backgroundOption("background", "Fill colour behind the drawing.", "COLOR");
    const QCommandLineOption framesOption("frames", "Render N turned frames.", "N");
    parser.addOptions({replaceOption, backgroundOption, framesOption});
    parser.addPositionalArgument("input", "SVG file");
    parser.addPositionalArgument("output", "PNG file");
    parser.addPositionalArgument("width", "width in pixels");
    parser.addPositionalArgument("height", "height in pixels");
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 4)
        return fail("expected IN.svg OUT.png WIDTH HEIGHT");
    bool widthOk = false;
    bool heightOk = false;
    const QSize size(args.at(2).toInt(&widthOk), args.at(3).toInt(&heightOk));
    if (!widthOk || !heightOk || size.isEmpty())
        return fail("bad size " + args.at(2) + "x" + args.at(3));

    QFile input(args.at(0));
    if (!input.open(QIODevice::ReadOnly))
        return fail("cannot read " + args.at(0));
    QByteArray svg = input.readAll();
    for (const QString &replacement : parser.values(replaceOption)) {
        const qsizetype separator = replacement.indexOf('=');
        if (separator <= 0)
            return fail("bad --replace " + replacement);
        const QByteArray from = replacement.left(separator).toUtf8();
        if (!svg.contains(from))
            return fail("text to replace not in the drawing: " + replacement.left(separator));
        svg.replace(from, replacement.mid(separator + 1).toUtf8());
    }

    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return fail("not a valid SVG: " + args.at(0));

    QColor background;
    if (parser.isSet(backgroundOption)) {
        background = QColor(parser.value(backgroundOption));
        if (!background.isValid())
            return fail("bad colour " + parser.value(backgroundOption));
    }

    const QString output = args.at(1);
    if (!parser.isSet(framesOption)) {
        if (!render(renderer, size, background, 0).save(output, "PNG"))
            return fail("cannot write " + output);
        return 0;
    }

    bool framesOk = false;
    const int frames = parser.value(framesOption).toInt(&framesOk);
    if (!framesOk || frames < 2 || frames > 99)
        return fail("bad frame count " + parser.value(framesOption));
    QString stem = output;
    if (stem.endsWith(".png", Qt::CaseInsensitive))
        stem.chop(4);
    for (int frame = 0; frame < frames; ++frame) {
        const QString name = QStringLiteral("%1_%2.png").arg(stem).arg(frame, 2, 10, QLatin1Char('0'));
        if (!render(renderer, size, background, 360.0 * frame / frames).save(name, "PNG"))
            return fail("cannot write " + name);
    }
    return 0;
}
