// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The reset and restore dialogs and the batch password dialog on their own, over the fake
// discovery library.

#include "fakevexo.h"
#include "modalresponder.h"

#include <akloguitoolkit/cradiobutton.h>
#include <errorexplanation.h>
#include <multistatelineedit.h>
#include <recoveryfiles.h>
#include <vexohandler.h>
#include <resetpassworddialog.h>
#include <resetpasswordwidget.h>
#include <restorepassworddialog.h>
#include <warningdialog.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using aptui::MultiStateLineEdit;
using VexoTest::ModalResponder;
using VexoTool::ResetPasswordDialog;
using VexoTool::ResetPasswordWidget;
using VexoTool::RestorePasswordDialog;

namespace {

const QString Rules = QStringLiteral(
    "Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character "
    "for your password with at least two kinds of them contained.");

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

MultiStateLineEdit *edit(QWidget *parent, const char *name)
{
    return child<MultiStateLineEdit>(parent, name);
}

void confirm(QWidget *dialog)
{
    child<QPushButton>(dialog, "btnConfirm")->click();
}

QByteArray field(const char *data, std::size_t size)
{
    return QByteArray(data, qsizetype(size));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void giveKey(const std::string &key)
{
    FakeVexo::state().fillKey = true;
    FakeVexo::state().keyLength = uint32_t(key.size());
    FakeVexo::state().keyData = key;
}

} // namespace

class tst_RecoveryDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Reset password dialog
    void inputKindFollowsKeyScheme_data();
    void inputKindFollowsKeyScheme();
    void switchingInputKindKeepsText();
    void keyQrText_data();
    void keyQrText();
    void qrCodeAsksForTheSchemesKey_data();
    void qrCodeAsksForTheSchemesKey();
    void qrCodeErrorWithoutKey();
    void resetChecks_data();
    void resetChecks();
    void clickIntoFieldClearsItsMark_data();
    void clickIntoFieldClearsItsMark();
    void resetRequest_data();
    void resetRequest();
    void refusedResetKeepsDialogOpen();
    void passwordFieldsRefuseClipboard();
    void exportWritesKeyFile_data();
    void exportWritesKeyFile();
    void importPutsPathIntoField();

    // Restore default password dialog
    void restoreQrText_data();
    void restoreQrText();
    void modelPrefixesAreFamilies();
    void securityCodeLimit();
    void emptySecurityCodeIsRefused();
    void restoreResult_data();
    void restoreResult();

    // Batch password dialog
    void batchChecks_data();
    void batchChecks();
    void batchAcceptsUsableInput();
    void batchFolderChooser();
    void batchMeter_data();
    void batchMeter();

private:
    VEXO::VexoHandler m_discovery{FakeVexo::library()};
    QTemporaryDir m_home;
    QTemporaryDir m_dir;
    std::unique_ptr<ModalResponder> m_responder;
};

void tst_RecoveryDialogs::initTestCase()
{
    // Nothing of a test run may land in the real home folder.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(2000));
}

void tst_RecoveryDialogs::init()
{
    FakeVexo::reset();
    m_responder = std::make_unique<ModalResponder>();
}

void tst_RecoveryDialogs::cleanup()
{
    m_responder.reset();
}

void tst_RecoveryDialogs::inputKindFollowsKeyScheme_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<bool>("supportIpc");
    QTest::addRow("newer scheme starts on typing the key") << true << true;
    QTest::addRow("older scheme offers only the reset file") << false << false;
}

