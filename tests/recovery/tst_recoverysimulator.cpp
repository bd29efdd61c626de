// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Password recovery end to end: the dialogs and the batch flows of the device list against the
// device simulator and the maker's key service, on loopback only.

#include "modalresponder.h"
#include "simulatedlist.h"
#include "urlcatcher.h"

#include <akloguitoolkit/cradiobutton.h>
#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicestore.h>
#include <errorexplanation.h>
#include <journal.h>
#include <multistatelineedit.h>
#include <recoveryfiles.h>
#include <resetpassworddialog.h>
#include <resetpasswordwidget.h>
#include <restorepassworddialog.h>
#include <vexohandler.h>
#include <warningdialog.h>

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardItem>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <functional>
#include <memory>

using aptui::MultiStateLineEdit;
using VEXO::VexoHandler;
using VexoTest::ModalResponder;
using VexoTool::DeviceDisplayPage;
using VexoTool::DeviceInfoModel;
using VexoTool::ResetPasswordDialog;
using VexoTool::RestorePasswordDialog;

namespace {

constexpr int kDevices = 36;
const QString NewPassword = QStringLiteral("Recovered#2026");
const QString FactoryPassword = QStringLiteral("70639");

enum KeySource { QrTypedKey, QrResetFile, KeyFileResetFile, KeyFileTypedKey };

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

MultiStateLineEdit *edit(QWidget *parent, const char *name)
{
    return child<MultiStateLineEdit>(parent, name);
}

// What an independent decoder reads from the image a label shows.
QString decodeLabel(const QLabel *label, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("qr.png"));
    if (label->pixmap().isNull() || !label->pixmap().save(path))
        return {};
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), path});
    if (!zbar.waitForFinished(20000) || zbar.exitCode() != 0)
        return {};
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_RecoverySimulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void resetRoundTrip_data();
    void resetRoundTrip();
    void refusedResetSaysWhy_data();
    void refusedResetSaysWhy();
    void defaultRestore();
    void batchExport();
    void batchReset();
    void runsWithoutFailureLeaveNoErrorFile();
    void resetNamesOnlyTheFilesLeft();
    void withoutTickedRows();

private:
    using Wanted = std::function<bool(const VEXO_DEVICE_INFO &)>;
    VEXO_DEVICE_INFO takeDevice(const Wanted &wanted);
    bool acceptsPassword(const VEXO_DEVICE_INFO &record, const QString &password);
    void checkRows(const QList<VEXO_DEVICE_INFO> &records);
    QString batchFile(const QString &name) const { return VexoTool::batchFilePath(name); }
    QString resetFileFor(const VEXO_DEVICE_INFO &record, const QString &folder);
    void answerPasswordDialog(const QString &folder);
    /**
     * @brief Checks that the journal holds exactly @p results (success or not) for @p devices'
     *        entries of @p flow written since the last check, and none of @p secrets in its files.
     */
    void checkJournal(VexoTool::JournalFlow flow, const QList<VEXO_DEVICE_INFO> &devices, const QList<bool> &results,
                      const QStringList &secrets);

    QTemporaryDir m_home;
    QTemporaryDir m_work;
    SimulatedList m_devices;
    DeviceDisplayPage *m_page = nullptr;
    std::unique_ptr<ModalResponder> m_responder;
    QSet<QString> m_used;
    std::unique_ptr<VexoTool::Journal> m_journal;
    QHash<VexoTool::JournalFlow, qint64> m_journalCounts; // entries of each flow already checked
};

void tst_RecoverySimulator::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_home.isValid());
    QVERIFY(m_work.isValid());
    // The batch folder lies in the home folder: never the real one.
    qputenv("HOME", m_home.path().toLocal8Bit());
    QCOMPARE(QDir::homePath(), QDir(m_home.path()).absolutePath());
    QVERIFY(m_devices.start(kDevices, 29, 3000));
    m_page = &m_devices.page();
    VexoTool::JournalSettings journal;
    journal.databasePath = m_work.filePath(QStringLiteral("journal.sqlite"));
    m_journal = std::make_unique<VexoTool::Journal>(journal);
    m_page->setJournal(m_journal.get());
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(2000));
}

void tst_RecoverySimulator::cleanupTestCase()
{
    m_responder.reset();
    m_devices.stop();
}

