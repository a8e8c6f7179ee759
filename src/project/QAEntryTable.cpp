#include "project/QAEntryTable.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

QAEntry& QAEntryTable::add(const QString& question) {
    m_entries.append(QAEntry{question, QString(), 0});
    return m_entries.last();
}

void QAEntryTable::sortByQuestion() {
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseSensitive);

    // One sort key per entry keeps the sort at n log n cheap comparisons
    // instead of n log n full collations.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(m_entries.size()));
    for (const QAEntry& entry : std::as_const(m_entries))
        keys.push_back(collator.sortKey(entry.question));

    std::vector<qsizetype> order(std::size_t(m_entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });

    QList<QAEntry> sorted;
    sorted.reserve(m_entries.size());
    for (qsizetype index : order)
        sorted.append(std::move(m_entries[index]));
    m_entries = std::move(sorted);
}