void tst_RecoveryDialogs::inputKindFollowsKeyScheme()
{
    QFETCH(bool, newFormat);
    QFETCH(bool, supportIpc);
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), newFormat, supportIpc);
    auto *manual = child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnManualInput");
    auto *automatic = child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnAutoInput");
    QCOMPARE(manual->isHidden(), !newFormat);
    QCOMPARE(manual->isChecked(), newFormat);
    QCOMPARE(automatic->isChecked(), !newFormat);
    QCOMPARE(child<QToolButton>(&dialog, "m_btnFilePath")->isHidden(), newFormat);
    QCOMPARE(child<QCheckBox>(&dialog, "m_checkBoxIPC")->isHidden(), !supportIpc);
    QVERIFY(child<QPushButton>(&dialog, "m_btnExport")->isHidden());
    QVERIFY(!child<QPushButton>(&dialog, "m_btnQRcode")->isHidden());
    QCOMPARE(dialog.size(), QSize(510, 360));
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::GetDeviceConfig), 0); // the key is fetched on request only
}

void tst_RecoveryDialogs::switchingInputKindKeepsText()
{
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    auto *automatic = child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnAutoInput");
    auto *manual = child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnManualInput");
    auto *browse = child<QToolButton>(&dialog, "m_btnFilePath");
    edit(&dialog, "m_lineEditFilePath")->setText(QStringLiteral("RK2.typed"));
    automatic->click();
    QVERIFY(!browse->isHidden());
    manual->click();
    QVERIFY(browse->isHidden());
    QCOMPARE(edit(&dialog, "m_lineEditFilePath")->text(), QStringLiteral("RK2.typed"));
}

void tst_RecoveryDialogs::keyQrText_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<QString>("expected");
    QTest::addRow("older scheme") << false << QStringLiteral("B:T1**K");
    QTest::addRow("newer scheme") << true << QStringLiteral("T1**K");
}

void tst_RecoveryDialogs::keyQrText()
{
    QFETCH(bool, newFormat);
    QFETCH(QString, expected);
    QCOMPARE(ResetPasswordDialog::keyQrText(QStringLiteral("T1"), QStringLiteral("K"), newFormat), expected);
}

void tst_RecoveryDialogs::qrCodeAsksForTheSchemesKey_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<quint32>("command");
    QTest::addColumn<quint32>("bufferSize");
    QTest::addRow("older scheme, command 1") << false << quint32(1) << quint32(260);
    QTest::addRow("newer scheme, command 2") << true << quint32(2) << quint32(388);
}

void tst_RecoveryDialogs::qrCodeAsksForTheSchemesKey()
{
    QFETCH(bool, newFormat);
    QFETCH(quint32, command);
    QFETCH(quint32, bufferSize);
    giveKey("VK1.S1.nonce");
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), newFormat, false);
    child<QPushButton>(&dialog, "m_btnQRcode")->click();
    const QLabel *qr = child<QLabel>(&dialog, "m_labelQcCode");
    QTRY_VERIFY(!qr->pixmap().isNull());
    QCOMPARE(FakeVexo::state().command, command);
    QCOMPARE(FakeVexo::state().outputLength, bufferSize);
    QCOMPARE(FakeVexo::state().identifier, std::string("S1"));
    QCOMPARE(qr->pixmap().deviceIndependentSize(), QSizeF(108, 108));
    QVERIFY(m_responder->messages().isEmpty());
}

void tst_RecoveryDialogs::qrCodeErrorWithoutKey()
{
    FakeVexo::setResult(FakeVexo::Call::GetDeviceConfig, 0);
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    child<QPushButton>(&dialog, "m_btnQRcode")->click();
    QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Generate QR code error.")});
    QVERIFY(child<QLabel>(&dialog, "m_labelQcCode")->pixmap().isNull());
}