void tst_RecoverySimulator::init()
{
    m_responder = std::make_unique<ModalResponder>();
    DeviceInfoModel *model = m_page->model();
    const QSignalBlocker blocker(model);
    for (int row = 0; row < model->rowCount(); ++row)
        model->setCheckState(row, Qt::Unchecked);
}

void tst_RecoverySimulator::cleanup()
{
    m_responder.reset();
}

VEXO_DEVICE_INFO tst_RecoverySimulator::takeDevice(const Wanted &wanted)
{
    QVector<VEXO_DEVICE_INFO> records;
    m_devices.store().copyAll(records);
    for (const VEXO_DEVICE_INFO &record : std::as_const(records)) {
        const QString serial = fieldText(record.serialNumber);
        if (!record.inactive && !m_used.contains(serial) && wanted(record)) {
            m_used.insert(serial);
            return record;
        }
    }
    return VEXO_DEVICE_INFO{};
}

bool tst_RecoverySimulator::acceptsPassword(const VEXO_DEVICE_INFO &record, const QString &password)
{
    // Proving the administrator password with the network values the device has now.
    DeviceNetParam param{};
    if (!m_devices.store().getNetParams(fieldText(record.serialNumber), fieldText(record.macAddress), param))
        return false;
    // Devices that cannot change their IPv6 set-up refuse a request that names one.
    if (!(record.capabilityFlags & VEXO_CAP_MOD_IPV6)) {
        std::memset(param.ipv6Address, 0, sizeof param.ipv6Address);
        std::memset(param.ipv6Gateway, 0, sizeof param.ipv6Gateway);
    }
    const bool accepted
        = m_devices.discovery().modifyDeviceNetParam(QByteArray(record.macAddress), password.toLatin1(), param);
    if (!accepted)
        qWarning("modify refused, error %u", m_devices.discovery().getLastError());
    return accepted;
}

void tst_RecoverySimulator::checkRows(const QList<VEXO_DEVICE_INFO> &records)
{
    // The list keeps one row checked for the panel; the batch flows read every checked row.
    DeviceInfoModel *model = m_page->model();
    const QSignalBlocker blocker(model);
    for (const VEXO_DEVICE_INFO &record : records) {
        const int row = model->rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
        QVERIFY(row >= 0);
        model->setCheckState(row, Qt::Checked);
    }
}

QString tst_RecoverySimulator::resetFileFor(const VEXO_DEVICE_INFO &record, const QString &folder)
{
    const QString serial = fieldText(record.serialNumber);
    const auto key = VexoTool::queryDeviceKey(m_devices.discovery(), serial, VEXO_GET_KEY_V1);
    if (!key)
        return {};
    const QString keyPath = QDir(m_work.path()).filePath(QStringLiteral("batch-key.xml"));
    if (!VexoTool::writeKeyFile(keyPath, *key))
        return {};
    const QString resetPath = QDir(folder).filePath(VexoTool::keyFileName(serial, QDateTime::currentDateTime()));
    if (runKeyService(
            {QStringLiteral("reset"), QStringLiteral("--key-file"), keyPath, QStringLiteral("--out-file"), resetPath})
            .isNull())
        return {};
    return resetPath;
}

