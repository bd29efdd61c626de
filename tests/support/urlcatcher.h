// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace VexoTest {

/**
 * @brief Stands in for the desktop's handler of one URL scheme while it lives, and keeps
 *        the URLs the code under test asked to open, so that nothing reaches a real browser
 *        or viewer.
 */
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    explicit UrlCatcher(const QString &scheme);
    ~UrlCatcher() override;

    QList<QUrl> urls() const { return m_urls; }

public slots:
    /** @brief Called by QDesktopServices::openUrl() for the caught scheme. */
    void open(const QUrl &url);

private:
    QString m_scheme;
    QList<QUrl> m_urls;
};

} // namespace VexoTest