void tst_RecoveryDialogs::resetChecks_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("markedField");
    QTest::addRow("no key") << QString() << QStringLiteral("Abc12345") << QStringLiteral("Abc12345")
                            << QStringLiteral("Please input the secret key.") << QStringLiteral("m_lineEditFilePath");
    QTest::addRow("no password") << QStringLiteral("RK2.k") << QString() << QString()
                                 << QStringLiteral("The password can not be empty.")
                                 << QStringLiteral("m_lineEditNewPassword");
    QTest::addRow("mismatch marks the new password")
        << QStringLiteral("RK2.k") << QStringLiteral("Abc12345") << QStringLiteral("abc12345")
        << QStringLiteral("The password you typed do not match.") << QStringLiteral("m_lineEditNewPassword");
    QTest::addRow("matching but too weak")
        << QStringLiteral("RK2.k") << QStringLiteral("abcdefgh") << QStringLiteral("abcdefgh") << Rules
        << QStringLiteral("m_lineEditNewPassword");
    QTest::addRow("seven characters of four kinds")
        << QStringLiteral("RK2.k") << QStringLiteral("Ab1#xyz") << QStringLiteral("Ab1#xyz") << Rules
        << QStringLiteral("m_lineEditNewPassword");
}

void tst_RecoveryDialogs::resetChecks()
{
    QFETCH(QString, key);
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, markedField);
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    edit(&dialog, "m_lineEditFilePath")->setText(key);
    edit(&dialog, "m_lineEditNewPassword")->setText(password);
    edit(&dialog, "m_lineEditConfirmPassword")->setText(confirmation);
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages(), QStringList{message});
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::ResetPasswd), 0);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    for (const char *name : {"m_lineEditFilePath", "m_lineEditNewPassword", "m_lineEditConfirmPassword"}) {
        const bool marked = markedField == QLatin1String(name);
        QCOMPARE(edit(&dialog, name)->lineEditState(), marked ? MultiStateLineEdit::ERROR : MultiStateLineEdit::NORMAL);
    }
}

void tst_RecoveryDialogs::clickIntoFieldClearsItsMark_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("hint");
    QTest::addRow("key field") << QStringLiteral("m_lineEditFilePath") << QStringLiteral("m_labelHintFilePath");
    QTest::addRow("new password") << QStringLiteral("m_lineEditNewPassword")
                                  << QStringLiteral("m_labelHintNewPassword");
}

void tst_RecoveryDialogs::clickIntoFieldClearsItsMark()
{
    QFETCH(QString, field);
    QFETCH(QString, hint);
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    if (field != QLatin1String("m_lineEditFilePath"))
        edit(&dialog, "m_lineEditFilePath")->setText(QStringLiteral("RK2.k"));
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages().size(), 1);
    auto *marked = dialog.findChild<MultiStateLineEdit *>(field);
    auto *hintLabel = dialog.findChild<QLabel *>(hint);
    QCOMPARE(marked->lineEditState(), MultiStateLineEdit::ERROR);
    QTest::mouseClick(marked, Qt::LeftButton);
    QCOMPARE(marked->lineEditState(), MultiStateLineEdit::NORMAL);
    QVERIFY(hintLabel->pixmap().isNull());
}

void tst_RecoveryDialogs::resetRequest_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<bool>("supportIpc");
    QTest::addColumn<bool>("tickIpc");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<quint8>("resetIpc");
    QTest::addRow("typed key, cameras too") << true << true << true << false << quint8(1);
    QTest::addRow("typed key, box offered but not ticked") << true << true << false << false << quint8(0);
    QTest::addRow("reset file, hidden box ticked counts as no") << false << false << true << true << quint8(0);
    QTest::addRow("reset file chosen on a newer device") << true << true << true << true << quint8(1);
}

