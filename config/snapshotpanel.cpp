// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotpanel.h"

#include <basedialog.h>
#include <snapshotsource.h>
#include <snapshottexts.h>

#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QKeyEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

namespace VexoTool {

SnapshotPanel::SnapshotPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("m_snapshotPanel"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("m_labelSnapshot"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setFocusPolicy(Qt::StrongFocus);
    //: tool tip of the camera's snapshot in the panel
    m_picture->setToolTip(tr("Click to see it larger"));
    m_picture->installEventFilter(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("m_labelSnapshotStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    //: button that takes a new snapshot of the camera shown in the panel
    m_btnRefresh = new QPushButton(tr("Refresh"), this);
    m_btnRefresh->setObjectName(QStringLiteral("m_btnSnapshotRefresh"));
    m_btnSave = new QPushButton(tr("Save Snapshot..."), this);
    m_btnSave->setObjectName(QStringLiteral("m_btnSnapshotSave"));

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    buttons->addWidget(m_btnRefresh);
    buttons->addWidget(m_btnSave);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 0);
    layout->setSpacing(6);
    layout->addWidget(m_picture);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setTabOrder(m_picture, m_btnRefresh);
    setTabOrder(m_btnRefresh, m_btnSave);

    connect(m_btnRefresh, &QPushButton::clicked, this, &SnapshotPanel::refresh);
    connect(m_btnSave, &QPushButton::clicked, this, &SnapshotPanel::onSave);
    hide();
}

SnapshotPanel::~SnapshotPanel() = default;

void SnapshotPanel::setSource(std::shared_ptr<SnapshotSource> source)
{
    m_source = std::move(source);
}

void SnapshotPanel::showDevice(const std::optional<DeviceInfo> &device)
{
    if (!device || !m_source || !m_source->available(*device)) {
        ++m_request;
        m_device.reset();
        m_snapshot.reset();
        hide();
        return;
    }
    const bool same = m_device && m_device->strSerialNumber == device->strSerialNumber
                      && m_device->strIPv4Address == device->strIPv4Address;
    m_device = device;
    show();
    if (!same)
        refresh();
}

void SnapshotPanel::refresh()
{
    if (!m_device || !m_source)
        return;
    const quint64 request = ++m_request;
    m_snapshot.reset();
    updatePicture();
    m_status->setText(tr("Taking a snapshot..."));
    m_status->setToolTip(QString());
    m_btnRefresh->setEnabled(false);
    m_btnSave->setEnabled(false);
    m_source->take(*m_device, QSize(), this, [this, request](const onvif::SnapshotOutcome &outcome) {
        if (request == m_request)
            showOutcome(outcome);
    });
}

QString SnapshotPanel::problemText(onvif::SnapshotProblem problem)
{
    return SnapshotTexts::problem(problem);
}

void SnapshotPanel::showOutcome(const onvif::SnapshotOutcome &outcome)
{
    m_btnRefresh->setEnabled(true);
    if (!outcome) {
        m_snapshot.reset();
        updatePicture();
        m_status->setText(problemText(outcome.problem));
        m_status->setToolTip(outcome.failure.detail); // the technical why, for whoever asks
        m_btnSave->setEnabled(false);
        return;
    }
    m_snapshot = outcome.snapshot;
    updatePicture();
    const QString time = QLocale().toString(m_snapshot->takenAt.toLocalTime().time(), QLocale::ShortFormat);
    //: when the snapshot in the panel was taken, and how long it took
    m_status->setText(tr("Taken at %1 in %2 ms").arg(time).arg(m_snapshot->elapsedMs));
    m_status->setToolTip(QStringLiteral("%1 x %2").arg(m_snapshot->size.width()).arg(m_snapshot->size.height()));
    m_btnSave->setEnabled(true);
}

QString SnapshotPanel::statusText() const
{
    return m_status->text();
}

void SnapshotPanel::updatePicture()
{
    if (!m_snapshot) {
        m_picture->clear();
        m_picture->setFixedHeight(0);
        m_picture->hide();
        return;
    }
    const int width = qMax(1, contentsRect().width() - 40);
    const QImage scaled = m_snapshot->image.scaledToWidth(width, Qt::SmoothTransformation);
    m_picture->setPixmap(QPixmap::fromImage(scaled));
    m_picture->setFixedHeight(scaled.height());
    m_picture->show();
}

void SnapshotPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_snapshot && m_picture->pixmap().width() != qMax(1, contentsRect().width() - 40))
        updatePicture();
}

bool SnapshotPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture && m_snapshot) {
        const bool click = event->type() == QEvent::MouseButtonRelease;
        const bool key = event->type() == QEvent::KeyPress
                         && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return
                             || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space);
        if (click || key) {
            openLarger();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SnapshotPanel::openLarger()
{
    if (!m_snapshot)
        return;
    aptui::BaseDialog dialog(false, false, false, false, true, false, true, window());
    dialog.setObjectName(QStringLiteral("SnapshotDialog"));
    //: title of the dialog that shows a camera's snapshot larger
    dialog.setTitle(tr("Snapshot of %1").arg(m_device ? m_device->strIPv4Address : QString()));
    dialog.setCancelButtonText(tr("Close"));
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("m_labelSnapshotLarge"));
    const QSize room = screen() ? screen()->availableSize() * 0.8 : QSize(1024, 768);
    QImage image = m_snapshot->image;
    if (image.width() > room.width() || image.height() > room.height())
        image = image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture->setPixmap(QPixmap::fromImage(image));
    dialog.setContentWidget(picture);
    dialog.exec();
}

bool SnapshotPanel::saveTo(const QString &path, QString *error) const
{
    if (!m_snapshot)
        return false;
    const bool png = path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok && !png && m_snapshot->format == onvif::ImageCheck::Format::Jpeg)
        ok = file.write(m_snapshot->bytes) == m_snapshot->bytes.size(); // the camera's own JPEG, unchanged
    else if (ok)
        ok = m_snapshot->image.save(&file, png ? "PNG" : "JPEG", png ? -1 : 90);
    ok = ok && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

void SnapshotPanel::onSave()
{
    if (!m_snapshot)
        return;
    QString selected;
    const QString png = tr("PNG image (*.png)");
    const QString jpeg = tr("JPEG image (*.jpg *.jpeg)");
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save Snapshot"), m_device ? m_device->strSerialNumber + QStringLiteral(".jpg") : QString(),
        jpeg + QStringLiteral(";;") + png, &selected);
    if (path.isEmpty())
        return;
    if (!path.contains(QLatin1Char('.')))
        path += selected == png ? QStringLiteral(".png") : QStringLiteral(".jpg");
    QString error;
    if (!saveTo(path, &error))
        m_status->setText(tr("The snapshot could not be saved: %1").arg(error));
}

} // namespace VexoTool
