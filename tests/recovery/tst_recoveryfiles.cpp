// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Key files, reset requests and the cleaned reset-file copy, over the fake discovery library.

#include "fakevexo.h"

#include <batchrecovery.h>
#include <recoveryfiles.h>
#include <vexohandler.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#if defined(Q_OS_UNIX)
#    include <unistd.h>
#endif

using namespace VexoTool;

namespace {

QByteArray field(const char *data, std::size_t size)
{
    return QByteArray(data, qsizetype(size));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class tst_RecoveryFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void keyFileName_data();
    void keyFileName();
    void deviceKey_data();
    void deviceKey();
    void keyQueryUsesWholeBuffer_data();
    void keyQueryUsesWholeBuffer();
    void keyQueryFailureGivesNoKey();
    void keyFileHoldsReportedBytes_data();
    void keyFileHoldsReportedBytes();
    void keyFileInMissingFolderFails();
    void resetParam_data();
    void resetParam();
    void cleanCopy_data();
    void cleanCopy();
    void cleanCopyOfMissingSourceRemovesOldCopy();
    void cleanCopyNotWritableGivesEmptyPath();
    void cleanCopyPathFollowsProgramFolder();
    void cleanCopyBesideReadOnlyProgramGoesToDataFolder();
    void batchFolder_data();
    void batchFolder();
    void resetFilesMatchBySerial_data();
    void resetFilesMatchBySerial();

private:
    VEXO::VexoHandler m_discovery{FakeVexo::library()};
    QTemporaryDir m_home;
    QTemporaryDir m_dir;
};

void tst_RecoveryFiles::initTestCase()
{
    // Nothing of a test run may land in the real home folder.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void tst_RecoveryFiles::init()
{
    FakeVexo::reset();
}

void tst_RecoveryFiles::keyFileName_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("expected");
    const QDateTime time(QDate(2026, 3, 7), QTime(9, 5, 59));
    QTest::addRow("plain serial unchanged")
        << QStringLiteral("VX-12C320260101ABCD") << time << QStringLiteral("VX-12C320260101ABCD-202603070905.txt");
    QTest::addRow("slash and backslash become underscores")
        << QStringLiteral("AB/12\\X") << time << QStringLiteral("AB_12_X-202603070905.txt");
    QTest::addRow("every separator replaced")
        << QStringLiteral("//a\\\\") << time << QStringLiteral("__a__-202603070905.txt");
    QTest::addRow("afternoon in 24-hour digits")
        << QStringLiteral("S1") << QDateTime(QDate(2026, 12, 31), QTime(23, 59))
        << QStringLiteral("S1-202612312359.txt");
    QTest::addRow("dot in serial keeps the .txt extension")
        << QStringLiteral("key.bin") << time << QStringLiteral("key.bin-202603070905.txt");
}

void tst_RecoveryFiles::keyFileName()
{
    QFETCH(QString, serial);
    QFETCH(QDateTime, time);
    QFETCH(QString, expected);
    QCOMPARE(VexoTool::keyFileName(serial, time), expected);
}

void tst_RecoveryFiles::deviceKey_data()
{
    QTest::addColumn<quint32>("length");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QString>("text");
    const QByteArray key("VK1.SERIAL.abc");
    QByteArray buffer(256, '\0');
    buffer.replace(0, key.size(), key);
    QTest::addRow("length as written") << quint32(key.size()) << buffer << key << QString::fromLatin1(key);
    QTest::addRow("length zero gives an empty file")
        << quint32(0) << buffer << QByteArray() << QString::fromLatin1(key);
    QTest::addRow("length past the buffer stops at its end")
        << quint32(100000) << buffer << buffer << QString::fromLatin1(key);
    QTest::addRow("largest length stops at the buffer end")
        << quint32(0xFFFFFFFF) << buffer << buffer << QString::fromLatin1(key);
    QByteArray full(384, 'k');
    QTest::addRow("full buffer without NUL") << quint32(384) << full << full << QString(384, QLatin1Char('k'));
    QTest::addRow("bytes after a NUL kept in the file, not in the text")
        << quint32(5) << QByteArray("ab\0cd", 5) << QByteArray("ab\0cd", 5) << QStringLiteral("ab");
}

void tst_RecoveryFiles::deviceKey()
{
    QFETCH(quint32, length);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QString, text);
    DeviceKey key;
    key.length = length;
    key.data = data;
    QCOMPARE(key.fileBytes(), fileBytes);
    QCOMPARE(key.text(), text);
}

