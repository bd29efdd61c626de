// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/ctabledelegate.h>
#include <akloguitoolkit/ctableview.h>

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>

using aKLOGUIToolkit::CTableDelegate;
using aKLOGUIToolkit::CTableView;

namespace {

const QColor DecorationColor(255, 0, 0);
const QColor RightPixmapColor(0, 0, 255);
const QColor GridColor(0, 200, 0);

QPixmap filled(const QColor &color)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(color);
    return pixmap;
}

// The hooks a view's own delegate overrides: pixmaps on the left, extras on hover.
class LeftPixmapDelegate : public CTableDelegate
{
public:
    using CTableDelegate::CTableDelegate;

protected:
    int PixmapAlignment(const QStyleOptionViewItem &, const QModelIndex &) const override { return Qt::AlignLeft; }
    int MoreRightPixmapState() const override { return QStyle::State_MouseOver; }
};

// Columns of the cell (0,0) in which \a color appears.
QList<int> columnsWith(const QImage &image, const QRect &cell, const QColor &color)
{
    QList<int> columns;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            if (image.pixelColor(x, y) == color) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

} // namespace

class tst_CTableView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void gridLines_data();
    void gridLines();
    void pixmapPlacement_data();
    void pixmapPlacement();

private:
    QImage render();
    QRect firstCell() const;

    std::unique_ptr<CTableView> m_view;
    std::unique_ptr<QStandardItemModel> m_model;
};

void tst_CTableView::init()
{
    m_model = std::make_unique<QStandardItemModel>(2, 2);
    auto item = new QStandardItem;
    item->setData(filled(DecorationColor), Qt::DecorationRole);
    item->setData(filled(RightPixmapColor), CTableDelegate::MoreRightPixmapRole);
    m_model->setItem(0, 0, item);
    m_view = std::make_unique<CTableView>();
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Mid, GridColor);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, Qt::white);
    m_view->setPalette(palette);
    m_view->setModel(m_model.get());
    m_view->header()->resizeSection(0, 120);
    m_view->resize(300, 150);
}

void tst_CTableView::cleanup()
{
    m_view.reset();
    m_model.reset();
}

QImage tst_CTableView::render()
{
    return m_view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect tst_CTableView::firstCell() const
{
    return m_view->visualRect(m_model->index(0, 0));
}

void tst_CTableView::gridLines_data()
{
    QTest::addColumn<bool>("show");

    QTest::addRow("shown") << true;
    QTest::addRow("hidden") << false;
}

void tst_CTableView::gridLines()
{
    QFETCH(bool, show);

    QVERIFY(m_view->IsGridLineShown());
    m_view->ShowGridLine(show);
    const QImage image = render();
    const QRect cell = m_view->visualRect(m_model->index(1, 1));
    // The line under the second row and the line right of the first column.
    QCOMPARE(image.pixelColor(cell.center().x(), cell.bottom()) == GridColor, show);
    QCOMPARE(image.pixelColor(119, cell.center().y()) == GridColor, show);
}

void tst_CTableView::pixmapPlacement_data()
{
    QTest::addColumn<bool>("leftDelegate");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("decorationOnLeft");
    QTest::addColumn<bool>("rightPixmapShown");

    QTest::addRow("toolkit delegate, unselected") << false << false << false << false;
    QTest::addRow("toolkit delegate, selected") << false << true << false << true;
    QTest::addRow("left delegate, unselected") << true << false << true << false;
    QTest::addRow("left delegate, selected is not hover") << true << true << true << false;
}

void tst_CTableView::pixmapPlacement()
{
    QFETCH(bool, leftDelegate);
    QFETCH(bool, selected);
    QFETCH(bool, decorationOnLeft);
    QFETCH(bool, rightPixmapShown);

    if (leftDelegate)
        m_view->setItemDelegate(new LeftPixmapDelegate(m_view.get()));
    else
        m_view->setItemDelegate(new CTableDelegate(m_view.get()));
    m_view->ShowGridLine(false);
    if (selected)
        m_view->selectionModel()->select(m_model->index(0, 0), QItemSelectionModel::Select);

    const QImage image = render();
    const QRect cell = firstCell();
    // A selected cell tints its pixmap, so the placement is checked on unselected cells.
    if (!selected) {
        const QList<int> decoration = columnsWith(image, cell, DecorationColor);
        QVERIFY(!decoration.isEmpty());
        if (decorationOnLeft)
            QVERIFY2(decoration.last() < cell.center().x(), qPrintable(QString::number(decoration.last())));
        else
            QVERIFY2(decoration.first() > cell.center().x(), qPrintable(QString::number(decoration.first())));
    }
    QCOMPARE(!columnsWith(image, cell, RightPixmapColor).isEmpty(), rightPixmapShown);
}

QTEST_MAIN(tst_CTableView)

#include "tst_ctableview.moc"