void tst_RecoveryDialogs::resetRequest()
{
    QFETCH(bool, newFormat);
    QFETCH(bool, supportIpc);
    QFETCH(bool, tickIpc);
    QFETCH(bool, fromFile);
    QFETCH(quint8, resetIpc);
    const QString resetFile = m_dir.filePath(QStringLiteral("reset file.xml"));
    {
        QFile file(resetFile);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<VexoResetFile/>\n\n\n");
    }
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S\u00e91/2"), QStringLiteral("T1"), newFormat,
                               supportIpc);
    if (fromFile)
        child<aKLOGUIToolkit::CRadioButton>(&dialog, "m_radioBtnAutoInput")->click();
    edit(&dialog, "m_lineEditFilePath")->setText(fromFile ? resetFile : QStringLiteral("RK2.typedkey"));
    edit(&dialog, "m_lineEditNewPassword")->setText(QStringLiteral("Abcdefgh12345678"));
    edit(&dialog, "m_lineEditConfirmPassword")->setText(QStringLiteral("Abcdefgh12345678"));
    child<QCheckBox>(&dialog, "m_checkBoxIPC")->setChecked(tickIpc);
    confirm(&dialog);

    QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Reset password Succeed.")});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::ResetPasswd), 1);
    QCOMPARE(FakeVexo::state().identifier, std::string("S\xe9"
                                                       "1/2"));
    const VEXO_RESET_PARAM &param = FakeVexo::state().resetParam;
    const QByteArray key = field(param.secretKey, sizeof param.secretKey);
    const QByteArray path = field(param.keyFilePath, sizeof param.keyFilePath);
    if (fromFile) {
        QCOMPARE(key, QByteArray(256, '\0'));
        const QString copy = VexoTool::cleanCopyPath();
        QCOMPARE(QString::fromLocal8Bit(path.left(path.indexOf('\0'))), copy);
        QCOMPARE(readAll(copy), QByteArray("<VexoResetFile/>"));
        QFile::remove(copy);
    } else {
        QCOMPARE(key.left(key.indexOf('\0')), QByteArray("RK2.typedkey"));
        QCOMPARE(path, QByteArray(260, '\0'));
    }
    QCOMPARE(field(param.password, sizeof param.password), QByteArray("Abcdefgh12345678"));
    QCOMPARE(param.resetIpc, resetIpc);
}

void tst_RecoveryDialogs::refusedResetKeepsDialogOpen()
{
    FakeVexo::setResult(FakeVexo::Call::ResetPasswd, 0);
    FakeVexo::state().lastError = VEXO_ERR_DEVICE_DENY;
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    edit(&dialog, "m_lineEditFilePath")->setText(QStringLiteral("RK2.wrong"));
    edit(&dialog, "m_lineEditNewPassword")->setText(QStringLiteral("Abc12345!"));
    edit(&dialog, "m_lineEditConfirmPassword")->setText(QStringLiteral("Abc12345!"));
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages(), QStringList{VexoTool::ErrorExplanation::withExplanation(
                                              QStringLiteral("Reset password failed."), VEXO_ERR_DEVICE_DENY)});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(edit(&dialog, "m_lineEditFilePath")->text(), QStringLiteral("RK2.wrong"));
    QCOMPARE(edit(&dialog, "m_lineEditNewPassword")->text(), QStringLiteral("Abc12345!"));
}

void tst_RecoveryDialogs::passwordFieldsRefuseClipboard()
{
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::clipboard()->setText(QStringLiteral("Pasted1!"));
    for (const char *name : {"m_lineEditNewPassword", "m_lineEditConfirmPassword", "m_lineEditFilePath"}) {
        MultiStateLineEdit *field = edit(&dialog, name);
        field->setFocus();
        QTest::keySequence(field, QKeySequence::Paste);
        const bool password = field->echoMode() == QLineEdit::Password;
        QCOMPARE(field->text(), password ? QString() : QStringLiteral("Pasted1!"));
    }
}

void tst_RecoveryDialogs::exportWritesKeyFile_data()
{
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<quint32>("command");
    QTest::addRow("older scheme") << false << quint32(1);
    QTest::addRow("newer scheme") << true << quint32(2);
}

