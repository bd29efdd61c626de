// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QMovie;
class QTimer;

namespace aKLOGUIToolkit {

/**
 * @brief A modal busy dialog: an animated image above a text.
 *
 * exec() runs until OnImmediatelyStopChase() is called, typically from a worker
 * thread's finished() signal. A stop that arrives before exec() makes exec()
 * return at once, so an early finished() cannot leave the dialog hanging. Unless
 * built as cancelable, the user cannot close the dialog while it is busy.
 */
class AKLOGUITOOLKIT_EXPORT CChaseDialog : public QDialog
{
    Q_OBJECT

public:
    /**
     * @brief Builds the dialog with the image \a imagePath (an animation such as a GIF,
     * or a still image that is rotated) and the text \a text.
     *
     * A missing image is replaced by a drawn spinner. With \a cancelable the user
     * may close the dialog with Escape, and exec() then returns Rejected.
     */
    CChaseDialog(QWidget *parent, const QString &imagePath, const QString &text, bool cancelable = false);
    ~CChaseDialog() override;

    /** @brief Runs modally until stopped; Accepted when stopped, at once if already stopped. */
    int exec() override;

    /** @brief True once OnImmediatelyStopChase() has run. */
    bool IsStopped() const { return m_stopped; }

    /** @brief The text under the image. */
    QString Text() const;

public slots:
    /** @brief Ends the busy state; a running exec() returns Accepted. */
    void OnImmediatelyStopChase();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startAnimation();
    void stopAnimation();
    void advanceRotation();
    void finishExec();

    QLabel *m_labelImage = nullptr;
    QLabel *m_labelText = nullptr;
    QMovie *m_movie = nullptr;
    QTimer *m_rotationTimer = nullptr;
    QPixmap m_stillImage;
    int m_angle = 0;
    bool m_cancelable = false;
    bool m_stopped = false;
    bool m_inExec = false;
};

} // namespace aKLOGUIToolkit
