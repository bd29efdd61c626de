// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "aboutdialog.h"

#include "basedialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

AboutDialog::UrlOpener &urlOpener()
{
    static AboutDialog::UrlOpener opener;
    return opener;
}

} // namespace

AboutDialog::AboutDialog(QObject *parent)
    : CDlgAbout(parent)
{
    setNameText(tr("VEXO"));
    setConerBtnText(tr("User Help"));
    setLinesAndButtonsVisible(false);
    setVersionText(tr("v3.0.0.1build") + QString::number(buildNumber()));
    connect(this, &CDlgAbout::signalConerBtnClicked, this, &AboutDialog::onGetHelp);
}

QUrl AboutDialog::manualUrl(quint32 code, const QString &directory)
{
    QString path = directory;
    // QDir joins without doubling the separator of a root folder ("//name" would be a network path).
    if (code == 1)
        path = QDir(directory).filePath(QStringLiteral("设备网络搜索用户使用手册.pdf"));
    else if (code == 0)
        path = QDir(directory).filePath(QStringLiteral("VEXO User Manual.pdf"));
    // A local-file URL: pasting "file:///" before an absolute POSIX path would give four slashes.
    return QUrl::fromLocalFile(path);
}

void AboutDialog::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

bool AboutDialog::onGetHelp()
{
    const QUrl url = manualUrl(m_languageCode, QDir::currentPath());
    // Some desktops report success for a missing file and only complain later in a viewer.
    const bool exists = QFileInfo::exists(url.toLocalFile());
    const bool opened = exists && (urlOpener() ? urlOpener()(url) : QDesktopServices::openUrl(url));
    if (opened)
        return true;

    emit signalCover();
    {
        aptui::BaseDialog dialog(false, false, false, false, true, false, false, nullptr);
        dialog.setFixedSize(350, 220);
        dialog.setTitle(tr("Hint"));
        dialog.setBottomVisible(false);
        dialog.setObjectName(QStringLiteral("APP_WARNINGDLG"));
        dialog.setDefaultText(tr("No user manual found."));
        dialog.exec();
    }
    emit signalDiscover();
    return false;
}