void tst_RecoveryDialogs::exportWritesKeyFile()
{
    QFETCH(bool, newFormat);
    QFETCH(quint32, command);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    giveKey(std::string("VK2.AB/1\\X.n\0tail", 17));
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("AB/1\\X"), QStringLiteral("T1"), newFormat, false);
    m_responder->queueFileAnswer(folder.path());
    QMetaObject::invokeMethod(&dialog, &ResetPasswordDialog::onExportFile);
    QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Exported.")});
    QCOMPARE(FakeVexo::state().command, command);

    const QStringList files = QDir(folder.path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^AB_1_X-\\d{12}\\.txt$")).match(files.first()).hasMatch(),
             qPrintable(files.first()));
    QCOMPARE(readAll(folder.filePath(files.first())), QByteArray("VK2.AB/1\\X.n\0tail", 17));

    // The next dialog starts in the folder chosen last; a failed key query writes nothing.
    FakeVexo::setResult(FakeVexo::Call::GetDeviceConfig, 0);
    ResetPasswordDialog next(m_discovery, nullptr, QStringLiteral("AB/1\\X"), QStringLiteral("T1"), newFormat, false);
    m_responder->clearMessages();
    m_responder->queueFileAnswer(folder.path());
    next.onExportFile();
    QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Get key error.")});
    QCOMPARE(m_responder->fileDialogFolders().last(), QDir(folder.path()).absolutePath());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);

    // Cancelling the folder dialog asks the device nothing.
    const int queries = FakeVexo::calls(FakeVexo::Call::GetDeviceConfig);
    m_responder->clearMessages();
    next.onExportFile();
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::GetDeviceConfig), queries);
    QVERIFY(m_responder->messages().isEmpty());
}

void tst_RecoveryDialogs::importPutsPathIntoField()
{
    const QString resetFile = m_dir.filePath(QStringLiteral("chosen-reset.xml"));
    {
        QFile file(resetFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), false, false);
    m_responder->queueFileAnswer(resetFile);
    child<QToolButton>(&dialog, "m_btnFilePath")->click();
    MultiStateLineEdit *field = edit(&dialog, "m_lineEditFilePath");
    QTRY_COMPARE(field->text(), QDir::toNativeSeparators(resetFile));
    QCOMPARE(field->cursorPosition(), 0);
}

void tst_RecoveryDialogs::restoreQrText_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("expected");
    QTest::addRow("type of a listed family loses its text")
        << QStringLiteral("VX-12C320260127HWXA918273645") << QStringLiteral("VX-12C3")
        << QStringLiteral("A:VX-12C3**20260127HWXA918273645");
    QTest::addRow("every occurrence removed")
        << QStringLiteral("LX-36Z4abcLX-36Z4") << QStringLiteral("LX-36Z4") << QStringLiteral("A:LX-36Z4**abc");
    QTest::addRow("other families keep the full serial")
        << QStringLiteral("VX-NVR310420260112KPRT004518273") << QStringLiteral("VX-NVR3104")
        << QStringLiteral("A:VX-NVR3104**VX-NVR310420260112KPRT004518273");
    QTest::addRow("prefix match is case-sensitive")
        << QStringLiteral("vx-12c3S") << QStringLiteral("vx-12c3") << QStringLiteral("A:vx-12c3**vx-12c3S");
    QTest::addRow("listed family, serial without the type")
        << QStringLiteral("ABC") << QStringLiteral("VX-20P2W") << QStringLiteral("A:VX-20P2W**ABC");
    QTest::addRow("empty type") << QStringLiteral("S1") << QString() << QStringLiteral("A:**S1");
}

void tst_RecoveryDialogs::restoreQrText()
{
    QFETCH(QString, serial);
    QFETCH(QString, type);
    QFETCH(QString, expected);
    RestorePasswordDialog dialog(m_discovery, nullptr, serial, type);
    QCOMPARE(RestorePasswordDialog::restoreQrText(serial, type, dialog.modelPrefixes()), expected);
    QVERIFY(!child<QLabel>(&dialog, "m_labelQcCode")->pixmap().isNull());
}