void tst_RecoverySimulator::checkJournal(VexoTool::JournalFlow flow, const QList<VEXO_DEVICE_INFO> &devices,
                                         const QList<bool> &results, const QStringList &secrets)
{
    QVERIFY(m_journal->flush());
    VexoTool::JournalFilter ofFlow;
    ofFlow.flows = {flow};
    const qint64 count = m_journal->count(ofFlow);
    QCOMPARE(count - m_journalCounts.value(flow), qint64(results.size()));
    m_journalCounts.insert(flow, count);
    const VexoTool::JournalPage page = m_journal->query(ofFlow, 0, int(results.size()));
    QMultiHash<QString, bool> expected;
    for (qsizetype i = 0; i < results.size(); ++i)
        expected.insert(fieldText(devices.at(qMin(i, devices.size() - 1)).serialNumber), results.at(i));
    QMultiHash<QString, bool> written;
    for (const VexoTool::JournalEntry &entry : page.entries) {
        const bool succeeded = entry.result == VexoTool::JournalResult::Succeeded;
        written.insert(entry.serialNumber, succeeded);
        QCOMPARE(entry.after.passwordSet, succeeded && flow != VexoTool::JournalFlow::BatchKeyExport);
    }
    QCOMPARE(written, expected);
    QByteArray bytes;
    for (const QString &suffix : {QString(), QStringLiteral("-wal")}) {
        QFile file(m_journal->databasePath() + suffix);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    for (const QString &secret : secrets)
        QVERIFY2(!bytes.contains(secret.toUtf8()), qPrintable(secret));
}

void tst_RecoverySimulator::answerPasswordDialog(const QString &folder)
{
    // The batch password dialog gets the folder and a new password; the busy dialog is left alone.
    m_responder->onOtherModal([folder](QWidget *modal) {
        if (!qobject_cast<VexoTool::ResetPasswordWidget *>(modal))
            return;
        edit(modal, "m_lineEditFilePath")->setText(folder + QLatin1Char('/'));
        edit(modal, "m_lineEditNewPassword")->setText(NewPassword);
        edit(modal, "m_lineEditConfirmPassword")->setText(NewPassword);
        child<QPushButton>(modal, "btnConfirm")->click();
    });
}

void tst_RecoverySimulator::resetRoundTrip_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<int>("source");
    QTest::addRow("newer scheme: QR code, typed key") << true << int(QrTypedKey);
    QTest::addRow("newer scheme: QR code, reset file through copy.xml") << true << int(QrResetFile);
    QTest::addRow("older scheme: QR code, reset file through copy.xml") << false << int(QrResetFile);
    QTest::addRow("older scheme: exported key file, reset file") << false << int(KeyFileResetFile);
    QTest::addRow("newer scheme: exported key file, typed key") << true << int(KeyFileTypedKey);
}

void tst_RecoverySimulator::resetRoundTrip()
{
    QFETCH(bool, newFormat);
    QFETCH(int, source);
    const VEXO_DEVICE_INFO record = takeDevice([newFormat](const VEXO_DEVICE_INFO &r) {
        return (r.capabilityFlags & VEXO_CAP_KEY_RESET) && bool(r.keyFormatFlags & VEXO_KEYFMT_NEW) == newFormat;
    });
    const QString serial = fieldText(record.serialNumber);
    const QString type = fieldText(record.deviceTypeText);
    QVERIFY(!serial.isEmpty());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    ResetPasswordDialog dialog(m_devices.discovery(), nullptr, serial, type, newFormat,
                               record.capabilityFlags & VEXO_CAP_RESET_IPC);
    dialog.setJournal(m_journal.get(), record);
    QStringList serviceArguments{QStringLiteral("reset")};
    if (source == QrTypedKey || source == QrResetFile) {
        child<QPushButton>(&dialog, "m_btnQRcode")->click();
        QTRY_VERIFY(!child<QLabel>(&dialog, "m_labelQcCode")->pixmap().isNull());
        const QString qr = decodeLabel(child<QLabel>(&dialog, "m_labelQcCode"), folder.path());
        const QString expectedStart = (newFormat ? type : QStringLiteral("B:") + type) + QStringLiteral("**VK")
                                      + QString::number(newFormat ? 2 : 1) + QLatin1Char('.') + serial;
        QVERIFY2(qr.startsWith(expectedStart), qPrintable(qr));
        serviceArguments << QStringLiteral("--qr") << qr;
    } else {
        m_responder->queueFileAnswer(folder.path());
        dialog.onExportFile();
        QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Exported.")});
        m_responder->clearMessages();
        const QStringList keyFiles = QDir(folder.path()).entryList({QStringLiteral("*.txt")}, QDir::Files);
        QCOMPARE(keyFiles.size(), 1);
        serviceArguments << QStringLiteral("--key-file") << folder.filePath(keyFiles.first());
    }

    const bool typed = source == QrTypedKey || source == KeyFileTypedKey;
    QString keyFieldText;
    if (typed) {
        keyFieldText = runKeyService(serviceArguments);
        QVERIFY(keyFieldText.startsWith(QStringLiteral("RK")));
        QTest::keyClicks(edit(&dialog, "m_lineEditFilePath"), keyFieldText);
    } else {
        // The service's file arrives with trailing line ends, as files from mail often do.
        const QString resetFile = folder.filePath(QStringLiteral("reset-from-service.xml"));
        QVERIFY(!runKeyService(serviceArguments << QStringLiteral("--out-file") << resetFile).isNull());
        QFile file(resetFile);
        QVERIFY(file.open(QIODevice::Append));
        file.write("\r\n\r\n");
        file.close();
        child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnAutoInput")->click();
        m_responder->queueFileAnswer(resetFile);
        child<QToolButton>(&dialog, "m_btnFilePath")->click();
        QTRY_COMPARE(edit(&dialog, "m_lineEditFilePath")->text(), QDir::toNativeSeparators(resetFile));
    }
    QTest::keyClicks(edit(&dialog, "m_lineEditNewPassword"), NewPassword);
    QTest::keyClicks(edit(&dialog, "m_lineEditConfirmPassword"), NewPassword);
    child<QPushButton>(&dialog, "btnConfirm")->click();

    QTRY_COMPARE_WITH_TIMEOUT(m_responder->messages(), QStringList{QStringLiteral("Reset password Succeed.")}, 10000);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (!typed)
        QVERIFY(!readAll(VexoTool::cleanCopyPath()).endsWith('\n'));
    QVERIFY(acceptsPassword(record, NewPassword));
    checkJournal(VexoTool::JournalFlow::PasswordReset, {record}, {true},
                 {NewPassword, keyFieldText.isEmpty() ? NewPassword : keyFieldText});
}

