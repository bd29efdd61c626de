// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <deviceinfomodel.h>
#include <userwritablefile.h>
#include <xmldocument.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#    include <unistd.h>
#endif

using VexoTool::UserWritableFile;

namespace {

enum class Folder {
    Writable,
    ReadOnly,   // a folder the user may read but not write
    FileInPlace // a plain file where the folder should be: nobody, root included, can write there
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// As the program saves: a new file beside the old one, renamed over it.
bool saveText(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace

Q_DECLARE_METATYPE(Folder)

class tst_UserWritableFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void changesGoWhereTheyCanBeKept_data();
    void changesGoWhereTheyCanBeKept();
    void columnOrderOfAReadOnlyProgramFolderIsKeptForTheUser();
    void columnFileThatIsALinkIsReplaced();

private:
    /** Makes @p dir unwritable for this process; false where the system does not allow it. */
    bool makeReadOnly(const QString &dir);
    /** Makes the folders writable again, so that they can be removed. */
    void makeWritable();

    QStringList m_readOnly;
};

void tst_UserWritableFile::initTestCase()
{
    // The user's copies go into a test folder, not the real configuration folder.
    QStandardPaths::setTestModeEnabled(true);
}

bool tst_UserWritableFile::makeReadOnly(const QString &dir)
{
#if defined(Q_OS_UNIX)
    // Root writes through permission bits; the immutable flag stops it (where the file system
    // and the capabilities allow setting it).
    const bool done = geteuid() != 0 ? QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner)
                                     : QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir}) == 0;
    if (done)
        m_readOnly << dir;
    return done;
#else
    Q_UNUSED(dir);
    return false;
#endif
}

void tst_UserWritableFile::makeWritable()
{
#if defined(Q_OS_UNIX)
    for (const QString &dir : std::as_const(m_readOnly)) {
        if (geteuid() != 0)
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        else
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir});
    }
#endif
    m_readOnly.clear();
}

void tst_UserWritableFile::changesGoWhereTheyCanBeKept_data()
{
    QTest::addColumn<Folder>("programFolder");
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<bool>("userCopy");
    QTest::addColumn<bool>("userFolderWritable");
    QTest::addColumn<QString>("written"); // "shipped", "user" or "" (nowhere)

    QTest::addRow("writable program folder: into a new user copy, the shipped file stays")
        << Folder::Writable << true << false << true << "user";
    QTest::addRow("writable program folder, no shipped file: into a new user copy")
        << Folder::Writable << false << false << true << "user";
    QTest::addRow("user copy exists: into the copy, which is read")
        << Folder::Writable << true << true << true << "user";
    QTest::addRow("read-only program folder: into a new user copy")
        << Folder::ReadOnly << true << false << true << "user";
    QTest::addRow("read-only program folder, user copy exists: into the copy")
        << Folder::ReadOnly << true << true << true << "user";
    QTest::addRow("no program folder: into a new user copy") << Folder::FileInPlace << false << false << true << "user";
    QTest::addRow("nowhere writable: nothing written") << Folder::FileInPlace << false << false << false << "";
}