void tst_RecoveryFiles::keyQueryUsesWholeBuffer_data()
{
    QTest::addColumn<quint32>("command");
    QTest::addColumn<quint32>("outputLength");
    QTest::addColumn<int>("dataSize");
    QTest::addRow("command 1") << quint32(VEXO_GET_KEY_V1) << quint32(260) << 256;
    QTest::addRow("command 2") << quint32(VEXO_GET_KEY_V2) << quint32(388) << 384;
}

void tst_RecoveryFiles::keyQueryUsesWholeBuffer()
{
    QFETCH(quint32, command);
    QFETCH(quint32, outputLength);
    QFETCH(int, dataSize);
    FakeVexo::state().fillKey = true;
    FakeVexo::state().keyLength = 0xFFFFFFFF; // a library that claims more than it may write
    FakeVexo::state().keyData = std::string(size_t(dataSize), 'x');

    const std::optional<DeviceKey> key = queryDeviceKey(m_discovery, QStringLiteral("S\u00e9rial"), command);
    QVERIFY(key);
    QCOMPARE(FakeVexo::state().identifier, std::string("S\xe9rial"));
    QCOMPARE(FakeVexo::state().command, command);
    QVERIFY(!FakeVexo::state().input);
    QCOMPARE(FakeVexo::state().inputLength, 0u);
    QCOMPARE(FakeVexo::state().outputLength, outputLength);
    QCOMPARE(key->data.size(), dataSize);
    QCOMPARE(key->fileBytes(), QByteArray(dataSize, 'x'));
}

void tst_RecoveryFiles::keyQueryFailureGivesNoKey()
{
    FakeVexo::setResult(FakeVexo::Call::GetDeviceConfig, 0);
    QVERIFY(!queryDeviceKey(m_discovery, QStringLiteral("S1"), VEXO_GET_KEY_V1));
    FakeVexo::setResult(FakeVexo::Call::GetDeviceConfig, 1);
    QVERIFY(!queryDeviceKey(m_discovery, QStringLiteral("S1"), 3));
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::GetDeviceConfig), 1);
}

void tst_RecoveryFiles::keyFileHoldsReportedBytes_data()
{
    QTest::addColumn<quint32>("length");
    QTest::addColumn<QByteArray>("expected");
    QByteArray data(256, '\0');
    data.replace(0, 8, QByteArray("a\r\nb\0c\nz", 8));
    QTest::addRow("binary bytes untranslated") << quint32(8) << data.left(8);
    QTest::addRow("empty key, empty file") << quint32(0) << QByteArray();
    QTest::addRow("overlong length, buffer only") << quint32(4096) << data;
}

void tst_RecoveryFiles::keyFileHoldsReportedBytes()
{
    QFETCH(quint32, length);
    QFETCH(QByteArray, expected);
    QByteArray data(256, '\0');
    data.replace(0, 8, QByteArray("a\r\nb\0c\nz", 8));
    DeviceKey key{length, data};
    const QString path = m_dir.filePath(QStringLiteral("key.xml"));
    QVERIFY(writeFile(path, QByteArray(1000, 'o'))); // an older, longer file is replaced
    QVERIFY(writeKeyFile(path, key));
    QCOMPARE(readAll(path), expected);
}

void tst_RecoveryFiles::keyFileInMissingFolderFails()
{
    const DeviceKey key{3, QByteArray("abc")};
    QVERIFY(!writeKeyFile(m_dir.filePath(QStringLiteral("missing/key.xml")), key));
}

