// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalentry.h>

#include <Vexo.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace VexoTool {

class Journal;

/** @brief One device of the hand-over report's inventory, as the list shows it now. */
struct ReportDevice
{
    QString serialNumber;
    QString mac;
    QString model;
    QString protocol;
    QString addresses; ///< IPv4 with mask, gateway, IPv6
    QString firmware;
    QString verification; ///< in the program's language
    QImage snapshot;      ///< what the camera sees, where the list's snapshot view has it; null otherwise
};

/** @brief The snapshot the program holds of a listed device; a null image when none. */
using SnapshotOf = std::function<QImage(const VEXO_DEVICE_INFO &)>;

/**
 * @brief The hand-over report of a site: its name, the date, the operator, the devices listed
 *        now, the changes of a period from the journal and the failures still open, as a PDF
 *        and as an ".xls" workbook, in the program's language.
 *
 * A failure is open while the last entry of its device (serial number and MAC) is a failure,
 * whenever it was written. No widgets: the window and vexo-cli both write it.
 */
class HandoverReport
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::HandoverReport)

public:
    QString site;
    QDateTime created = QDateTime::currentDateTime();
    QString operatorName = currentOperatingSystemUser();
    QDateTime from;  ///< first moment of the changes' period; invalid: since the journal began
    QDateTime until; ///< end of the period (excluded); invalid: until now
    QVector<ReportDevice> devices;
    QList<JournalEntry> changes;      ///< newest first
    QList<JournalEntry> openFailures; ///< the last entry of each device whose last operation failed

    /**
     * @brief The inventory of @p records, ordered by IPv4 address, then serial number, with the
     *        snapshot @p snapshotOf holds of each (when given).
     */
    static QVector<ReportDevice> inventory(const QVector<VEXO_DEVICE_INFO> &records, const SnapshotOf &snapshotOf = {});

    /** @brief Reads the period's changes and the open failures from @p journal; false with @p error if it cannot be read. */
    bool readJournal(const Journal &journal, QString *error = nullptr);

    /** @brief Writes the PDF @p path (A4 landscape); false with @p error when it cannot be written. */
    bool writePdf(const QString &path, QString *error = nullptr) const;
    /** @brief Writes the same as one sheet of the ".xls" workbook @p path. */
    bool writeXls(const QString &path, QString *error = nullptr) const;

    /** @brief @p path with the suffix ".xls" in place of its own ("site.pdf" → "site.xls"). */
    static QString workbookPathBeside(const QString &pdfPath);

private:
    static QStringList deviceHeaders();
    static QStringList deviceRow(const ReportDevice &device);
    static QStringList changeHeaders();
    static QStringList changeRow(const JournalEntry &entry);
    static QStringList failureHeaders();
    static QStringList failureRow(const JournalEntry &entry);
    QString periodText() const;
    QString operatorText() const;
};

} // namespace VexoTool
