// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Writing the user's files: a link is replaced and never written through, and a folder the
// program may not write keeps everything as it was.
#include "userfilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#    include <sys/fsuid.h>
#    include <unistd.h>
#endif

using namespace VexoTool;

namespace {

enum class Folder { Writable, ReadOnly, OtherUsers };
enum class Existing { Nothing, File, LinkToDecoy };

constexpr uint NobodyId = 65534;
constexpr uint OtherUserId = 1;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(Folder)
Q_DECLARE_METATYPE(Existing)

class tst_UserFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesOnlyWhereItMay_data();
    void writesOnlyWhereItMay();
};

void tst_UserFileWriter::writesOnlyWhereItMay_data()
{
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<Existing>("existing");
    QTest::addColumn<bool>("written");

    QTest::addRow("new file") << Folder::Writable << Existing::Nothing << true;
    QTest::addRow("file replaced") << Folder::Writable << Existing::File << true;
    QTest::addRow("link to a decoy: the link is replaced") << Folder::Writable << Existing::LinkToDecoy << true;
    QTest::addRow("read-only folder: its writable file stays") << Folder::ReadOnly << Existing::File << false;
    QTest::addRow("read-only folder: its link to a decoy stays") << Folder::ReadOnly << Existing::LinkToDecoy << false;
    QTest::addRow("another user's folder: its link to a decoy stays")
        << Folder::OtherUsers << Existing::LinkToDecoy << false;
}

void tst_UserFileWriter::writesOnlyWhereItMay()
{
    QFETCH(Folder, folder);
    QFETCH(Existing, existing);
    QFETCH(bool, written);

#ifdef Q_OS_UNIX
    // Root writes whatever the permission bits say: the refused rows write as user nobody then
    // (the file system identity of this thread only), which the bits do stop.
    const bool root = geteuid() == 0;
    if (folder == Folder::OtherUsers && !root)
        QSKIP("handing a folder to another user needs root; the read-only rows cover this user");
#    ifndef Q_OS_LINUX
    if (folder != Folder::Writable && root)
        QSKIP("root writes through permission bits, and only Linux lets this test write as another user");
#    endif
#else
    if (folder != Folder::Writable)
        QSKIP("folder permissions are set up for Unix only");
    const bool root = false;
#endif
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString settings = work.filePath(QStringLiteral("settings"));
    const QString elsewhere = work.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(settings) && QDir().mkpath(elsewhere));
    const QString path = settings + QStringLiteral("/ColumnConfig.xml");
    const QString decoy = elsewhere + QStringLiteral("/passwd");
    QVERIFY(writeAll(decoy, "decoy"));
    if (existing == Existing::File)
        QVERIFY(writeAll(path, "old"));
    if (existing == Existing::LinkToDecoy)
        QVERIFY(QFile::link(decoy, path));

    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup
                     | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const auto readOnly
        = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    // Whoever writes could replace the decoy and the old file; only the folder may stop it.
    QVERIFY(QFile::setPermissions(work.path(), readOnly | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(elsewhere, all));
    QVERIFY(QFile::setPermissions(decoy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther));
    if (existing == Existing::File)
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther));
    QVERIFY(QFile::setPermissions(settings, folder == Folder::Writable ? all : readOnly | QFile::WriteOwner));
    if (folder == Folder::ReadOnly && !root)
        QVERIFY(QFile::setPermissions(settings, readOnly));
    const auto writableAgain = qScopeGuard([&] { QFile::setPermissions(settings, all); });

    bool wrote = false;
#ifdef Q_OS_LINUX
    if (folder == Folder::OtherUsers)
        QCOMPARE(::chown(QFile::encodeName(settings).constData(), OtherUserId, OtherUserId), 0);
    const bool asNobody = root && folder != Folder::Writable;
    if (asNobody)
        setfsuid(NobodyId);
    wrote = UserFileWriter::write(path, "new");
    if (asNobody)
        setfsuid(0);
#else
    wrote = UserFileWriter::write(path, "new");
#endif

    QCOMPARE(wrote, written);
    QCOMPARE(readAll(decoy), QByteArray("decoy"));
    if (written) {
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(readAll(path), QByteArray("new"));
    } else if (existing == Existing::File) {
        QCOMPARE(readAll(path), QByteArray("old"));
    } else {
        QVERIFY(QFileInfo(path).isSymLink());
    }
    // Nothing is left behind in the folders.
    QCOMPARE(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("passwd")});
    QCOMPARE(QDir(settings).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             existing == Existing::Nothing && !written ? 0 : 1);
}

QTEST_GUILESS_MAIN(tst_UserFileWriter)
#include "tst_userfilewriter.moc"
