#include "forms/QAFilterModel.h"

#include "app/EntryFilter.h"
#include "forms/QAListModel.h"

#include <QLocale>

namespace {

QString entryCount(qsizetype count) {
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(qlonglong(count)) + u'件';
}

} // namespace

QAFilterModel::QAFilterModel(QAListModel& rows, EntryFilter& filter, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_filter(filter) {
    setSourceModel(&rows);
    // A query changes any number of rows: laid out at once, instead of row
    // range by row range as the changed rows are found.
    connect(&filter, &EntryFilter::queryChanged, this, &QAFilterModel::invalidate);
}

qsizetype QAFilterModel::positionOf(int row) const {
    const QModelIndex entry = mapToSource(index(row, 0));
    return entry.isValid() ? entry.row() + 1 : 0;
}

int QAFilterModel::rowOf(qsizetype position) const {
    const QModelIndex shown = mapFromSource(sourceModel()->index(int(position - 1), 0));
    return shown.isValid() ? shown.row() : -1;
}

int QAFilterModel::nearestRowOf(qsizetype position) const {
    const qsizetype count = sourceModel()->rowCount();
    for (qsizetype after = position; after <= count; ++after) {
        if (m_filter.isShown(after))
            return rowOf(after);
    }
    return rowCount() - 1;
}

QString QAFilterModel::countText() const {
    const QString all = entryCount(sourceModel()->rowCount());
    return m_filter.isActive() ? entryCount(rowCount()) + QStringLiteral(" / ") + all : all;
}

Qt::ItemFlags QAFilterModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
    return m_filter.isActive() ? flags & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled) : flags;
}

bool QAFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const {
    return m_filter.isShown(sourceRow + 1);
}
