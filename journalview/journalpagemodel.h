// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalfilter.h>

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QThread>

namespace VexoTool {

class Journal;

/**
 * @brief The journal entries passing a filter as a table, newest first, read a page at a time.
 *
 * The model knows how many entries pass and reads only the pages the view shows, keeping the
 * last few; a journal of a hundred thousand entries is never loaded whole. setFilter() starts
 * over. The journal must outlive the model.
 *
 * The journal is read on a thread of the model's own, so a slow disk or a shared server far
 * away never holds up the window: the count arrives as counted(), a page's rows change when
 * it arrives, and until then their cells are empty. Answers to an older filter are dropped.
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
    ~JournalPageModel() override;

    /** @brief Shows the entries passing @p filter from the first (newest) one. */
    void setFilter(const JournalFilter &filter);
    const JournalFilter &filter() const { return m_filter; }
    /** @brief Reads the journal again with the same filter (new entries come first). */
    void refresh();

    /** @brief The entry of @p row, or nullptr while its page is being read or cannot be read. */
    const JournalEntry *entry(int row) const;
    /** @brief Whether a count or a page is still being read. */
    bool isBusy() const { return m_counting || !m_pending.isEmpty(); }
    /** @brief Whether the journal could be read at the last count or page. */
    bool isReadable() const { return m_readable; }
    /** @brief How many pages were read from the journal so far (for tests and benchmarks). */
    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    /** @brief The entries passing the filter were counted: rowCount() and isReadable() say how it went. */
    void counted();

private:
    const QList<JournalEntry> *page(int number) const;
    void takeCount(quint64 generation, qint64 count);
    void takePage(quint64 generation, int number, bool ok, const QList<JournalEntry> &entries);

    const Journal &m_journal;
    QThread m_thread;
    QObject *m_reader = nullptr; // lives in m_thread
    quint64 m_generation = 0;    // counts filters; an answer carries the one it was asked with
    bool m_counting = false;
    mutable QSet<int> m_pending; // pages asked for and not yet arrived
    JournalFilter m_filter;
    int m_rows = 0;
    mutable bool m_readable = true;
    mutable QHash<int, QList<JournalEntry>> m_pages;
    mutable QList<int> m_recent; // page numbers, most recently used last
    mutable int m_pagesRead = 0;
};

} // namespace VexoTool