void tst_RecoverySimulator::refusedResetSaysWhy_data()
{
    QTest::addColumn<bool>("missingFile"); // else a key the service signed for another device
    QTest::addColumn<quint32>("code");     // whose explanation follows "Reset password failed."

    QTest::addRow("key of another device") << false << quint32(VEXO_ERR_DEVICE_DENY);
    QTest::addRow("reset file that does not exist") << true << quint32(VEXO_ERR_FILE);
}

void tst_RecoverySimulator::refusedResetSaysWhy()
{
    QFETCH(bool, missingFile);
    QFETCH(quint32, code);
    const VEXO_DEVICE_INFO target = takeDevice([](const VEXO_DEVICE_INFO &r) {
        return (r.capabilityFlags & VEXO_CAP_KEY_RESET) && (r.keyFormatFlags & VEXO_KEYFMT_NEW);
    });
    QVERIFY(target.serialNumber[0]);
    ResetPasswordDialog dialog(m_devices.discovery(), nullptr, fieldText(target.serialNumber),
                               fieldText(target.deviceTypeText), true, false);
    if (missingFile) {
        child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnAutoInput")->click();
        edit(&dialog, "m_lineEditFilePath")->setText(m_work.filePath(QStringLiteral("moved-away.xml")));
    } else {
        const VEXO_DEVICE_INFO other = takeDevice([](const VEXO_DEVICE_INFO &r) {
            return (r.capabilityFlags & VEXO_CAP_KEY_RESET) && (r.keyFormatFlags & VEXO_KEYFMT_NEW);
        });
        QVERIFY(other.serialNumber[0]);
        const auto otherKey
            = VexoTool::queryDeviceKey(m_devices.discovery(), fieldText(other.serialNumber), VEXO_GET_KEY_V2);
        QVERIFY(otherKey);
        const QString wrongKey = runKeyService({QStringLiteral("reset"), QStringLiteral("--key"), otherKey->text()});
        QVERIFY(wrongKey.startsWith(QStringLiteral("RK2.")));
        child<QPushButton>(&dialog, "m_btnQRcode")->click();
        QTRY_VERIFY(!child<QLabel>(&dialog, "m_labelQcCode")->pixmap().isNull());
        edit(&dialog, "m_lineEditFilePath")->setText(wrongKey);
    }
    edit(&dialog, "m_lineEditNewPassword")->setText(NewPassword);
    edit(&dialog, "m_lineEditConfirmPassword")->setText(NewPassword);
    auto *confirm = child<QPushButton>(&dialog, "btnConfirm");
    confirm->click();
    // The device is asked on a worker thread; the dialog waits with its buttons disabled.
    QVERIFY(!confirm->isEnabled());
    QVERIFY(!child<QWidget>(&dialog, "m_progressBusy")->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(
        m_responder->messages(),
        QStringList{VexoTool::ErrorExplanation::withExplanation(QStringLiteral("Reset password failed."), code)},
        10000);
    QVERIFY(confirm->isEnabled());
    QVERIFY(child<QWidget>(&dialog, "m_progressBusy")->isHidden());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!acceptsPassword(target, NewPassword));
}