void tst_RecoveryDialogs::modelPrefixesAreFamilies()
{
    RestorePasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"));
    const QStringList prefixes = dialog.modelPrefixes();
    QCOMPARE(prefixes.size(), 17);
    QCOMPARE(QSet<QString>(prefixes.begin(), prefixes.end()).size(), 17);
    const QRegularExpression family(QStringLiteral("^[A-Z]{2}-[0-9]{2}$"));
    for (const QString &prefix : prefixes)
        QVERIFY2(family.match(prefix).hasMatch(), qPrintable(prefix));
    QCOMPARE(dialog.size(), QSize(500, 280));
}

void tst_RecoveryDialogs::securityCodeLimit()
{
    RestorePasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"));
    MultiStateLineEdit *code = edit(&dialog, "m_lineEditSecurityCode");
    QTest::keyClicks(code, QString(33, QLatin1Char('C')));
    QCOMPARE(code->text(), QString(32, QLatin1Char('C')));
    QCOMPARE(code->contextMenuPolicy(), Qt::NoContextMenu);
}

void tst_RecoveryDialogs::emptySecurityCodeIsRefused()
{
    RestorePasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"));
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages(), QStringList{QStringLiteral("Please input security code.")});
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::ResetDefaultPasswd), 0);
    MultiStateLineEdit *code = edit(&dialog, "m_lineEditSecurityCode");
    QCOMPARE(code->lineEditState(), MultiStateLineEdit::ERROR);
    QTest::qWait(20);
    QCOMPARE(code->lineEditState(), MultiStateLineEdit::ERROR); // stays until the user clicks into it
    QTest::mouseClick(code, Qt::LeftButton);
    QCOMPARE(code->lineEditState(), MultiStateLineEdit::NORMAL);
    QVERIFY(child<QLabel>(&dialog, "m_labelHintSecurityCode")->pixmap().isNull());
}

void tst_RecoveryDialogs::restoreResult_data()
{
    QTest::addColumn<int>("libraryResult");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("dialogResult");
    QTest::addRow("restored: the message names the password")
        << 1
        << QStringLiteral(
               "Restore password succeed.\nThe device's password is now 70639. Sign in with it and set a new one.")
        << int(QDialog::Accepted);
    QTest::addRow("refused") << 0
                             << VexoTool::ErrorExplanation::withExplanation(QStringLiteral("Restore password failed."),
                                                                            VEXO_ERR_DEVICE_DENY)
                             << int(QDialog::Rejected);
}

void tst_RecoveryDialogs::restoreResult()
{
    QFETCH(int, libraryResult);
    QFETCH(QString, message);
    QFETCH(int, dialogResult);
    FakeVexo::setResult(FakeVexo::Call::ResetDefaultPasswd, libraryResult);
    FakeVexo::state().lastError = VEXO_ERR_DEVICE_DENY;
    RestorePasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S\u00e9"), QStringLiteral("T1"));
    QSignalSpy exportRequests(&dialog, &RestorePasswordDialog::signalExportExcel);
    edit(&dialog, "m_lineEditSecurityCode")->setText(QStringLiteral("0123456789ABCDEF"));
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages(), QStringList{message});
    QCOMPARE(dialog.result(), dialogResult);
    QCOMPARE(FakeVexo::state().identifier, std::string("S\xe9"));
    QCOMPARE(FakeVexo::state().secret, std::string("0123456789ABCDEF"));
    QCOMPARE(exportRequests.count(), 0);
}

void tst_RecoveryDialogs::batchChecks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("markedField");
    QTest::addRow("no folder") << QString() << QStringLiteral("Abc12345") << QStringLiteral("Abc12345")
                               << QStringLiteral("Please input the secret key.")
                               << QStringLiteral("m_lineEditFilePath");
    QTest::addRow("no password") << QStringLiteral("/keys/") << QString() << QStringLiteral("x")
                                 << QStringLiteral("The password can not be empty.")
                                 << QStringLiteral("m_lineEditNewPassword");
    QTest::addRow("mismatch in case") << QStringLiteral("/keys/") << QStringLiteral("Abc12345")
                                      << QStringLiteral("ABC12345")
                                      << QStringLiteral("The password you typed do not match.")
                                      << QStringLiteral("m_lineEditNewPassword");
    QTest::addRow("level 0") << QStringLiteral("/keys/") << QStringLiteral("12345678") << QStringLiteral("12345678")
                             << Rules << QStringLiteral("m_lineEditNewPassword");
}

