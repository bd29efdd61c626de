// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "coverwidget.h"
#include "multistatelineedit.h"
#include "skinloader.h"
#include "treeviewwithleftpixmapdelegate.h"
#include "windowtitle.h"

#include <iskinplugin.h>

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QMovie>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

const QString Inputs = QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/BaseControl/Inputs/");
const QString TipDialog = QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/TipDialog/");
const QString Dialog = QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/Dialog/");
const QString ParamModify = QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/ParamModify/");
const QString Password = QStringLiteral(":/CommonSkin/Password/Images/Public/Control/Password/");
const QString Complex = QStringLiteral(":/aptui/complex/Images/System/Complex/");

bool hasVisiblePixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

QColor pixelOf(QWidget &widget, QPoint point)
{
    return widget.grab().toImage().pixelColor(point);
}

} // namespace

class tst_CommonSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namedImages_data();
    void namedImages();
    void loadingAnimation();
    void hiDpiTwins_data();
    void hiDpiTwins();
    void sourceLiterals_data();
    void sourceLiterals();
    void styleSheetParses();
    void lineEditStates_data();
    void lineEditStates();
    void renamedButtonFollowsItsRule();
    void coverDimsTheWindow();
    void tableRows_data();
    void tableRows();
    void checkedRowIsFramed();

private:
    QString m_styleSheet;
};

void tst_CommonSkin::initTestCase()
{
    const QString file = QStringLiteral(SKIN_PLUGIN_FILE);
    auto *loader = new QPluginLoader(file, this);
    auto *skin = qobject_cast<ISkinPlugin *>(loader->instance());
    QVERIFY2(skin, qPrintable(loader->errorString()));
    QCOMPARE(skin->skinNames(), QStringList{"CommonSkin"});

    m_styleSheet = apt::SkinLoader::styleSheet();
    QVERIFY(!m_styleSheet.isEmpty());
    qApp->setStyleSheet(m_styleSheet);
}

void tst_CommonSkin::namedImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    // The size is checked where a widget shows the image unscaled at a fixed size.
    for (const char *bar : {"grey", "red", "yellow", "green"})
        QTest::addRow("%s bar", bar) << Password + bar + ".png" << QSize();
    for (const char *kind : {"ok", "info", "error"}) {
        QTest::addRow("%s hint", kind) << Inputs + "icon_alert_" + kind + ".png" << QSize();
        QTest::addRow("%s large", kind) << TipDialog + "icon_alert_" + kind + "_large.png" << QSize();
    }
    for (const char *variant : {"", "_hover", "_dis"})
        QTest::addRow("folder%s", variant) << Dialog + "icon_floder_open" + variant + ".png" << QSize();
    QTest::addRow("not activated") << ParamModify + "icon_not_activated.png" << QSize();
    QTest::addRow("abnormal") << ParamModify + "icon_abnormal.png" << QSize();
    QTest::addRow("import") << ParamModify + "icon_import.png" << QSize();
    QTest::addRow("window icon") << Complex + "calculate.png" << QSize();
    for (const char *tab : {"left", "leftSel", "right", "RightSel"})
        QTest::addRow("pin %s", tab) << Complex + tab + ".png" << QSize(14, 69);
    QTest::addRow("logo") << ":/VEXOTool/Logo/logo.png" << QSize(24, 24);
    QTest::addRow("large logo") << ":/VEXOTool/Logo/logo_large.png" << QSize(40, 40);
}

void tst_CommonSkin::namedImages()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(hasVisiblePixel(image));
    if (size.isValid())
        QCOMPARE(image.size(), size);
}

void tst_CommonSkin::loadingAnimation()
{
    QMovie movie(":/CommonSkin/Loading/Images/Public/Control/Loading/Loading.gif");
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() > 1);
    QVERIFY(movie.jumpToFrame(0));
    const QImage first = movie.currentImage();
    QVERIFY(movie.jumpToNextFrame());
    QVERIFY(!first.isNull());
    QVERIFY(movie.currentImage() != first);
    QVERIFY(movie.nextFrameDelay() > 0);
}

