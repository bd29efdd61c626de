// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using apt::ConfigureManager;

namespace {

QByteArray setupXml(const QByteArray &settings, const QByteArray &rootTag = "Setup")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + rootTag + ">" + settings + "</" + rootTag + ">\n";
}

QByteArray setting(const QByteArray &tag, const QByteArray &value)
{
    return "<" + tag + "><Value>" + value + "</Value></" + tag + ">";
}

// Reads one accessor by name, so that the data table can name what it checks.
QVariant accessor(const ConfigureManager &manager, const QString &name)
{
    if (name == "translator")
        return manager.translator();
    if (name == "filter")
        return manager.filter();
    if (name == "batchOperations")
        return manager.batchOperations();
    if (name == "versionType")
        return manager.versionType();
    if (name == "pingThread")
        return manager.pingThread();
    if (name == "taskThread")
        return manager.taskThread();
    if (name == "logSaveDay")
        return manager.logSaveDay();
    if (name == "languages")
        return QVariant::fromValue(manager.languages());
    if (name == "skin") {
        const apt::Configure *skin = manager.find(ConfigureManager::KeySkin);
        return skin ? QVariant(skin->value()) : QVariant();
    }
    return QVariant();
}

} // namespace

class tst_ConfigureManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void accessors_data();
    void accessors();
    void unusableFileGivesDefaults_data();
    void unusableFileGivesDefaults();
    void duplicatesAreKept();
    void findOutsideKeyTable();
    void shippedSetupXml();
    void batchOperationsAreWrittenBack_data();
    void batchOperationsAreWrittenBack();
    void userSettingsOverShippedOnes_data();
    void userSettingsOverShippedOnes();
    void settingsFileThatIsALinkIsReplaced();

