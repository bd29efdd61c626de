// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceactivepage.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

constexpr int PictureSize = 100;

QString centred(const QString &text)
{
    return QStringLiteral("<html><head/><body><p align=\"center\">%1</p></body></html>").arg(text);
}

QLabel *namedLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

DeviceActivePage::DeviceActivePage(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    m_labelToolTitle = namedLabel("m_labelToolTitle", this);
    m_labelToolTitle->setText(QStringLiteral("<html><head/><body><p><br/></p></body></html>"));
    m_labelNetPara = namedLabel("m_labelNetPara", this);
    m_labelPicture = namedLabel("m_labelPicture", this);
    m_labelPicture->setFixedSize(PictureSize, PictureSize);
    m_labelWord1 = namedLabel("m_labelWord1", this);
    m_labelWord1->setWordWrap(true);
    m_labelWord2 = namedLabel("m_labelWord2", this);
    m_labelWord2->setWordWrap(true);

    m_tipWidget = new QWidget(this);
    m_tipWidget->setObjectName(QStringLiteral("m_tipWidget"));
    m_tipWidget->setAttribute(Qt::WA_StyledBackground);
    m_labelWord3 = namedLabel("m_labelWord3", m_tipWidget);
    m_labelWord3->setWordWrap(true);
    auto *tipLayout = new QVBoxLayout(m_tipWidget);
    tipLayout->setContentsMargins(10, 8, 10, 8);
    tipLayout->addWidget(m_labelWord3);

    m_labelGrayline2 = namedLabel("m_labelGrayline2", this);
    m_labelGrayline2->setFixedHeight(1);
    m_labelActiveNow = namedLabel("m_labelActiveNow", this);
    m_labelGrayline3 = namedLabel("m_labelGrayline3", this);
    m_labelGrayline3->setFixedHeight(1);
    auto *headingLayout = new QHBoxLayout();
    headingLayout->setSpacing(8);
    headingLayout->addWidget(m_labelGrayline2, 1);
    headingLayout->addWidget(m_labelActiveNow);
    headingLayout->addWidget(m_labelGrayline3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->setSpacing(12);
    layout->addWidget(m_labelToolTitle);
    layout->addWidget(m_labelNetPara);
    layout->addSpacing(20);
    layout->addWidget(m_labelPicture, 0, Qt::AlignHCenter);
    layout->addWidget(m_labelWord1);
    layout->addWidget(m_labelWord2);
    layout->addWidget(m_tipWidget);
    layout->addStretch(1);
    layout->addLayout(headingLayout);

    showSingleInactive();
}

void DeviceActivePage::setPicture(const QString &path)
{
    const QImage image(path);
    m_labelPicture->setPixmap(
        QPixmap::fromImage(image.scaled(PictureSize, PictureSize, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

void DeviceActivePage::showInactive(const QString &title)
{
    m_labelNetPara->setText(centred(title));
    m_labelWord1->setText(centred(tr("Device not activated")));
    m_labelWord2->hide();
    m_labelWord3->setText(centred(tr("The network parameters can be modified after the device is activated")));
    m_tipWidget->show();
    m_labelActiveNow->setText(tr("Active now"));
    m_labelGrayline2->show();
    m_labelActiveNow->show();
    m_labelGrayline3->show();
    setPicture(QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/ParamModify/icon_not_activated.png"));
}

void DeviceActivePage::showSingleInactive()
{
    showInactive(tr("Device active"));
}

void DeviceActivePage::showBatchInactive()
{
    showInactive(tr("Batch devices active"));
}

void DeviceActivePage::showMixed()
{
    m_labelNetPara->setText(centred(tr("Batch devices network parameters")));
    m_labelWord1->setText(tr("Sorry,the devices you have chosen has not activated devices"));
    m_labelWord2->setText(
        QStringLiteral("<html><head/><body><p>%1<span style=\"font-weight:600;\">%2</span>%3</p></body></html>")
            .arg(tr("Note: please activate"), tr("the device"), tr("to perform other operations")));
    m_labelWord2->show();
    m_tipWidget->hide();
    m_labelGrayline2->hide();
    m_labelActiveNow->hide();
    m_labelGrayline3->hide();
    setPicture(QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/ParamModify/icon_abnormal.png"));
}

} // namespace VexoTool
