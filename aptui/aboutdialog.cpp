// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "aboutdialog.h"

#include "basedialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QScreen>

namespace {

AboutDialog::UrlOpener &urlOpener()
{
    static AboutDialog::UrlOpener opener;
    return opener;
}

// The message dialog keeps its usual 350 x 220 unless a word of the message (a long folder
// path does not wrap) needs more width, or the wrapped text more height; never past the screen.
void fitMessage(QDialog &dialog, const QString &message)
{
    constexpr QSize usual(350, 220);
    // The label's margins and the dialog's frame around it.
    constexpr int frame = 60;
    const QFontMetrics metrics(dialog.font());
    int widest = 0;
    // Sentences wrap at spaces; a folder path has none to wrap at.
    for (const QString &word : message.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = qMax(widest, metrics.horizontalAdvance(word));
    QRect screen(0, 0, 1024, 768);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        screen = s->availableGeometry();
    const int width = qBound(usual.width(), widest + frame, qMax(usual.width(), screen.width() - 40));
    dialog.setFixedWidth(width);
    QLayout *layout = dialog.layout();
    const int needed
        = layout && layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : dialog.sizeHint().height();
    dialog.setFixedHeight(qBound(usual.height(), needed, qMax(usual.height(), screen.height() - 40)));
}

} // namespace

AboutDialog::AboutDialog(QObject *parent)
    : CDlgAbout(parent)
{
    setNameText(tr("VEXO"));
    setConerBtnText(tr("User Help"));
    setLinesAndButtonsVisible(false);
    //: %1 is the program's version; the build number follows
    QString version = tr("v%1build").arg(QStringLiteral(VEXO_VERSION)) + QString::number(buildNumber());
#ifdef VEXO_TEST_CA_BUILD
    //: Shown under the version in a build that trusts the published test certificate authority
    version += QLatin1Char('\n') + tr("Test build: accepts test device certificates");
    // The panel is narrow: the line wraps rather than being cut off.
    if (auto *label = defaultWidget()->findChild<QLabel *>(QStringLiteral("m_labVersionValue")))
        label->setWordWrap(true);
#endif
    setVersionText(version);
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

QStringList AboutDialog::manualFolders(const QString &programDir, const QString &currentDir)
{
    // Beside the program first (a desktop launcher starts it from anywhere), then where an
    // installation keeps its data and documentation, and the working folder last.
    const QStringList candidates{programDir, QDir(programDir).filePath(QStringLiteral("../share/vexotool")),
                                 QDir(programDir).filePath(QStringLiteral("../share/doc/vexotool")), currentDir};
    QStringList folders;
    for (const QString &candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QDir(candidate).absolutePath());
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

void AboutDialog::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

QString AboutDialog::findManual(quint32 code, const QStringList &folders)
{
    const bool isManual = code == 0 || code == 1;
    for (const QString &folder : folders) {
        const QString path = manualUrl(code, folder).toLocalFile();
        // Some desktops report success for a missing file and only complain later in a viewer.
        if (isManual ? QFileInfo(path).isFile() : QFileInfo(path).isDir())
            return path;
    }
    return {};
}

bool AboutDialog::onGetHelp()
{
    const QStringList folders = manualFolders(QCoreApplication::applicationDirPath(), QDir::currentPath());
    const bool isManual = m_languageCode == 0 || m_languageCode == 1;
    const QString found = findManual(m_languageCode, folders);
    if (!found.isEmpty()) {
        const QUrl url = QUrl::fromLocalFile(found);
        if (urlOpener() ? urlOpener()(url) : QDesktopServices::openUrl(url))
            return true;
    }

    QString message;
    if (!isManual) {
        message = tr("No user manual found.");
    } else if (found.isEmpty()) {
        const QString fileName = manualUrl(m_languageCode, QString()).fileName();
        QStringList shownFolders;
        for (const QString &folder : folders)
            shownFolders.append(QDir::toNativeSeparators(folder));
        //: %1 is the manual's file name, %2 the folders searched, one a line.
        const QString searched = tr("Looked for \"%1\" in:\n%2").arg(fileName, shownFolders.join(QLatin1Char('\n')));
        message = tr("No user manual found.") + QLatin1Char('\n') + searched;
    } else {
        const QFileInfo file(found);
        //: %1 is the manual's file name, %2 its folder.
        message = tr("No program to show PDF files could open the user manual \"%1\". It is in this folder:\n%2")
                      .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
    }

    emit signalCover();
    {
        aptui::BaseDialog dialog(false, false, false, false, true, false, false, nullptr);
        dialog.setTitle(tr("Hint"));
        dialog.setBottomVisible(false);
        dialog.setObjectName(QStringLiteral("APP_WARNINGDLG"));
        dialog.setDefaultText(message);
        fitMessage(dialog, message);
        dialog.exec();
    }
    emit signalDiscover();
    return false;
}
