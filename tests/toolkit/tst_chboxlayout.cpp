// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/chboxlayout.h>
#include <akloguitoolkit/cwidgetitem.h>

#include <QLabel>
#include <QTest>

using aKLOGUIToolkit::CHBoxLayout;
using aKLOGUIToolkit::CWidgetItem;

class tst_CHBoxLayout : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

void tst_CHBoxLayout::placement_data()
{
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<int>("stretch");

    QTest::addRow("left, no stretch") << Qt::Alignment(Qt::AlignLeft) << 0;
    QTest::addRow("right, no stretch") << Qt::Alignment(Qt::AlignRight) << 0;
    QTest::addRow("left, stretched") << Qt::Alignment(Qt::AlignLeft) << 1;
    QTest::addRow("right, stretched") << Qt::Alignment(Qt::AlignRight) << 1;
}

void tst_CHBoxLayout::placement()
{
    QFETCH(Qt::Alignment, alignment);
    QFETCH(int, stretch);

    QWidget host;
    auto layout = new CHBoxLayout(&host);
    layout->SetLayoutContentsMargins(4, 0, 4, 0);
    layout->SetLayoutSpacing(10);
    auto icon = new QLabel(QStringLiteral("I"), &host);
    icon->setFixedSize(24, 24);
    layout->AddWidget(icon);
    auto title = new QLabel(QStringLiteral("Title"), &host);
    layout->AddItem(new CWidgetItem(title, alignment), stretch);
    auto tail = new QWidget(&host);
    tail->setMinimumWidth(30);
    tail->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->AddWidget(tail);
    host.resize(400, 35);
    host.show();
    layout->activate();

    QCOMPARE(icon->x(), 4);
    QCOMPARE(title->width(), title->sizeHint().width());
    if (alignment & Qt::AlignLeft)
        QCOMPARE(title->x(), 4 + 24 + 10);
    else
        QCOMPARE(title->geometry().right() + 1 + 10, tail->x());
    QCOMPARE(tail->geometry().right(), 400 - 4 - 1);
    // A stretched title cell takes the free room; without stretch the expanding tail does.
    if (stretch > 0)
        QCOMPARE(tail->width(), 30);
    else
        QVERIFY(tail->width() > 200);
}

QTEST_MAIN(tst_CHBoxLayout)

#include "tst_chboxlayout.moc"