void tst_RecoverySimulator::defaultRestore()
{
    // Every simulated device without key reset belongs to a family whose restore code carries the
    // serial number without the type text.
    const VEXO_DEVICE_INFO record
        = takeDevice([](const VEXO_DEVICE_INFO &r) { return !(r.capabilityFlags & VEXO_CAP_KEY_RESET); });
    const QString serial = fieldText(record.serialNumber);
    const QString type = fieldText(record.deviceTypeText);
    QVERIFY(!serial.isEmpty());

    RestorePasswordDialog dialog(m_devices.discovery(), nullptr, serial, type);
    dialog.setJournal(m_journal.get(), record);
    const QString qr = decodeLabel(child<QLabel>(&dialog, "m_labelQcCode"), m_work.path());
    QString carried = serial;
    carried.remove(type);
    QVERIFY(carried.size() < serial.size());
    QCOMPARE(qr, QStringLiteral("A:") + type + QStringLiteral("**") + carried);

    // A code of another day's date is wrong for the device.
    const QString wrongCode
        = runKeyService({QStringLiteral("restore"), QStringLiteral("--qr"), qr, QStringLiteral("--date"),
                         QDate::currentDate().addDays(-30).toString(QStringLiteral("yyyyMMdd"))});
    QVERIFY(!wrongCode.isEmpty());
    edit(&dialog, "m_lineEditSecurityCode")->setText(wrongCode);
    child<QPushButton>(&dialog, "btnConfirm")->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_responder->messages(),
                              QStringList{VexoTool::ErrorExplanation::withExplanation(
                                  QStringLiteral("Restore password failed."), VEXO_ERR_DEVICE_DENY)},
                              10000);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    const QString code = runKeyService({QStringLiteral("restore"), QStringLiteral("--qr"), qr});
    QVERIFY(!code.isEmpty());
    // Read off a phone: small letters and blanks between the groups are forgiven.
    edit(&dialog, "m_lineEditSecurityCode")
        ->setText(QStringLiteral(" %1 %2 ").arg(code.left(8), code.mid(8)).toLower());
    m_responder->clearMessages();
    child<QPushButton>(&dialog, "btnConfirm")->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_responder->messages().size(), 1, 10000);
    // The message names the password the device has now.
    QVERIFY2(m_responder->lastMessage().contains(FactoryPassword), qPrintable(m_responder->lastMessage()));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(acceptsPassword(record, FactoryPassword));
    // The wrong code and the right one: two attempts, neither code written.
    checkJournal(VexoTool::JournalFlow::PasswordRestore, {record}, {false, true}, {wrongCode, code});
}