void tst_RecoveryFiles::resetParam_data()
{
    QTest::addColumn<QString>("secretKey");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("resetIpc");
    QTest::addColumn<QByteArray>("expectedKey");
    QTest::addColumn<QByteArray>("expectedPath");
    QTest::addColumn<QByteArray>("expectedPassword");

    const auto padded = [](const QByteArray &bytes, int size) {
        return bytes + QByteArray(size - bytes.size(), '\0');
    };
    QTest::addRow("typed key, path field empty")
        << QStringLiteral("RK2.abc") << QStringLiteral("/tmp/ignored.xml") << QStringLiteral("Admin123") << false
        << padded("RK2.abc", 256) << QByteArray(260, '\0') << padded("Admin123", 16);
    QTest::addRow("file path, key field empty")
        << QString() << QStringLiteral("/home/u/copy.xml") << QStringLiteral("Admin123") << true
        << QByteArray(256, '\0') << padded("/home/u/copy.xml", 260) << padded("Admin123", 16);
    QTest::addRow("16-character password fills its field")
        << QStringLiteral("K") << QString() << QStringLiteral("Abcdefgh12345678") << true << padded("K", 256)
        << QByteArray(260, '\0') << QByteArray("Abcdefgh12345678");
    QTest::addRow("overlong texts cut to their fields")
        << QString(300, QLatin1Char('k')) << QString() << QString(20, QLatin1Char('p')) << false << QByteArray(256, 'k')
        << QByteArray(260, '\0') << QByteArray(16, 'p');
    QTest::addRow("overlong path cut to its field")
        << QString() << QString(270, QLatin1Char('d')) << QStringLiteral("pw") << false << QByteArray(256, '\0')
        << QByteArray(260, 'd') << padded("pw", 16);
}

void tst_RecoveryFiles::resetParam()
{
    QFETCH(QString, secretKey);
    QFETCH(QString, path);
    QFETCH(QString, password);
    QFETCH(bool, resetIpc);
    QFETCH(QByteArray, expectedKey);
    QFETCH(QByteArray, expectedPath);
    QFETCH(QByteArray, expectedPassword);

    const VEXO_RESET_PARAM param = makeResetParam(secretKey, path, password, resetIpc);
    QCOMPARE(field(param.secretKey, sizeof param.secretKey), expectedKey);
    QCOMPARE(field(param.keyFilePath, sizeof param.keyFilePath), expectedPath);
    QCOMPARE(field(param.password, sizeof param.password), expectedPassword);
    QCOMPARE(param.resetIpc, quint8(resetIpc ? 1 : 0));
    QCOMPARE(field(reinterpret_cast<const char *>(param.reserved), sizeof param.reserved), QByteArray(511, '\0'));
}

void tst_RecoveryFiles::cleanCopy_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("copy");
    const QByteArray xml("<?xml version=\"1.0\"?>\n<VexoResetFile version=\"1\">\n</VexoResetFile>");
    QTest::addRow("three trailing line breaks removed") << xml + "\n\n\n" << xml;
    QTest::addRow("no trailing line end unchanged") << xml << xml;
    QTest::addRow("CR LF line ends at the end removed") << xml + "\r\n\r\n" << xml;
    QTest::addRow("lone CR at the end removed") << xml + "\r" << xml;
    QTest::addRow("empty file gives an empty copy") << QByteArray() << QByteArray();
    QTest::addRow("only line breaks give an empty copy") << QByteArray("\n\r\n\n") << QByteArray();
    QTest::addRow("trailing spaces kept") << QByteArray("key  \n") << QByteArray("key  ");
    QTest::addRow("8-bit bytes kept") << QByteArray("\xe9\xff\x80\n") << QByteArray("\xe9\xff\x80");
}

void tst_RecoveryFiles::cleanCopy()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, copy);
    const QString sourcePath = m_dir.filePath(QStringLiteral("reset.xml"));
    const QString copyPath = m_dir.filePath(QStringLiteral("copy.xml"));
    QVERIFY(writeFile(sourcePath, source));
    QVERIFY(writeFile(copyPath, QByteArray(4000, 'o'))); // the previous import's copy

    QCOMPARE(makeCleanCopy(sourcePath, copyPath), copyPath);
    QCOMPARE(readAll(copyPath), copy);
    QCOMPARE(readAll(sourcePath), source);
}

