// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "urlcatcher.h"

#include <QDesktopServices>

namespace VexoTest {

UrlCatcher::UrlCatcher(const QString &scheme)
    : m_scheme(scheme)
{
    QDesktopServices::setUrlHandler(m_scheme, this, "open");
}

UrlCatcher::~UrlCatcher()
{
    QDesktopServices::unsetUrlHandler(m_scheme);
}

void UrlCatcher::open(const QUrl &url)
{
    m_urls.append(url);
}

} // namespace VexoTest