void tst_RecoverySimulator::batchExport()
{
    const auto keyReset = [](const VEXO_DEVICE_INFO &r) {
        return bool(r.capabilityFlags & VEXO_CAP_KEY_RESET);
    };
    const VEXO_DEVICE_INFO newer = takeDevice(
        [keyReset](const VEXO_DEVICE_INFO &r) { return keyReset(r) && (r.keyFormatFlags & VEXO_KEYFMT_NEW); });
    const VEXO_DEVICE_INFO unsupported = takeDevice([keyReset](const VEXO_DEVICE_INFO &r) { return !keyReset(r); });
    const VEXO_DEVICE_INFO older = takeDevice(
        [keyReset](const VEXO_DEVICE_INFO &r) { return keyReset(r) && !(r.keyFormatFlags & VEXO_KEYFMT_NEW); });
    checkRows({newer, unsupported, older});
    VexoTest::UrlCatcher urls(QStringLiteral("file"));
    QSignalSpy covers(m_page, &DeviceDisplayPage::signalCoverMainPage);

    m_responder->pressInLinkMessages(QStringLiteral("m_btnOpenFolder"));
    m_page->onConfigExportFile();
    QCOMPARE(m_responder->messages(),
             QStringList{QStringLiteral("Key files written: 2\nDevices that gave no key: 1 (listed in out_error.txt)\n"
                                        "Folder: ")
                         + QDir::toNativeSeparators(VexoTool::batchFolder())});
    QCOMPARE(urls.urls(), QList<QUrl>{QUrl::fromLocalFile(QDir(m_home.path()).absoluteFilePath("VexoReset"))});
    QCOMPARE(covers.count(), 1);

    // One line for the device without key reset, in the service desk's format.
    const QString failed = fieldText(unsupported.serialNumber);
    // Then what the error code means, after a dash.
    const QByteArray expectedLine
        = (failed + QLatin1Char('+') + fieldText(unsupported.startTime) + QStringLiteral(" software: ")
           + fieldText(unsupported.softwareVersion) + QStringLiteral(" error code: ")
           + QString::number(VEXO_ERR_UNSUPPORTED) + QStringLiteral(" \u2014 ")
           + VexoTool::ErrorExplanation::forCode(VEXO_ERR_UNSUPPORTED))
              .toUtf8()
          + "\r\n";
    QCOMPARE(readAll(batchFile(QStringLiteral("out_error.txt"))), expectedLine);

    // Key files of the other two, with the key of the older scheme, readable by the service.
    for (const VEXO_DEVICE_INFO &record : {newer, older}) {
        const QString serial = fieldText(record.serialNumber);
        const QStringList files = QDir(VexoTool::batchFolder()).entryList({serial + QStringLiteral("-*.txt")});
        QCOMPARE(files.size(), 1);
        const QByteArray key = readAll(QDir(VexoTool::batchFolder()).filePath(files.first()));
        QVERIFY2(key.startsWith("VK1." + serial.toLatin1()), key.constData());
    }
    QVERIFY(QDir(VexoTool::batchFolder()).entryList({failed + QStringLiteral("-*")}).isEmpty());
}

void tst_RecoverySimulator::batchReset()
{
    const auto keyReset = [](const VEXO_DEVICE_INFO &r) {
        return bool(r.capabilityFlags & VEXO_CAP_KEY_RESET);
    };
    const VEXO_DEVICE_INFO good = takeDevice(keyReset);
    const VEXO_DEVICE_INFO refused = takeDevice(keyReset);
    const VEXO_DEVICE_INFO unmatched = takeDevice(keyReset);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(!resetFileFor(good, folder.path()).isEmpty());
    // The refused device's file holds a reset signed for another device.
    const QString stray = resetFileFor(unmatched, m_work.path());
    QVERIFY(!stray.isEmpty());
    QVERIFY(QFile::copy(
        stray, QDir(folder.path())
                   .filePath(VexoTool::keyFileName(fieldText(refused.serialNumber), QDateTime::currentDateTime()))));
    checkRows({good, refused, unmatched});

    VexoTest::UrlCatcher urls(QStringLiteral("file"));
    answerPasswordDialog(folder.path());
    m_responder->pressInLinkMessages(QStringLiteral("m_btnOpenFolder"));
    m_page->onConfigResetPassword();

    QCOMPARE(m_responder->messages(),
             QStringList{QStringLiteral("Passwords reset: 1\nResets the devices refused: 1 (listed in in_error.txt)\n"
                                        "Devices without a reset file: 1 (listed in mismatch.txt)\nFolder: ")
                         + QDir::toNativeSeparators(VexoTool::batchFolder())});
    QCOMPARE(urls.urls().size(), 1);
    QCOMPARE(readAll(batchFile(QStringLiteral("mismatch.txt"))), fieldText(unmatched.serialNumber).toLatin1() + "\r\n");
    const QByteArray expectedLine
        = (fieldText(refused.serialNumber) + QStringLiteral(" + software: ") + fieldText(refused.softwareVersion)
           + QStringLiteral(" error code: ") + QString::number(VEXO_ERR_DEVICE_DENY) + QStringLiteral(" \u2014 ")
           + VexoTool::ErrorExplanation::forCode(VEXO_ERR_DEVICE_DENY))
              .toUtf8()
          + "\r\n";
    QCOMPARE(readAll(batchFile(QStringLiteral("in_error.txt"))), expectedLine);
    QVERIFY(acceptsPassword(good, NewPassword));
    QVERIFY(!acceptsPassword(refused, NewPassword));
    checkJournal(VexoTool::JournalFlow::BatchPasswordReset, {good, refused, unmatched}, {true, false, false},
                 {NewPassword});
}

