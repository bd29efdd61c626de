// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

namespace VexoTool {

/** @brief The columns a plan file can have; each at most once. */
enum class PlanColumn { Serial, Mac, Address, Mask, Gateway, Port, HttpPort, Dhcp, Password };

/**
 * @brief One device's row of a plan: who the device is and what it should become.
 *
 * A value left empty in the file is not planned: the device keeps what it has.
 */
struct PlanRow
{
    int line = 0;    ///< line of the file where the row starts, from 1
    QString serial;  ///< serial number, or empty when the MAC identifies the device
    QString mac;     ///< MAC as "aa-bb-cc-dd-ee-ff" (lower case), or empty
    QString address; ///< IPv4 address
    QString mask;    ///< subnet mask
    QString gateway; ///< IPv4 gateway ("0.0.0.0": none)
    std::optional<quint16> port;
    std::optional<quint16> httpPort;
    std::optional<bool> dhcp;
    QString password; ///< password for a device that is still to be activated
};

/** @brief A problem found in a plan file, where it was found and why it is one. */
struct PlanError
{
    int line = 0;   ///< from 1; 0 for the file as a whole
    int column = 0; ///< field number from 1; 0 for the whole line
    QString message;
};

/** @brief What reading a plan file gave: its rows, or the problems that stop it being used. */
struct PlanParseResult
{
    QList<PlanRow> rows;
    QList<PlanError> errors;
    bool ok() const { return errors.isEmpty(); }
};

/**
 * @brief Reads address plans: CSV or tab-separated text that maps devices (serial number or MAC)
 *        to their network parameters and, for new devices, a first password.
 *
 * The text is UTF-8 with or without a byte order mark; fields are separated by commas,
 * semicolons or tabs (whichever the header row uses most) and may be quoted as in RFC 4180.
 * The first non-empty row names the columns, in English or Chinese, in any letter case.
 * A plan with any problem yields no rows: every problem is reported with its line and field.
 */
class PlanFile
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::PlanFile)
public:
    /** @brief Files above this size are refused unread. */
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
    /** @brief Files of more rows than this (the header row aside) are refused, read no further. */
    static constexpr int MaxRows = 100000;
    /** @brief Rows of more fields than this are refused, and the file with them. */
    static constexpr int MaxColumns = 256;
    /** @brief At most this many problems are listed; the rest are summed up in one line. */
    static constexpr int MaxErrors = 50;

    /** @brief Parses the bytes of a plan file. */
    static PlanParseResult parse(const QByteArray &bytes);
    /** @brief Reads and parses the file at @p path. */
    static PlanParseResult read(const QString &path);
    /** @brief The column a header text names, if any (case, spaces, "_" and "-" do not matter). */
    static std::optional<PlanColumn> columnForName(const QString &name);
    /** @brief "line 3, column 2: text", or shorter when the line or column is not known. */
    static QString describe(const PlanError &error);
    /** @brief @p mac in any form MacAddress reads as "aa-bb-cc-dd-ee-ff"; empty if it is no MAC. */
    static QString normalizedMac(const QString &mac);
};

} // namespace VexoTool
