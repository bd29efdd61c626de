// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "clijournal.h"

#include <deviceoperations.h>
#include <journal.h>
#include <journalrecord.h>
#include <onvifrecord.h>
#include <programfolders.h>
#include <secretinput.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>

using namespace VexoTool;

namespace {
// How long the end of a command waits for its entries to reach the shared journal; the local
// file keeps them for the next run otherwise.
constexpr int UploadWaitMs = 3000;
} // namespace

CliJournal::CliJournal() = default;

CliJournal::~CliJournal()
{
    close();
}

JournalSettings CliJournal::settings()
{
    // The window's settings: the shipped file, then the user's choices over it.
    const QString userSetup = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                                  .filePath(QStringLiteral("VEXOTool/Setup.xml"));
    JournalSettings settings = JournalSettings::fromValues(JournalSettings::readSetupValues(
        {apt::ProgramFolders::current().shippedFile(QStringLiteral("Setup.xml")), userSetup}));
    if (settings.usesServer() && !settings.takePasswordFromEnvironment()) {
        SecretInput::Sources sources;
        sources.label
            = QStringLiteral("password of the shared journal (%1@%2)").arg(settings.server.user, settings.server.host);
        sources.prompt = SecretInput::canPrompt();
        sources.required = false;
        QString error;
        const std::optional<SecretInput::Secret> secret = SecretInput::read(sources, &error);
        if (secret && secret->given)
            settings.server.password = QString::fromLocal8Bit(secret->value);
        else
            std::fprintf(stderr, "journal: no password for the shared journal (set %s): entries stay in %s\n",
                         JournalSettings::PasswordVariable,
                         qPrintable(QDir::toNativeSeparators(settings.databasePath)));
    }
    return settings;
}

void CliJournal::append(const JournalEntry &entry)
{
    if (!m_journal) {
        m_journal = std::make_unique<Journal>(settings());
        QObject::connect(m_journal.get(), &Journal::unavailable, m_journal.get(), [](const QString &reason) {
            std::fprintf(stderr, "journal: not written for now (%s); the entries are kept and written later\n",
                         qPrintable(reason));
        });
    }
    m_journal->append(entry);
}

void CliJournal::record(JournalFlow flow, const VEXO_DEVICE_INFO *record, const QString &id,
                        const std::function<void(JournalValues &)> &change, bool succeeded, const QString &explanation)
{
    JournalEntry entry = JournalEntry::make(flow);
    if (record) {
        describeDevice(entry, *record);
        entry.before = journalValuesOf(*record);
    } else if (id.contains(QLatin1Char(':')) || id.count(QLatin1Char('-')) == 5) {
        entry.mac = id;
    } else {
        entry.serialNumber = id;
    }
    entry.after = entry.before;
    if (change)
        change(entry.after);
    entry.result = succeeded ? JournalResult::Succeeded : JournalResult::Failed;
    entry.explanation = explanation;
    append(entry);
}

void CliJournal::record(JournalFlow flow, const onvif::Identity &before, const onvif::Identity &after, bool succeeded,
                        const QString &explanation)
{
    JournalEntry entry = JournalEntry::make(flow);
    const VEXO_DEVICE_INFO beforeRecord = OnvifRecord::fromIdentity(before);
    describeDevice(entry, beforeRecord);
    entry.before = journalValuesOf(beforeRecord);
    entry.after = journalValuesOf(OnvifRecord::fromIdentity(after));
    entry.after.passwordSet = flow == JournalFlow::OnvifPasswordChange;
    entry.result = succeeded ? JournalResult::Succeeded : JournalResult::Failed;
    entry.explanation = explanation;
    append(entry);
}

void CliJournal::close()
{
    if (!m_journal)
        return;
    m_journal->flush(UploadWaitMs);
    // The "not written" notice travels as a queued signal from the journal's thread.
    QCoreApplication::processEvents();
    m_journal.reset();
}