void tst_CommonSkin::hiDpiTwins_data()
{
    QTest::addColumn<QString>("path");
    for (const char *root : {":/CommonSkin", ":/aptui", ":/VEXOTool"}) {
        QDirIterator it(root, {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith("@2x.png"))
                QTest::addRow("%s", qPrintable(path)) << path;
        }
    }
}

void tst_CommonSkin::hiDpiTwins()
{
    QFETCH(QString, path);
    QString twinPath = path;
    twinPath.insert(twinPath.size() - 4, "@2x");
    const QImage image(path);
    const QImage twin(twinPath);
    QVERIFY2(!twin.isNull(), qPrintable(twinPath));
    QCOMPARE(twin.size(), image.size() * 2);
}

void tst_CommonSkin::sourceLiterals_data()
{
    QTest::addColumn<QString>("path");

    // Every resource path written in the program's sources and style sheets.
    const QString root = qEnvironmentVariable("VEXO_SOURCE_DIR");
    const QRegularExpression literal(R"(:/(?:CommonSkin|aptui|aKLOHome|VEXOTool)/[^"'()\s<>]*)");
    int found = 0;
    QDirIterator it(root, {"*.cpp", "*.h", "*.ui", "*.qss"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(root).relativeFilePath(file);
        // Build trees hold copies, and tests may name missing resources on purpose.
        if (relative.startsWith("build") || relative.startsWith("tests/") || relative.startsWith('.'))
            continue;
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(source.readAll()).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            for (const QRegularExpressionMatch &match : literal.globalMatch(lines.at(i))) {
                QTest::addRow("%s:%d %s", qPrintable(relative), i + 1, qPrintable(match.captured()))
                    << match.captured();
                ++found;
            }
        }
    }
    if (found == 0)
        QTest::addRow("no resource path found under %s", qPrintable(root)) << ":/nothing scanned";
}

void tst_CommonSkin::sourceLiterals()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo::exists(path), qPrintable(path));
}

void tst_CommonSkin::styleSheetParses()
{
    QTest::failOnWarning(QRegularExpression("style ?sheet", QRegularExpression::CaseInsensitiveOption));
    // The macOS sheet stays out; the program's sheet comes last.
    QVERIFY(!m_styleSheet.contains("MacSpecialMarker"));
    QVERIFY(m_styleSheet.endsWith(apt::SkinLoader::styleSheet(":/none/")));
    qApp->setStyleSheet(QString());
    qApp->setStyleSheet(m_styleSheet);
    QWidget widget;
    widget.ensurePolished();
}

void tst_CommonSkin::lineEditStates_data()
{
    QTest::addColumn<aptui::MultiStateLineEdit::State>("state");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QColor>("border");
    QTest::addColumn<QColor>("background");

    using Edit = aptui::MultiStateLineEdit;
    QTest::addRow("Normal") << Edit::NORMAL << true << QColor("#D9D9D9") << QColor("#FFFFFF");
    QTest::addRow("Error") << Edit::ERROR << true << QColor("#F74248") << QColor("#FFF3F3");
    QTest::addRow("Tip") << Edit::TIP << true << QColor("#F5A623") << QColor("#FFF9EC");
    QTest::addRow("Normal read-only") << Edit::NORMAL << false << QColor("#E3E5E8") << QColor("#F5F6F7");
}

void tst_CommonSkin::lineEditStates()
{
    QFETCH(aptui::MultiStateLineEdit::State, state);
    QFETCH(bool, editable);
    QFETCH(QColor, border);
    QFETCH(QColor, background);

    aptui::MultiStateLineEdit edit;
    edit.resize(120, 28);
    edit.setReadOnly(!editable);
    // From another state, so the change itself must restyle the field.
    edit.setLineEditState(state == aptui::MultiStateLineEdit::ERROR ? aptui::MultiStateLineEdit::TIP
                                                                    : aptui::MultiStateLineEdit::ERROR);
    edit.grab();
    edit.setLineEditState(state);
    QCOMPARE(pixelOf(edit, QPoint(0, 14)), border);
    QCOMPARE(pixelOf(edit, QPoint(60, 14)), background);
}

