// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace VexoTest {

void whenModal(std::function<void(QWidget *)> action)
{
    // On the heap and without a parent: this returns before the dialog opens, and the
    // timer deletes itself once it has run the action.
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

} // namespace VexoTest
