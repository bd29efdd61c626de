// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "cdlgabout.h"

#include "ui_aboutclass.h"
#include "widget.h"

namespace aptui {

CDlgAbout::CDlgAbout(QObject *parent)
    : QWidgetAction(parent)
    , m_ui(std::make_unique<Ui::AboutClass>())
{
    m_widget = new Widget(nullptr);
    m_ui->setupUi(m_widget);
    m_widget->setWindowTitle(tr("About"));
    m_widget->setFixedSize(288, 134);
    setDefaultWidget(m_widget); // the action owns the panel from here on
    m_widget->setObjectName(QStringLiteral("AboutDialog_ID_FX_CANNOT_BE_MULTI"));

    //: %1 is the program's version
    m_ui->m_labVersionValue->setText(tr(" v%1").arg(QStringLiteral(VEXO_VERSION)) + QStringLiteral(" Build")
                                     + QString::number(buildNumber()));

    connect(m_ui->aboutbtn1, &QPushButton::clicked, this, &CDlgAbout::siganlBtn1Clicked);
    connect(m_ui->aboutbtn2, &QPushButton::clicked, this, &CDlgAbout::siganlBtn2Clicked);
    connect(m_ui->m_conerBtn, &QPushButton::clicked, this, &CDlgAbout::signalConerBtnClicked);
    m_ui->SoftIcon->setStyleSheet(QStringLiteral("QLabel#SoftIcon{border-image: url(:/VEXOTool/Logo/logo_large.png)}"));
}

CDlgAbout::~CDlgAbout() = default;

unsigned CDlgAbout::buildNumber()
{
    return buildNumberFromDate(QString::fromLatin1(__DATE__));
}

unsigned CDlgAbout::buildNumberFromDate(const QString &buildDate)
{
    static const char *const months[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QString month = buildDate.left(3);
    for (int i = 0; i < 12; ++i) {
        if (month == QLatin1String(months[i])) {
            month = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            break;
        }
    }
    const int day = buildDate.mid(4, 2).trimmed().toInt();
    const QString year = buildDate.mid(7, 4);
    bool ok = false;
    const unsigned number = (year + month + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'))).toUInt(&ok, 10);
    return ok ? number : 0;
}

void CDlgAbout::setNameText(const QString &text)
{
    m_ui->m_labNameValue->setText(tr("Name: ") + text);
}

void CDlgAbout::setVersionText(const QString &text)
{
    m_ui->m_labVersionValue->setText(tr("Version: ") + text);
}

void CDlgAbout::setBtn1Text(const QString &text)
{
    m_ui->aboutbtn1->setText(text);
}

void CDlgAbout::setBtn2Text(const QString &text)
{
    m_ui->aboutbtn2->setText(text);
}

void CDlgAbout::setConerBtnText(const QString &text)
{
    m_ui->m_conerBtn->setText(text);
}

// "Visible" here is the widget's own state: the panel is not on screen until its menu pops up.
void CDlgAbout::setBtn1Visible(bool visible)
{
    const bool shown = !m_ui->aboutbtn1->isHidden();
    m_ui->aboutLine1->setVisible(shown || visible);
    m_ui->aboutLine2->setVisible(shown && visible);
    m_ui->aboutbtn1->setVisible(visible);
}

void CDlgAbout::setBtn2Visible(bool visible)
{
    const bool shown = !m_ui->aboutbtn2->isHidden();
    m_ui->aboutLine1->setVisible(shown || visible);
    m_ui->aboutLine2->setVisible(shown && visible);
    m_ui->aboutbtn2->setVisible(visible);
}

void CDlgAbout::setConerBtnVisible(bool visible)
{
    m_ui->m_conerBtn->setVisible(visible);
}

void CDlgAbout::setLinesAndButtonsVisible(bool visible)
{
    m_ui->aboutLine1->setVisible(visible);
    m_ui->aboutLine2->setVisible(visible);
    m_ui->aboutbtn1->setVisible(visible);
    m_ui->aboutbtn2->setVisible(visible);
}

} // namespace aptui