void tst_RecoveryFiles::cleanCopyOfMissingSourceRemovesOldCopy()
{
    const QString copyPath = m_dir.filePath(QStringLiteral("copy.xml"));
    QVERIFY(writeFile(copyPath, "old"));
    QCOMPARE(makeCleanCopy(m_dir.filePath(QStringLiteral("absent.xml")), copyPath), copyPath);
    QVERIFY(!QFile::exists(copyPath));
}

void tst_RecoveryFiles::cleanCopyNotWritableGivesEmptyPath()
{
    const QString sourcePath = m_dir.filePath(QStringLiteral("reset.xml"));
    QVERIFY(writeFile(sourcePath, "x\n"));
    QCOMPARE(makeCleanCopy(sourcePath, m_dir.filePath(QStringLiteral("no/such/folder/copy.xml"))), QString());
}

void tst_RecoveryFiles::cleanCopyPathFollowsProgramFolder()
{
    QCOMPARE(cleanCopyPath(m_dir.path()), m_dir.filePath(QStringLiteral("copy.xml")));

    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString fallback = cleanCopyPath(m_dir.filePath(QStringLiteral("not-a-folder")));
    QCOMPARE(fallback, QDir(dataFolder).filePath(QStringLiteral("copy.xml")));
    QVERIFY(QFileInfo(dataFolder).isDir());
    QVERIFY(writeFile(fallback, "usable"));
    QFile::remove(fallback);

    // The program's own folder while it is writable (the test runs from the build tree).
    QCOMPARE(cleanCopyPath(), QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("copy.xml")));
}