void tst_UserWritableFile::changesGoWhereTheyCanBeKept()
{
    QFETCH(Folder, programFolder);
    QFETCH(bool, shipped);
    QFETCH(bool, userCopy);
    QFETCH(bool, userFolderWritable);
    QFETCH(QString, written);

    QTemporaryDir work;
    QVERIFY(work.isValid());
    const auto writableAgain = qScopeGuard([this] { makeWritable(); });
    const QString programDir = work.filePath("program");
    const QString userDir = work.filePath("user/config");
    if (programFolder == Folder::FileInPlace) {
        QVERIFY(writeFile(programDir, "not a folder"));
    } else {
        QVERIFY(QDir().mkpath(programDir));
        if (shipped)
            QVERIFY(writeFile(programDir + "/Columns.xml", "shipped"));
    }
    if (userFolderWritable) {
        if (userCopy) {
            QVERIFY(QDir().mkpath(userDir));
            QVERIFY(writeFile(userDir + "/Columns.xml", "user's"));
        }
    } else {
        QVERIFY(writeFile(work.filePath("user"), "not a folder"));
    }
    if (programFolder == Folder::ReadOnly && !makeReadOnly(programDir))
        QSKIP("this system cannot make a folder read-only for this process");

    const UserWritableFile file(programDir + "/Columns.xml", userDir + "/Columns.xml");
    const QString path = file.write([](const QString &target) { return saveText(target, "changed"); });

    const QString expected = written == "shipped" ? file.shippedPath() : written == "user" ? file.userPath() : "";
    QCOMPARE(path, expected);
    if (!expected.isEmpty()) {
        QCOMPARE(readFile(expected), QByteArray("changed"));
        // What was written is what is read from now on.
        QCOMPARE(file.readPath(), expected);
    }
    if (written != "shipped" && shipped)
        QCOMPARE(readFile(file.shippedPath()), QByteArray("shipped"));
    if (written == "shipped")
        QVERIFY(!QFile::exists(file.userPath()));
}

void tst_UserWritableFile::columnOrderOfAReadOnlyProgramFolderIsKeptForTheUser()
{
    // The program's own file is named relative to the program's folder; a folder beside the
    // test program stands in for an installation the user cannot write.
    const QString relative = QStringLiteral("../tst_userwritablefile-program/ColumnConfig.xml");
    const QString programDir = QCoreApplication::applicationDirPath() + "/../tst_userwritablefile-program";
    const QString userCopy = UserWritableFile::userPathFor(relative);
    const auto removeAll = [this, programDir, userCopy] {
        makeWritable();
        QDir(programDir).removeRecursively();
        QFile::remove(userCopy);
    };
    removeAll();
    const auto removeAtEnd = qScopeGuard(removeAll);
    QVERIFY(QDir().mkpath(programDir));
    const QString shipped = QDir(programDir).filePath("ColumnConfig.xml");

    {
        const VexoTool::DeviceInfoModel first(relative); // no file anywhere: the default order in the user's copy
        QCOMPARE(first.columnConfigPath(), userCopy);
    }
    // That default order stands in for the shipped file.
    QVERIFY(QFile::rename(userCopy, shipped));
    const QByteArray shippedBytes = readFile(shipped);
    if (!makeReadOnly(programDir))
        QSKIP("this system cannot make a folder read-only for this process");

    QVector<int> defaultOrder;
    {
        VexoTool::DeviceInfoModel model(relative);
        QVERIFY(model.moveColumn(2, 5));
        QCOMPARE(model.columnConfigPath(), userCopy);
        for (int logical = 0; logical < VexoTool::DeviceInfoModel::LogicalColumnCount; ++logical)
            defaultOrder << logical;
    }
    QCOMPARE(readFile(shipped), shippedBytes);

    // The next start reads the user's copy and so has the moved order.
    const VexoTool::DeviceInfoModel next(relative);
    QCOMPARE(next.columnConfigPath(), userCopy);
    QVector<int> order;
    for (int logical = 0; logical < VexoTool::DeviceInfoModel::LogicalColumnCount; ++logical)
        order << next.columnOf(logical);
    QVERIFY2(order != defaultOrder, "the column order of the next start is the default order");
}

void tst_UserWritableFile::columnFileThatIsALinkIsReplaced()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString decoy = work.filePath("decoy");
    QVERIFY(writeFile(decoy, "decoy"));
    const QString path = work.filePath("ColumnConfig.xml");
    QVERIFY(QFile::link(decoy, path));
    QVERIFY(VexoTool::XmlDocument::create("ColumnConfig").save(path));
    QCOMPARE(readFile(decoy), QByteArray("decoy"));
    QVERIFY(!QFileInfo(path).isSymLink());
    QVERIFY(readFile(path).contains("<ColumnConfig"));
}

QTEST_MAIN(tst_UserWritableFile)
#include "tst_userwritablefile.moc"