private:
    QString writeSetup(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

QString tst_ConfigureManager::writeSetup(const QByteArray &bytes)
{
    const QString path = m_dir->filePath("Setup.xml");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void tst_ConfigureManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ConfigureManager::accessors_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("accessor");
    QTest::addColumn<QVariant>("expected");

    const QByteArray none;
    const QVariant noLanguages = QVariant::fromValue(QList<quint32>{});

    QTest::addRow("translator 1") << setupXml(setting("Translator", "1")) << "translator" << QVariant(1u);
    QTest::addRow("translator abc reads 0") << setupXml(setting("Translator", "abc")) << "translator" << QVariant(0u);
    QTest::addRow("translator missing") << setupXml(none) << "translator" << QVariant(0u);
    QTest::addRow("translator without Value")
        << setupXml("<Translator>1</Translator>" + setting("Skin", "x")) << "translator" << QVariant(0u);
    QTest::addRow("translator negative") << setupXml(setting("Translator", "-1")) << "translator" << QVariant(0u);
    QTest::addRow("translator hex is not decimal")
        << setupXml(setting("Translator", "0x1")) << "translator" << QVariant(0u);
    QTest::addRow("translator duplicate, first wins")
        << setupXml(setting("Translator", "1") + setting("Translator", "0")) << "translator" << QVariant(1u);
    QTest::addRow("root tag ignored") << setupXml(setting("Translator", "1"), "Anything") << "translator"
                                      << QVariant(1u);
    QTest::addRow("Value must be a child element")
        << setupXml("<Translator Value=\"1\"><Other>1</Other></Translator>") << "translator" << QVariant(0u);

    QTest::addRow("filter 1") << setupXml(setting("Filter", "1")) << "filter" << QVariant(true);
    QTest::addRow("filter 01") << setupXml(setting("Filter", "01")) << "filter" << QVariant(true);
    QTest::addRow("filter true") << setupXml(setting("Filter", "true")) << "filter" << QVariant(false);
    QTest::addRow("filter 0") << setupXml(setting("Filter", "0")) << "filter" << QVariant(false);
    QTest::addRow("filter 2") << setupXml(setting("Filter", "2")) << "filter" << QVariant(false);
    QTest::addRow("filter 1.0") << setupXml(setting("Filter", "1.0")) << "filter" << QVariant(false);
    QTest::addRow("filter missing") << setupXml(none) << "filter" << QVariant(false);

    QTest::addRow("versionType -1 reads 1") << setupXml(setting("VersionType", "-1")) << "versionType" << QVariant(1);
    QTest::addRow("versionType missing") << setupXml(none) << "versionType" << QVariant(1);
    QTest::addRow("versionType 0") << setupXml(setting("VersionType", "0")) << "versionType" << QVariant(0);
    QTest::addRow("versionType -2") << setupXml(setting("VersionType", "-2")) << "versionType" << QVariant(-2);
    QTest::addRow("versionType abc") << setupXml(setting("VersionType", "abc")) << "versionType" << QVariant(0);

    QTest::addRow("pingThread 4") << setupXml(setting("PingThread", "4")) << "pingThread" << QVariant(4);
    QTest::addRow("pingThread missing") << setupXml(none) << "pingThread" << QVariant(-1);
    QTest::addRow("pingThread abc reads 0, not -1")
        << setupXml(setting("PingThread", "abc")) << "pingThread" << QVariant(0);
    QTest::addRow("taskThread 8") << setupXml(setting("TaskThread", "8")) << "taskThread" << QVariant(8);
    QTest::addRow("taskThread missing") << setupXml(none) << "taskThread" << QVariant(-1);
    QTest::addRow("logSaveDay 30") << setupXml(setting("LogSaveDay", "30")) << "logSaveDay" << QVariant(30);
    QTest::addRow("logSaveDay missing") << setupXml(none) << "logSaveDay" << QVariant(-1);
    QTest::addRow("logSaveDay empty Value reads 0")
        << setupXml("<LogSaveDay><Value/></LogSaveDay>") << "logSaveDay" << QVariant(0);
    QTest::addRow("logSaveDay out of int range")
        << setupXml(setting("LogSaveDay", "99999999999")) << "logSaveDay" << QVariant(0);

    QTest::addRow("languages 0,1") << setupXml(setting("Languages", "0,1")) << "languages"
                                   << QVariant::fromValue(QList<quint32>{0, 1});
    QTest::addRow("languages with junk") << setupXml(setting("Languages", "1, x ,2")) << "languages"
                                         << QVariant::fromValue(QList<quint32>{1, 0, 2});
    QTest::addRow("languages empty") << setupXml(setting("Languages", "")) << "languages" << noLanguages;
    QTest::addRow("languages missing") << setupXml(none) << "languages" << noLanguages;

    QTest::addRow("batch operations 1") << setupXml(setting("BatchOperations", "1")) << "batchOperations"
                                        << QVariant(true);
    QTest::addRow("batch operations 0") << setupXml(setting("BatchOperations", "0")) << "batchOperations"
                                        << QVariant(false);
    QTest::addRow("batch operations 2") << setupXml(setting("BatchOperations", "2")) << "batchOperations"
                                        << QVariant(false);
    QTest::addRow("batch operations missing") << setupXml(none) << "batchOperations" << QVariant(false);

    QTest::addRow("skin") << setupXml(setting("Skin", "CommonSkin")) << "skin"
                          << QVariant(QStringLiteral("CommonSkin"));
    QTest::addRow("skin duplicate, first wins") << setupXml(setting("Skin", "First") + setting("Skin", "Second"))
                                                << "skin" << QVariant(QStringLiteral("First"));
    QTest::addRow("skin empty value") << setupXml(setting("Skin", "")) << "skin" << QVariant(QString(""));
    QTest::addRow("skin missing") << setupXml(none) << "skin" << QVariant();
}

void tst_ConfigureManager::accessors()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, accessor);
    QFETCH(QVariant, expected);

    ConfigureManager *manager = ConfigureManager::GetInstance();
    const QString path = writeSetup(xml);
    QVERIFY(manager->load(path));
    QCOMPARE(manager->path(), path);
    QCOMPARE(::accessor(*manager, accessor), expected);
}

void tst_ConfigureManager::unusableFileGivesDefaults_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");

    QTest::addRow("missing file") << false << QByteArray();
    QTest::addRow("empty file") << true << QByteArray();
    QTest::addRow("unclosed root") << true << QByteArray("<Setup>" + setting("Translator", "1"));
    QTest::addRow("not xml") << true << QByteArray("Translator=1\nFilter=1\n");
    QTest::addRow("broken inside") << true << QByteArray("<Setup><Translator><Value>1</Translator></Setup>");
}

