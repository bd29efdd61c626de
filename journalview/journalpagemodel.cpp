// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalpagemodel.h"

#include "journaltexts.h"

#include <journal.h>

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <limits>

namespace VexoTool {

JournalPageModel::JournalPageModel(const Journal &journal, QObject *parent)
    : QAbstractTableModel(parent)
    , m_journal(journal)
{}

void JournalPageModel::setFilter(const JournalFilter &filter)
{
    m_filter = filter;
    refresh();
}

void JournalPageModel::refresh()
{
    beginResetModel();
    m_pages.clear();
    m_recent.clear();
    const qint64 count = m_journal.count(m_filter);
    m_readable = count >= 0;
    m_rows = int(std::clamp(count, qint64(0), qint64(std::numeric_limits<int>::max())));
    endResetModel();
}

const QList<JournalEntry> *JournalPageModel::page(int number) const
{
    auto found = m_pages.constFind(number);
    if (found == m_pages.cend()) {
        const JournalPage read = m_journal.query(m_filter, number * PageSize, PageSize);
        ++m_pagesRead;
        m_readable = read.ok;
        if (!read.ok)
            return nullptr;
        if (m_pages.size() >= PagesKept)
            m_pages.remove(m_recent.takeFirst());
        found = m_pages.insert(number, read.entries);
    } else {
        m_recent.removeOne(number);
    }
    m_recent.append(number);
    return &*found;
}

const JournalEntry *JournalPageModel::entry(int row) const
{
    if (row < 0 || row >= m_rows)
        return nullptr;
    const QList<JournalEntry> *entries = page(row / PageSize);
    const int at = row % PageSize;
    return entries && at < entries->size() ? &entries->at(at) : nullptr;
}

int JournalPageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int JournalPageModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : JournalTexts::ColumnCount;
}

QVariant JournalPageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole))
        return QVariant();
    const JournalEntry *found = entry(index.row());
    if (!found)
        return QVariant();
    if (role == Qt::ForegroundRole) {
        if (index.column() == JournalTexts::ColumnResult && found->result == JournalResult::Failed)
            return QBrush(QColor(0xd0, 0x30, 0x30));
        return QVariant();
    }
    return JournalTexts::cell(*found, index.column());
}

QVariant JournalPageModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return JournalTexts::headers().value(section);
}

} // namespace VexoTool
