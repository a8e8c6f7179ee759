#pragma once

#include "project/QAEntry.h"

#include <QList>

// The ordered table of entries. Positions are 1-based, as everywhere in the
// program: the project file, the page and the counters of the template engine
// number entries from 1.
class QAEntryTable {
public:
    qsizetype count() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }

    const QAEntry& item(qsizetype position) const { return m_entries.at(position - 1); }
    QAEntry& item(qsizetype position) { return m_entries[position - 1]; }

    // Appends an entry with this question, an empty answer and no icon; the
    // caller sets the rest.
    QAEntry& add(const QString& question);
    void append(QAEntry entry) { m_entries.append(std::move(entry)); }
    // Puts entry at position, moving the entries from there on down one.
    void insert(qsizetype position, QAEntry entry) {
        m_entries.insert(position - 1, std::move(entry));
    }
    // Takes the entry at from out and puts it back at position to.
    void move(qsizetype from, qsizetype to) { m_entries.move(from - 1, to - 1); }
    void remove(qsizetype position) { m_entries.removeAt(position - 1); }
    void clear() { m_entries.clear(); }
    void reserve(qsizetype size) { m_entries.reserve(size); }

    // Reorders every entry once by question, ascending in Japanese collation.
    // Entries with equal questions keep their order. Later additions are
    // appended at the end again.
    void sortByQuestion();

    auto begin() const { return m_entries.cbegin(); }
    auto end() const { return m_entries.cend(); }

    friend bool operator==(const QAEntryTable&, const QAEntryTable&) = default;

private:
    QList<QAEntry> m_entries;
};
