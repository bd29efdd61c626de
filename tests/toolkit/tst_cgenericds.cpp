// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cgenericds.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using aKLOGUIToolkit::CGenericDS;

class tst_CGenericDS : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadModifySaveReload();
    void copiesShareOneDocument();
    void loadFailureKeepsHandle_data();
    void loadFailureKeepsHandle();
    void value_data();
    void value();
    void childLookup();
    void nullHandle();
    void saveIntoMissingDirectoryFails();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

QString tst_CGenericDS::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void tst_CGenericDS::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_CGenericDS::loadModifySaveReload()
{
    const QString path = writeFile("in.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                             "<Setup><Translator><Value>0</Value></Translator>"
                                             "<Skin><Value>CommonSkin</Value></Skin></Setup>");
    CGenericDS root;
    QVERIFY(root.LoadXML(path));
    QCOMPARE(root.GetName(), QStringLiteral("Setup"));
    QCOMPARE(root.GetChildrenCount(), 2);
    QCOMPARE(root.GetChild(0).GetName(), QStringLiteral("Translator"));
    QCOMPARE(root.GetChild(1).GetName(), QStringLiteral("Skin"));

    CGenericDS value = root.GetChildByName("Translator").GetChildByName("Value");
    QCOMPARE(value.GetValue(), QStringLiteral("0"));
    QVERIFY(value.SetValue(QStringLiteral("中文 & <1>")));

    const QString out = m_dir->filePath("out.xml");
    QVERIFY(root.SaveXML(out));

    CGenericDS reloaded;
    QVERIFY(reloaded.LoadXML(out));
    QCOMPARE(reloaded.GetChildByName("Translator").GetChildByName("Value").GetValue(), QStringLiteral("中文 & <1>"));
    QCOMPARE(reloaded.GetChildByName("Skin").GetChildByName("Value").GetValue(), QStringLiteral("CommonSkin"));
    QCOMPARE(reloaded.GetChildrenCount(), 2);
}

void tst_CGenericDS::copiesShareOneDocument()
{
    const QString path = writeFile("in.xml", "<Root><Item>old</Item></Root>");
    CGenericDS root;
    QVERIFY(root.LoadXML(path));
    CGenericDS copy = root;
    CGenericDS item = copy.GetChildByName("Item");
    QVERIFY(item.SetValue("new"));
    QCOMPARE(root.GetChildByName("Item").GetValue(), QStringLiteral("new"));

    // The child handle alone keeps the document alive and saves all of it.
    root = CGenericDS();
    copy = CGenericDS();
    const QString out = m_dir->filePath("out.xml");
    QVERIFY(item.SaveXML(out));
    CGenericDS reloaded;
    QVERIFY(reloaded.LoadXML(out));
    QCOMPARE(reloaded.GetName(), QStringLiteral("Root"));
    QCOMPARE(reloaded.GetChildByName("Item").GetValue(), QStringLiteral("new"));
}

void tst_CGenericDS::loadFailureKeepsHandle_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");

    QTest::addRow("missing file") << QByteArray() << false;
    QTest::addRow("empty file") << QByteArray() << true;
    QTest::addRow("unclosed root") << QByteArray("<Setup><Skin><Value>x</Value></Skin>") << true;
    QTest::addRow("mismatched tags") << QByteArray("<Setup><Skin></Setup></Skin>") << true;
    QTest::addRow("plain text") << QByteArray("Translator=1") << true;
    QTest::addRow("two roots") << QByteArray("<A/><B/>") << true;
}

void tst_CGenericDS::loadFailureKeepsHandle()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);

    CGenericDS handle;
    QVERIFY(handle.LoadXML(writeFile("good.xml", "<Good><Child/></Good>")));
    const QString path = create ? writeFile("bad.xml", content) : m_dir->filePath("absent.xml");
    QVERIFY(!path.isEmpty());
    QVERIFY(!handle.LoadXML(path));
    QCOMPARE(handle.GetName(), QStringLiteral("Good"));
    QCOMPARE(handle.GetChildrenCount(), 1);
}

void tst_CGenericDS::value_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain text") << QByteArray("<V>CommonSkin</V>") << "CommonSkin";
    QTest::addRow("empty element") << QByteArray("<V/>") << "";
    QTest::addRow("entities") << QByteArray("<V>a&amp;b&lt;c</V>") << "a&b<c";
    QTest::addRow("cdata") << QByteArray("<V><![CDATA[<raw>]]></V>") << "<raw>";
    QTest::addRow("child elements ignored") << QByteArray("<V>a<W>inner</W>b</V>") << "ab";
    QTest::addRow("comments ignored") << QByteArray("<V>1<!-- note -->2</V>") << "12";
}

void tst_CGenericDS::value()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, expected);

    CGenericDS root;
    QVERIFY(root.LoadXML(writeFile("v.xml", xml)));
    QCOMPARE(root.GetValue(), expected);
}

void tst_CGenericDS::childLookup()
{
    CGenericDS root;
    QVERIFY(root.LoadXML(writeFile("c.xml", "<R>text<!-- c --><Skin>first</Skin><Other/><Skin>second</Skin></R>")));
    QCOMPARE(root.GetChildrenCount(), 3);
    QCOMPARE(root.GetChildByName("Skin").GetValue(), QStringLiteral("first"));
    QCOMPARE(root.GetChild(2).GetValue(), QStringLiteral("second"));
    QVERIFY(root.GetChild(3).IsNull());
    QVERIFY(root.GetChild(-1).IsNull());
    QVERIFY(root.GetChildByName("Missing").IsNull());
    QVERIFY(root.GetChildByName("skin").IsNull());
}

void tst_CGenericDS::nullHandle()
{
    CGenericDS root;
    QVERIFY(root.LoadXML(writeFile("n.xml", "<R/>")));
    CGenericDS missing = root.GetChildByName("Value");
    QVERIFY(missing.IsNull());
    QCOMPARE(missing.GetChildrenCount(), 0);
    QCOMPARE(missing.GetValue(), QString());
    QVERIFY(missing.GetChildByName("Value").IsNull());
    QVERIFY(!missing.SetValue("x"));
    QVERIFY(!missing.SaveXML(m_dir->filePath("null.xml")));
    QVERIFY(!QFile::exists(m_dir->filePath("null.xml")));
}

void tst_CGenericDS::saveIntoMissingDirectoryFails()
{
    CGenericDS root;
    QVERIFY(root.LoadXML(writeFile("s.xml", "<R/>")));
    QVERIFY(!root.SaveXML(m_dir->filePath("no/such/dir/out.xml")));
}

QTEST_GUILESS_MAIN(tst_CGenericDS)

#include "tst_cgenericds.moc"