void tst_CommonSkin::renamedButtonFollowsItsRule()
{
    aptui::WindowTitle title;
    title.resize(400, 35);
    auto *button = title.findChild<QToolButton *>("m_btnMaximize");
    QVERIFY(button);
    const auto rename = [button](const char *name) {
        button->setObjectName(name);
        button->style()->unpolish(button);
        button->style()->polish(button);
        return button->grab().toImage();
    };
    const QImage maximize = rename("m_btnMaximize");
    const QImage restore = rename("m_btnResore");
    QVERIFY(maximize != restore);
    QCOMPARE(rename("m_btnMaximize"), maximize);
    QCOMPARE(maximize, QImage(":/aptui/title/Images/System/Title/btn_max.png").convertToFormat(maximize.format()));
}

void tst_CommonSkin::coverDimsTheWindow()
{
    QWidget window;
    window.setStyleSheet("QWidget#window { background-color: #FFFFFF; }");
    window.setObjectName("window");
    window.resize(80, 60);
    auto *cover = new aptui::CoverWidget(&window);
    cover->resize(window.size());
    // Dimmed to about 60 % of white: visibly covered, still readable underneath.
    const QColor dimmed = pixelOf(window, QPoint(40, 30));
    QVERIFY2(qAbs(dimmed.red() - 153) <= 2, qPrintable(dimmed.name()));
    QCOMPARE(dimmed.red(), dimmed.green());
    QCOMPARE(dimmed.green(), dimmed.blue());
}

void tst_CommonSkin::tableRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("colour");

    QTest::addRow("plain row") << 0 << QColor("#FFFFFF");
    QTest::addRow("alternate row") << 1 << QColor("#FFF1F2");
    QTest::addRow("selected row looks hovered") << 2 << QColor("#E4E6EB");
}

void tst_CommonSkin::tableRows()
{
    QFETCH(int, row);
    QFETCH(QColor, colour);

    QTreeView view;
    QStandardItemModel model(4, 2);
    view.setModel(&model);
    view.setRootIsDecorated(false);
    view.setAlternatingRowColors(true);
    view.setItemDelegate(new aptui::TreeViewWithLeftPixmapDelegate(&view));
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(300, 200);
    view.selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    const QRect rect = view.visualRect(model.index(row, 1));
    QVERIFY(rect.isValid());
    const QImage image = view.viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(rect.center()), colour);
}

void tst_CommonSkin::checkedRowIsFramed()
{
    QTreeView view;
    QStandardItemModel model(4, 2);
    for (int row = 0; row < 4; ++row) {
        auto *check = new QStandardItem;
        check->setCheckable(true);
        check->setCheckState(row == 1 ? Qt::Checked : Qt::Unchecked);
        model.setItem(row, 0, check);
    }
    view.setModel(&model);
    view.setRootIsDecorated(false);
    view.setAlternatingRowColors(true);
    view.setItemDelegate(new aptui::TreeViewWithLeftPixmapDelegate(&view));
    view.resize(300, 200);

    const QImage image = view.viewport()->grab().toImage();
    const QColor red("#F74248");
    for (int row = 0; row < 4; ++row) {
        // The second column: the frame runs through the whole row, not only the check cell.
        const QRect rect = view.visualRect(model.index(row, 1));
        QCOMPARE(image.pixelColor(rect.center().x(), rect.top()) == red, row == 1);
        QCOMPARE(image.pixelColor(rect.center().x(), rect.bottom()) == red, row == 1);
        QVERIFY(image.pixelColor(rect.center()) != red);
    }
}

QTEST_MAIN(tst_CommonSkin)
#include "tst_commonskin.moc"
