// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalfilter.h>

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

namespace VexoTool {

class Journal;

/**
 * @brief The journal entries passing a filter as a table, newest first, read a page at a time.
 *
 * The model knows how many entries pass and reads only the pages the view shows, keeping the
 * last few; a journal of a hundred thousand entries is never loaded whole. setFilter() starts
 * over. The journal must outlive the model.
 */
class JournalPageModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /** @brief Entries read at a time. */
    static constexpr int PageSize = 200;
    /** @brief Pages kept in memory. */
    static constexpr int PagesKept = 8;

    explicit JournalPageModel(const Journal &journal, QObject *parent = nullptr);

    /** @brief Shows the entries passing @p filter from the first (newest) one. */
    void setFilter(const JournalFilter &filter);
    const JournalFilter &filter() const { return m_filter; }
    /** @brief Reads the journal again with the same filter (new entries come first). */
    void refresh();

    /** @brief The entry of @p row, or nullptr when it cannot be read. */
    const JournalEntry *entry(int row) const;
    /** @brief Whether the journal could be read at the last count or page. */
    bool isReadable() const { return m_readable; }
    /** @brief How many pages were read from the journal so far (for tests and benchmarks). */
    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QList<JournalEntry> *page(int number) const;

    const Journal &m_journal;
    JournalFilter m_filter;
    int m_rows = 0;
    mutable bool m_readable = true;
    mutable QHash<int, QList<JournalEntry>> m_pages;
    mutable QList<int> m_recent; // page numbers, most recently used last
    mutable int m_pagesRead = 0;
};

} // namespace VexoTool
