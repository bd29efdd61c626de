// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "programfolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using apt::ProgramFolders;

namespace {

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<Setup/>") > 0;
}

} // namespace

class tst_ProgramFolders : public QObject
{
    Q_OBJECT

private slots:
    void foldersFollowTheExecutable_data();
    void foldersFollowTheExecutable();
    void userFileIsReadFirst_data();
    void userFileIsReadFirst();
};

void tst_ProgramFolders::foldersFollowTheExecutable_data()
{
    QTest::addColumn<QStringList>("files"); // made under the temporary root
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QString>("pluginDir");

    QTest::addRow("build tree: everything beside the executable")
        << QStringList{"build/bin/Setup.xml"} << "build/bin" << false << "build/bin/"
        << "build/bin/plugins/";
    QTest::addRow("installed under a prefix")
        << QStringList{"usr/bin/vexotool", "usr/share/vexotool/Setup.xml"} << "usr/bin" << true << "usr/share/vexotool/"
        << "usr/lib/vexotool/plugins/";
    QTest::addRow("installed, then moved elsewhere")
        << QStringList{"moved/tree/bin/vexotool", "moved/tree/share/vexotool/Setup.xml"} << "moved/tree/bin" << true
        << "moved/tree/share/vexotool/"
        << "moved/tree/lib/vexotool/plugins/";
    QTest::addRow("installed, an old Setup.xml beside the executable: still installed")
        << QStringList{"opt/bin/Setup.xml", "opt/share/vexotool/Setup.xml"} << "opt/bin" << true
        << "opt/share/vexotool/"
        << "opt/lib/vexotool/plugins/";
    QTest::addRow("data folder without Setup.xml: beside the executable")
        << QStringList{"half/bin/Setup.xml", "half/share/vexotool/ColumnConfig.xml"} << "half/bin" << false
        << "half/bin/"
        << "half/bin/plugins/";
    QTest::addRow("nothing shipped: beside the executable") << QStringList{} << "empty/bin" << false << "empty/bin/"
                                                            << "empty/bin/plugins/";
}

void tst_ProgramFolders::foldersFollowTheExecutable()
{
    QFETCH(QStringList, files);
    QFETCH(QString, executableDir);
    QFETCH(bool, installed);
    QFETCH(QString, dataDir);
    QFETCH(QString, pluginDir);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString &file : files)
        QVERIFY(touch(root.filePath(file)));
    QVERIFY(QDir().mkpath(root.filePath(executableDir)));

    const ProgramFolders folders
        = ProgramFolders::forExecutable(root.filePath(executableDir), "../share/vexotool", "../lib/vexotool/plugins");
    QCOMPARE(folders.installed(), installed);
    QCOMPARE(folders.dataDir(), root.filePath(dataDir));
    QCOMPARE(folders.pluginDir(), root.filePath(pluginDir));
    QCOMPARE(folders.shippedFile("Setup.xml"), root.filePath(dataDir + "Setup.xml"));
}

void tst_ProgramFolders::userFileIsReadFirst_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("userCopy");
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("programFolderWritable");
    QTest::addColumn<QString>("expected"); // "user" or "beside"

    QTest::addRow("installed, nothing of the user's: the copy to come") << true << false << false << true << "user";
    QTest::addRow("installed, user copy: the copy") << true << true << true << true << "user";
    QTest::addRow("installed, old file beside a writable program: that file")
        << true << false << true << true << "beside";
    QTest::addRow("installed, old file beside a read-only program: the copy to come")
        << true << false << true << false << "user";
    QTest::addRow("build tree: the file beside is the shipped one, never the user's")
        << false << false << true << true << "user";
}

void tst_ProgramFolders::userFileIsReadFirst()
{
    QFETCH(bool, installed);
    QFETCH(bool, userCopy);
    QFETCH(bool, besideProgram);
    QFETCH(bool, programFolderWritable);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath("prefix/bin");
    QVERIFY(QDir().mkpath(bin));
    if (installed)
        QVERIFY(touch(root.filePath("prefix/share/vexotool/Setup.xml")));
    if (besideProgram)
        QVERIFY(touch(bin + "/Setup.xml"));
    const QString userDir = root.filePath("config/VEXOTool");
    if (userCopy)
        QVERIFY(touch(userDir + "/Setup.xml"));
    // Root writes through permission bits; the immutable flag stops it where it can be set.
    const bool asRoot = geteuid() == 0;
    const auto writableAgain = qScopeGuard([&] {
        if (!programFolderWritable)
            asRoot ? void(QProcess::execute("chattr", {"-i", bin}))
                   : void(QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    });
    if (!programFolderWritable) {
        if (asRoot)
            QProcess::execute("chattr", {"+i", bin});
        else
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(bin).isWritable())
            QSKIP("this system cannot make a folder read-only for this process");
    }

    const ProgramFolders folders = ProgramFolders::forExecutable(bin, "../share/vexotool", "../lib/vexotool/plugins");
    QCOMPARE(folders.installed(), installed);
    const QString user = folders.userFile("Setup.xml", userDir);
    QCOMPARE(user, expected == "beside" ? bin + "/Setup.xml" : userDir + "/Setup.xml");
}

QTEST_GUILESS_MAIN(tst_ProgramFolders)

#include "tst_programfolders.moc"