void tst_ConfigureManager::unusableFileGivesDefaults()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);

    ConfigureManager *manager = ConfigureManager::GetInstance();
    // Settings of an earlier good file must not survive a failed load.
    const QString goodPath = m_dir->filePath("Good.xml");
    {
        QFile good(goodPath);
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write(setupXml(setting("Translator", "1") + setting("Filter", "1") + setting("Skin", "Dark")
                            + setting("PingThread", "3") + setting("VersionType", "5")));
    }
    QVERIFY(manager->load(goodPath));
    QCOMPARE(manager->translator(), 1u);

    const QString path = exists ? writeSetup(content) : m_dir->filePath("Setup.xml");
    QVERIFY(!path.isEmpty());
    QVERIFY(!manager->load(path));

    QVERIFY(manager->configures().isEmpty());
    QCOMPARE(manager->translator(), 0u);
    QCOMPARE(manager->filter(), false);
    QCOMPARE(manager->find(ConfigureManager::KeySkin), nullptr);
    QCOMPARE(manager->versionType(), 1);
    QCOMPARE(manager->pingThread(), -1);
    QCOMPARE(manager->languages(), QList<quint32>{});
    QCOMPARE(manager->path(), goodPath);

    // The file is only read: a broken one stays byte for byte, a missing one is not created.
    QCOMPARE(QFile::exists(path), exists);
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void tst_ConfigureManager::duplicatesAreKept()
{
    ConfigureManager *manager = ConfigureManager::GetInstance();
    QVERIFY(manager->load(writeSetup(setupXml(setting("Skin", "A") + "<!-- comment -->" + setting("Filter", "1")
                                              + setting("Skin", "B") + "<Unknown/>"))));
    const QList<const apt::Configure *> all = manager->configures();
    QCOMPARE(all.size(), 4);
    QStringList names;
    QStringList values;
    for (const apt::Configure *configure : all) {
        names << configure->name();
        values << configure->value();
    }
    QCOMPARE(names, (QStringList{"Skin", "Filter", "Skin", "Unknown"}));
    QCOMPARE(values, (QStringList{"A", "1", "B", ""}));
    QCOMPARE(manager->find(ConfigureManager::KeySkin), all.at(0));
}

void tst_ConfigureManager::findOutsideKeyTable()
{
    ConfigureManager *manager = ConfigureManager::GetInstance();
    QVERIFY(manager->load(writeSetup(setupXml(setting("Translator", "1") + setting("Filter", "1")))));
    const int past = ConfigureManager::KeySnapshotView + 1;
    QCOMPARE(ConfigureManager::keyName(past), QString());
    QCOMPARE(ConfigureManager::keyName(-1), QString());
    QCOMPARE(manager->find(past), nullptr);
    QCOMPARE(manager->find(-1), nullptr);
    QVERIFY(manager->find(ConfigureManager::KeyFilter));
}

void tst_ConfigureManager::shippedSetupXml()
{
    const QString binDir = qEnvironmentVariable("VEXO_TEST_BIN_DIR");
    if (binDir.isEmpty())
        QSKIP("VEXO_TEST_BIN_DIR is not set; run through CTest");
    ConfigureManager *manager = ConfigureManager::GetInstance();
    QVERIFY(manager->load(binDir + "/Setup.xml"));
    QCOMPARE(manager->translator(), 0u);
    QVERIFY(manager->find(ConfigureManager::KeySkin));
    QCOMPARE(manager->find(ConfigureManager::KeySkin)->value(), QStringLiteral("CommonSkin"));
    QCOMPARE(manager->filter(), false);
    QCOMPARE(manager->batchOperations(), false);
    for (int key = ConfigureManager::KeyTranslator; key <= ConfigureManager::KeyBatchOperations; ++key)
        QVERIFY2(manager->find(key), qPrintable(ConfigureManager::keyName(key)));
}

void tst_ConfigureManager::batchOperationsAreWrittenBack_data()
{
    QTest::addColumn<QByteArray>("xml"); // empty: no file
    QTest::addColumn<bool>("written");
    const QByteArray others = "<!-- kept -->" + setting("Translator", "1") + setting("Skin", "CommonSkin");
    QTest::addRow("value replaced") << setupXml(others + setting("BatchOperations", "0")) << true;
    QTest::addRow("element added") << setupXml(others) << true;
    QTest::addRow("Value added") << setupXml(others + "<BatchOperations/>") << true;
    QTest::addRow("file created") << QByteArray() << true;
    QTest::addRow("malformed file left alone") << QByteArray("<Setup><Translator>") << false;
}

