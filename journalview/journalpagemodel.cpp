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
{
    m_thread.setObjectName(QStringLiteral("journal reader"));
    m_reader = new QObject;
    m_reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    m_thread.start();
}

JournalPageModel::~JournalPageModel()
{
    // A read under way finishes; what is still queued is not read.
    m_thread.quit();
    m_thread.wait();
}

void JournalPageModel::setFilter(const JournalFilter &filter)
{
    m_filter = filter;
    refresh();
}

void JournalPageModel::refresh()
{
    const quint64 generation = ++m_generation;
    m_pages.clear();
    m_recent.clear();
    m_pending.clear();
    m_counting = true;
    QMetaObject::invokeMethod(m_reader, [this, generation, filter = m_filter] {
        const qint64 count = m_journal.count(filter);
        QMetaObject::invokeMethod(this, [this, generation, count] { takeCount(generation, count); });
    });
}

void JournalPageModel::takeCount(quint64 generation, qint64 count)
{
    if (generation != m_generation)
        return; // the filter changed since
    m_counting = false;
    beginResetModel();
    m_pages.clear();
    m_recent.clear();
    m_pending.clear();
    m_readable = count >= 0;
    m_rows = int(std::clamp(count, qint64(0), qint64(std::numeric_limits<int>::max())));
    endResetModel();
    emit counted();
}

const QList<JournalEntry> *JournalPageModel::page(int number) const
{
    const auto found = m_pages.constFind(number);
    if (found == m_pages.cend()) {
        if (!m_pending.contains(number)) {
            m_pending.insert(number);
            ++m_pagesRead;
            auto *self = const_cast<JournalPageModel *>(this); // reading ahead changes no row
            QMetaObject::invokeMethod(m_reader, [self, generation = m_generation, filter = m_filter, number] {
                const JournalPage read = self->m_journal.query(filter, number * PageSize, PageSize);
                QMetaObject::invokeMethod(self, [self, generation, number, ok = read.ok, entries = read.entries] {
                    self->takePage(generation, number, ok, entries);
                });
            });
        }
        return nullptr;
    }
    m_recent.removeOne(number);
    m_recent.append(number);
    return &*found;
}

void JournalPageModel::takePage(quint64 generation, int number, bool ok, const QList<JournalEntry> &entries)
{
    if (generation != m_generation || !m_pending.remove(number))
        return;
    m_readable = ok;
    if (!ok)
        return;
    if (m_pages.size() >= PagesKept)
        m_pages.remove(m_recent.takeFirst());
    m_pages.insert(number, entries);
    m_recent.append(number);
    const int first = number * PageSize;
    const int last = std::min(m_rows, first + PageSize) - 1;
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
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
