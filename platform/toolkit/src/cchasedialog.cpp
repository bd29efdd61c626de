// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cchasedialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QTimer>
#include <QTransform>
#include <QVBoxLayout>

namespace aKLOGUIToolkit {

namespace {

constexpr int SpinnerSize = 48;
constexpr int RotationStep = 30;
constexpr int RotationIntervalMs = 80;

// Stand-in for a missing image: an open arc whose rotation reads as a spinner.
QPixmap drawnSpinner()
{
    QPixmap pixmap(SpinnerSize, SpinnerSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xf7, 0x42, 0x48), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRect(6, 6, SpinnerSize - 12, SpinnerSize - 12), 0, 270 * 16);
    return pixmap;
}

} // namespace

CChaseDialog::CChaseDialog(QWidget *parent, const QString &imagePath, const QString &text, bool cancelable)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_labelImage(new QLabel(this))
    , m_labelText(new QLabel(text, this))
    , m_cancelable(cancelable)
{
    setObjectName(QStringLiteral("CChaseDialog"));
    setModal(true);
    m_labelImage->setObjectName(QStringLiteral("m_labelImage"));
    m_labelImage->setAlignment(Qt::AlignCenter);
    m_labelImage->setMinimumSize(SpinnerSize, SpinnerSize);
    m_labelText->setObjectName(QStringLiteral("m_labelText"));
    m_labelText->setAlignment(Qt::AlignCenter);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_labelImage);
    layout->addWidget(m_labelText);

    auto movie = new QMovie(imagePath, QByteArray(), this);
    if (!imagePath.isEmpty() && movie->isValid() && movie->frameCount() > 1) {
        m_movie = movie;
        m_labelImage->setMovie(m_movie);
    } else {
        delete movie;
        m_stillImage = QPixmap(imagePath);
        if (m_stillImage.isNull())
            m_stillImage = drawnSpinner();
        m_labelImage->setPixmap(m_stillImage);
        m_rotationTimer = new QTimer(this);
        m_rotationTimer->setInterval(RotationIntervalMs);
        connect(m_rotationTimer, &QTimer::timeout, this, &CChaseDialog::advanceRotation);
    }
}

CChaseDialog::~CChaseDialog() = default;

QString CChaseDialog::Text() const
{
    return m_labelText->text();
}

int CChaseDialog::exec()
{
    // The worker may have finished before the caller got here.
    if (m_stopped) {
        setResult(QDialog::Accepted);
        return QDialog::Accepted;
    }
    startAnimation();
    m_inExec = true;
    const int result = QDialog::exec();
    m_inExec = false;
    stopAnimation();
    return result;
}

void CChaseDialog::OnImmediatelyStopChase()
{
    if (m_stopped)
        return;
    m_stopped = true;
    stopAnimation();
    // Finishing through the event queue means the dialog's own event loop is already
    // running, even when the stop arrives while exec() is still showing the dialog.
    if (m_inExec)
        QTimer::singleShot(0, this, &CChaseDialog::finishExec);
}

void CChaseDialog::finishExec()
{
    if (m_inExec)
        done(QDialog::Accepted);
}

void CChaseDialog::reject()
{
    if (m_cancelable || m_stopped)
        QDialog::reject();
}

void CChaseDialog::closeEvent(QCloseEvent *event)
{
    if (m_cancelable || m_stopped)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void CChaseDialog::startAnimation()
{
    if (m_movie)
        m_movie->start();
    else if (m_rotationTimer)
        m_rotationTimer->start();
}

void CChaseDialog::stopAnimation()
{
    if (m_movie)
        m_movie->stop();
    else if (m_rotationTimer)
        m_rotationTimer->stop();
}

void CChaseDialog::advanceRotation()
{
    m_angle = (m_angle + RotationStep) % 360;
    const QPixmap rotated = m_stillImage.transformed(QTransform().rotate(m_angle), Qt::SmoothTransformation);
    // Rotation grows the bounding box; cut the centre back out so the image does not wobble.
    const QRect centre((rotated.width() - m_stillImage.width()) / 2, (rotated.height() - m_stillImage.height()) / 2,
                       m_stillImage.width(), m_stillImage.height());
    m_labelImage->setPixmap(rotated.copy(centre));
}

} // namespace aKLOGUIToolkit