void tst_RecoveryDialogs::batchChecks()
{
    QFETCH(QString, folder);
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, markedField);
    ResetPasswordWidget dialog;
    edit(&dialog, "m_lineEditFilePath")->setText(folder);
    edit(&dialog, "m_lineEditNewPassword")->setText(password);
    edit(&dialog, "m_lineEditConfirmPassword")->setText(confirmation);
    confirm(&dialog);
    QTRY_COMPARE(m_responder->messages(), QStringList{message});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    for (const char *name : {"m_lineEditFilePath", "m_lineEditNewPassword", "m_lineEditConfirmPassword"}) {
        const bool marked = markedField == QLatin1String(name);
        QCOMPARE(edit(&dialog, name)->lineEditState(), marked ? MultiStateLineEdit::ERROR : MultiStateLineEdit::NORMAL);
    }
}

void tst_RecoveryDialogs::batchAcceptsUsableInput()
{
    ResetPasswordWidget dialog;
    QCOMPARE(dialog.size(), QSize(450, 300));
    edit(&dialog, "m_lineEditFilePath")->setText(QStringLiteral("/keys/"));
    edit(&dialog, "m_lineEditNewPassword")->setText(QStringLiteral("abcd1234"));
    edit(&dialog, "m_lineEditConfirmPassword")->setText(QStringLiteral("abcd1234"));
    confirm(&dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(m_responder->messages().isEmpty());
    QCOMPARE(dialog.newPassword(), QStringLiteral("abcd1234"));
    QCOMPARE(dialog.filePath(), QStringLiteral("/keys/"));
}

void tst_RecoveryDialogs::batchFolderChooser()
{
    ResetPasswordWidget dialog;
    MultiStateLineEdit *field = edit(&dialog, "m_lineEditFilePath");
    m_responder->queueFileAnswer(m_dir.path());
    dialog.onBtnFilepathClicked();
    QCOMPARE(field->text(), QDir(m_dir.path()).absolutePath() + QLatin1Char('/'));

    m_responder->queueFileAnswer(QString()); // cancelled: the field keeps its folder
    dialog.onBtnFilepathClicked();
    QCOMPARE(field->text(), QDir(m_dir.path()).absolutePath() + QLatin1Char('/'));
}

void tst_RecoveryDialogs::batchMeter_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("level");
    QTest::addRow("digits and lower case") << QStringLiteral("abcd1234") << QStringLiteral("Weak");
    QTest::addRow("upper and lower case") << QStringLiteral("abcdEFGH") << QStringLiteral("Medium");
    QTest::addRow("three kinds") << QStringLiteral("abcD1234") << QStringLiteral("Strong");
    QTest::addRow("too short") << QStringLiteral("aB1!") << QString();
}

void tst_RecoveryDialogs::batchMeter()
{
    QFETCH(QString, password);
    QFETCH(QString, level);
    ResetPasswordWidget widget;
    ResetPasswordDialog dialog(m_discovery, nullptr, QStringLiteral("S1"), QStringLiteral("T1"), true, false);
    QTest::keyClicks(edit(&widget, "m_lineEditNewPassword"), password);
    QTest::keyClicks(edit(&dialog, "m_lineEditNewPassword"), password);
    QCOMPARE(child<QLabel>(&widget, "m_labelLevel")->text(), level);
    QCOMPARE(child<QLabel>(&dialog, "m_labelLevel")->text(), level);
}

QTEST_MAIN(tst_RecoveryDialogs)

#include "tst_recoverydialogs.moc"