void tst_ConfigureManager::batchOperationsAreWrittenBack()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, written);
    ConfigureManager *manager = ConfigureManager::GetInstance();
    const QString path = m_dir->filePath("Setup.xml");
    if (!xml.isEmpty())
        QCOMPARE(writeSetup(xml), path);
    manager->load(path);

    for (const bool on : {true, false, true}) {
        QCOMPARE(manager->setBatchOperations(on), written);
        // The value holds for this run whether or not the file took it.
        QCOMPARE(manager->batchOperations(), on);
    }
    QFile file(path);
    if (!written) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), xml);
        return;
    }
    // What the next start reads.
    QVERIFY(manager->load(path));
    QCOMPARE(manager->batchOperations(), true);
    if (!xml.isEmpty()) {
        QCOMPARE(manager->translator(), 1u);
        QCOMPARE(manager->find(ConfigureManager::KeySkin)->value(), QStringLiteral("CommonSkin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("<!-- kept -->"));
        QCOMPARE(text.count("<BatchOperations>"), 1);
    }
}

void tst_ConfigureManager::userSettingsOverShippedOnes_data()
{
    QTest::addColumn<QByteArray>("user"); // empty: no user file yet
    QTest::addColumn<quint32>("translator");
    QTest::addColumn<bool>("batchOperations");
    QTest::addColumn<QString>("skin");

    const QByteArray none;
    QTest::addRow("no user file: the shipped settings") << none << 0u << false << "CommonSkin";
    QTest::addRow("user file replaces its settings only")
        << setupXml(setting("Translator", "1")) << 1u << false << "CommonSkin";
    QTest::addRow("user file adds a setting the shipped file lacks")
        << setupXml(setting("BatchOperations", "1")) << 0u << true << "CommonSkin";
    QTest::addRow("unreadable user file: the shipped settings")
        << QByteArray("<Setup><Translator>") << 0u << false << "CommonSkin";
}

// The shipped Setup.xml is read-only and stays as it is; the user's choices go into their own
// file, which the next start reads over the shipped one.
void tst_ConfigureManager::userSettingsOverShippedOnes()
{
    QFETCH(QByteArray, user);
    QFETCH(quint32, translator);
    QFETCH(bool, batchOperations);
    QFETCH(QString, skin);

    const QByteArray shippedBytes = setupXml(setting("Translator", "0") + setting("Skin", "CommonSkin"));
    const QString shipped = writeSetup(shippedBytes);
    QVERIFY(!shipped.isEmpty());
    QVERIFY(QFile::setPermissions(shipped, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString userPath = m_dir->filePath("user/config/Setup.xml");
    if (!user.isEmpty()) {
        QVERIFY(QDir().mkpath(m_dir->filePath("user/config")));
        QFile file(userPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(user) == user.size());
    }

    ConfigureManager *manager = ConfigureManager::GetInstance();
    QVERIFY(manager->load(shipped, userPath));
    QCOMPARE(manager->translator(), translator);
    QCOMPARE(manager->batchOperations(), batchOperations);
    QCOMPARE(manager->find(ConfigureManager::KeySkin)->value(), skin);

    const bool unreadable = !user.isEmpty() && !user.contains("</Setup>");
    QCOMPARE(manager->setTranslator(1), !unreadable);
    QCOMPARE(manager->setBatchOperations(!batchOperations), !unreadable);
    QFile shippedFile(shipped);
    QVERIFY(shippedFile.open(QIODevice::ReadOnly));
    QCOMPARE(shippedFile.readAll(), shippedBytes);
    if (unreadable)
        return;

    // The next start.
    QVERIFY(manager->load(shipped, userPath));
    QCOMPARE(manager->translator(), 1u);
    QCOMPARE(manager->batchOperations(), !batchOperations);
    QCOMPARE(manager->find(ConfigureManager::KeySkin)->value(), skin);
}

void tst_ConfigureManager::settingsFileThatIsALinkIsReplaced()
{
    const QString decoy = m_dir->filePath("decoy");
    const QByteArray decoyBytes = setupXml(setting("Translator", "1"));
    QFile file(decoy);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(decoyBytes) == decoyBytes.size());
    file.close();
    const QString path = m_dir->filePath("Setup.xml");
    QVERIFY(QFile::link(decoy, path));
    ConfigureManager *manager = ConfigureManager::GetInstance();
    manager->load(path);
    QVERIFY(manager->setBatchOperations(true));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), decoyBytes);
    QVERIFY(!QFileInfo(path).isSymLink());
    QVERIFY(manager->load(path));
    QCOMPARE(manager->batchOperations(), true);
    QCOMPARE(manager->translator(), 1u); // what the link showed is kept
}

QTEST_GUILESS_MAIN(tst_ConfigureManager)

#include "tst_configuremanager.moc"
