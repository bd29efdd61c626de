// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cfile.h>
#include <akloguitoolkit/targetpath.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using aKLOGUIToolkit::CFile;

class tst_CFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readAll_data();
    void readAll();
    void readAllList_data();
    void readAllList();
    void targetPath();

private:
    QTemporaryDir m_dir;
};

void tst_CFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const auto &[name, text] :
         {std::pair{"one.qss", "A{}\n"}, std::pair{"two.qss", "B{}\n"}, std::pair{"utf8.txt", "Lánguage 中文"}}) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
}

void tst_CFile::readAll_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::addRow("file") << m_dir.filePath("one.qss") << "A{}\n";
    QTest::addRow("utf-8 file") << m_dir.filePath("utf8.txt") << QStringLiteral("Lánguage 中文");
    QTest::addRow("resource") << ":/fixtures/second.txt"
                              << "beta\n";
    QTest::addRow("missing file") << m_dir.filePath("absent.qss") << "";
    QTest::addRow("missing resource") << ":/fixtures/absent.txt"
                                      << "";
}

void tst_CFile::readAll()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(CFile::ReadAll(path), expected);
}

void tst_CFile::readAllList_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("fromResource");
    QTest::addColumn<QString>("expected");

    QTest::addRow("files in list order") << QStringList{"two.qss", "one.qss"} << false << "B{}\nA{}\n";
    QTest::addRow("missing file skipped") << QStringList{"one.qss", "absent.qss", "two.qss"} << false << "A{}\nB{}\n";
    QTest::addRow("resources in list order") << QStringList{"first.txt", "second.txt"} << true << "alpha\nbeta\n";
    QTest::addRow("resource twice") << QStringList{"second.txt", "second.txt"} << true << "beta\nbeta\n";
    QTest::addRow("empty list") << QStringList{} << false << "";
}

void tst_CFile::readAllList()
{
    QFETCH(QStringList, names);
    QFETCH(bool, fromResource);
    QFETCH(QString, expected);

    QCOMPARE(CFile::ReadAll(names, fromResource ? QStringLiteral(":/fixtures/") : m_dir.path()), expected);
    // The directory works with and without the trailing separator.
    QCOMPARE(CFile::ReadAll(names, fromResource ? QStringLiteral(":/fixtures") : m_dir.path() + "/"), expected);
}

void tst_CFile::targetPath()
{
    const QString path = aKLOGUIToolkit::GetTargetPath();
    QCOMPARE(path, QCoreApplication::applicationDirPath() + "/");
    QCOMPARE(aKLOGUIToolkit::GetTargetPathFile("Setup.xml"), QCoreApplication::applicationDirPath() + "/Setup.xml");
    QVERIFY(QFile::exists(aKLOGUIToolkit::GetTargetPathFile(QCoreApplication::applicationFilePath().section('/', -1))));
}

QTEST_GUILESS_MAIN(tst_CFile)

#include "tst_cfile.moc"