void tst_RecoverySimulator::runsWithoutFailureLeaveNoErrorFile()
{
    // Error files of an earlier run are there...
    QDir().mkpath(VexoTool::batchFolder());
    for (const QString &name :
         {QStringLiteral("out_error.txt"), QStringLiteral("in_error.txt"), QStringLiteral("mismatch.txt")}) {
        QFile file(batchFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier run\r\n");
    }
    const auto keyReset = [](const VEXO_DEVICE_INFO &r) {
        return bool(r.capabilityFlags & VEXO_CAP_KEY_RESET);
    };
    const VEXO_DEVICE_INFO first = takeDevice(keyReset);
    const VEXO_DEVICE_INFO second = takeDevice(keyReset);
    checkRows({first, second});
    VexoTest::UrlCatcher urls(QStringLiteral("file"));

    m_page->onConfigExportFile();
    QCOMPARE(m_responder->messages(), QStringList{QStringLiteral("Key files written: 2\nFolder: ")
                                                  + QDir::toNativeSeparators(VexoTool::batchFolder())});
    QVERIFY(!QFile::exists(batchFile(QStringLiteral("out_error.txt"))));
    QVERIFY(urls.urls().isEmpty()); // the folder opens when the user asks

    // ...and the reset of the exported devices with the service's files leaves none either.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const VEXO_DEVICE_INFO &record : {first, second})
        QVERIFY(!resetFileFor(record, folder.path()).isEmpty());
    m_responder->clearMessages();
    answerPasswordDialog(folder.path());
    const int opened = urls.urls().size();
    m_page->onConfigResetPassword();
    QCOMPARE(m_responder->messages(), QStringList{QStringLiteral("Passwords reset: 2")}); // no file to look at
    QCOMPARE(urls.urls().size(), opened);
    for (const QString &name : {QStringLiteral("in_error.txt"), QStringLiteral("mismatch.txt")})
        QVERIFY2(!QFile::exists(batchFile(name)), qPrintable(name));
    QVERIFY(acceptsPassword(first, NewPassword));
    QVERIFY(acceptsPassword(second, NewPassword));
}

void tst_RecoverySimulator::resetNamesOnlyTheFilesLeft()
{
    // No reset refused, one device without its file: in_error.txt is not there to be named.
    const VEXO_DEVICE_INFO unmatched
        = takeDevice([](const VEXO_DEVICE_INFO &r) { return bool(r.capabilityFlags & VEXO_CAP_KEY_RESET); });
    checkRows({unmatched});
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    answerPasswordDialog(folder.path());
    // Nothing here opens folders: the message says so and where the files are.
    m_responder->pressInLinkMessages(QStringLiteral("m_btnOpenFolder"));
    m_page->onConfigResetPassword();
    const QString batchFolder = QDir::toNativeSeparators(VexoTool::batchFolder());
    QCOMPARE(m_responder->messages(),
             QStringList{QStringLiteral("Passwords reset: 0\nDevices without a reset file: 1 (listed in mismatch.txt)\n"
                                        "Folder: ")
                         + batchFolder});
    QVERIFY(!QFile::exists(batchFile(QStringLiteral("in_error.txt"))));
    QCOMPARE(m_responder->notes().size(), 1);
    QVERIFY2(m_responder->notes().first().contains(batchFolder), qPrintable(m_responder->notes().first()));
}

void tst_RecoverySimulator::withoutTickedRows()
{
    VexoTest::UrlCatcher urls(QStringLiteral("file"));
    QSignalSpy covers(m_page, &DeviceDisplayPage::signalCoverMainPage);
    // The export has nothing to do and says nothing.
    m_page->onConfigExportFile();
    QVERIFY(m_responder->messages().isEmpty());
    QCOMPARE(covers.count(), 0);

    // The reset still asks for the password and then has nothing to fail.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    answerPasswordDialog(folder.path());
    m_page->onConfigResetPassword();
    QCOMPARE(m_responder->messages(), QStringList{QStringLiteral("Passwords reset: 0")});
    QCOMPARE(covers.count(), 1);
    QVERIFY(urls.urls().isEmpty());
}

QTEST_MAIN(tst_RecoverySimulator)

#include "tst_recoverysimulator.moc"