void tst_RecoveryFiles::cleanCopyBesideReadOnlyProgramGoesToDataFolder()
{
#if defined(Q_OS_UNIX)
    if (geteuid() == 0)
        QSKIP("runs as root, for whom every folder is writable: the program folder cannot be made read-only");
    QTemporaryDir programFolder;
    QVERIFY(programFolder.isValid());
    const auto writableAgain = qScopeGuard([&programFolder] {
        QFile::setPermissions(programFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    QVERIFY(QFile::setPermissions(programFolder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString sourcePath = m_dir.filePath(QStringLiteral("reset.xml"));
    QVERIFY(writeFile(sourcePath, "x\n"));

    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString copyPath = cleanCopyPath(programFolder.path());
    QCOMPARE(copyPath, QDir(dataFolder).filePath(QStringLiteral("copy.xml")));
    QCOMPARE(makeCleanCopy(sourcePath, copyPath), copyPath);
    QVERIFY(QFile::exists(copyPath));
    QVERIFY(!QFile::exists(programFolder.filePath(QStringLiteral("copy.xml"))));
    QFile::remove(copyPath);
#else
    QSKIP("folder permissions are set the Unix way here");
#endif
}

void tst_RecoveryFiles::batchFolder_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("expected");
    QTest::addRow("Windows keeps its fixed folder")
        << true << QStringLiteral("C:/Users/u") << QStringLiteral("C:\\VexoReset");
    QTest::addRow("elsewhere in the home folder")
        << false << QStringLiteral("/home/u") << QStringLiteral("/home/u/VexoReset");
    QTest::addRow("home with trailing slash")
        << false << QStringLiteral("/home/u/") << QStringLiteral("/home/u/VexoReset");
}

void tst_RecoveryFiles::batchFolder()
{
    QFETCH(bool, windows);
    QFETCH(QString, home);
    QFETCH(QString, expected);
    QCOMPARE(VexoTool::batchFolder(windows, home), expected);
}

void tst_RecoveryFiles::resetFilesMatchBySerial_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("serials");
    QTest::addColumn<QStringList>("expectedFiles"); // per serial; empty: unmatched
    QTest::addRow("one file per device, named as now or as earlier versions did")
        << QStringLiteral("keys")
        << QStringList{QStringLiteral("S1-202601010101.txt"), QStringLiteral("S2-202601010101.xml")}
        << QStringList{QStringLiteral("S1"), QStringLiteral("S2")}
        << QStringList{QStringLiteral("S1-202601010101.txt"), QStringLiteral("S2-202601010101.xml")};
    QTest::addRow("slash and backslash in the serial match their underscores")
        << QStringLiteral("keys") << QStringList{QStringLiteral("AB_12_X-202601010101.xml")}
        << QStringList{QStringLiteral("AB/12/X"), QStringLiteral("AB\\12\\X")}
        << QStringList{QStringLiteral("AB_12_X-202601010101.xml"), QStringLiteral("AB_12_X-202601010101.xml")};
    QTest::addRow("last of two files by name, ignoring case")
        << QStringLiteral("keys")
        << QStringList{QStringLiteral("S1-b.xml"), QStringLiteral("s1-c.xml"), QStringLiteral("S1-A.xml")}
        << QStringList{QStringLiteral("S1")} << QStringList{QStringLiteral("S1-b.xml")};
    QTest::addRow("device without a file is unmatched")
        << QStringLiteral("keys") << QStringList{QStringLiteral("S1-1.xml")}
        << QStringList{QStringLiteral("S1"), QStringLiteral("S9")}
        << QStringList{QStringLiteral("S1-1.xml"), QString()};
    QTest::addRow("folder named after a device matches all its files")
        << QStringLiteral("S7") << QStringList{QStringLiteral("a.xml"), QStringLiteral("b.xml")}
        << QStringList{QStringLiteral("S7")} << QStringList{QStringLiteral("b.xml")};
    QTest::addRow("serial is case-sensitive") << QStringLiteral("keys") << QStringList{QStringLiteral("s1-1.xml")}
                                              << QStringList{QStringLiteral("S1")} << QStringList{QString()};
}

void tst_RecoveryFiles::resetFilesMatchBySerial()
{
    QFETCH(QString, subfolder);
    QFETCH(QStringList, files);
    QFETCH(QStringList, serials);
    QFETCH(QStringList, expectedFiles);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir folder(root.filePath(subfolder));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    QVERIFY(folder.mkpath(QStringLiteral("S1-subfolder.xml"))); // folders never match
    for (const QString &name : files)
        QVERIFY(writeFile(folder.filePath(name), "<x/>"));
    QVector<BatchDevice> devices;
    for (const QString &serial : serials)
        devices.append({serial, QStringLiteral("2026-01-01 00:00:00"), QStringLiteral("V1")});

    const BatchResetPlan plan
        = BatchRecovery::planReset(devices, folder.path() + QLatin1Char('/'), QStringLiteral("Pw123456"));
    QStringList unmatched;
    for (int i = 0; i < serials.size(); ++i) {
        if (expectedFiles.at(i).isEmpty()) {
            QVERIFY(!plan.requests.contains(serials.at(i)));
            unmatched.append(serials.at(i));
            continue;
        }
        const VEXO_RESET_PARAM param = plan.requests.value(serials.at(i));
        const QByteArray path = field(param.keyFilePath, sizeof param.keyFilePath);
        QCOMPARE(QString::fromLocal8Bit(path.left(path.indexOf('\0'))),
                 QDir::toNativeSeparators(folder.absoluteFilePath(expectedFiles.at(i))));
        QCOMPARE(field(param.secretKey, sizeof param.secretKey), QByteArray(256, '\0'));
        QCOMPARE(field(param.password, 8), QByteArray("Pw123456"));
        QCOMPARE(param.resetIpc, quint8(0));
        QCOMPARE(plan.softwareVersions.value(serials.at(i)), QStringLiteral("V1"));
    }
    QCOMPARE(plan.unmatched, unmatched);
}

QTEST_GUILESS_MAIN(tst_RecoveryFiles)

#include "tst_recoveryfiles.moc"
