#include "forms/QAListModel.h"

#include "app/ProjectModel.h"
#include "forms/IconImageList.h"

#include <QMimeData>

namespace {

// The most of a text a row shows. The view lays out all the text it is
// given, however little of it fits: an answer of millions of characters
// took seconds at each repaint. The entry dialog shows the whole text.
constexpr qsizetype kShownLength = 256;

// The start of the text's first line, "…" marking that more follows.
QString shownStart(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && end < kShownLength && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    if (end == text.size())
        return text;
    // A character of two code units is shown whole or not at all.
    if (end > 0 && text[end - 1].isHighSurrogate())
        --end;
    return text.left(end) + u'…';
}

int rowOf(qsizetype position) {
    return int(position - 1);
}

// The dragged row, as text of its own type: the view takes drags from
// itself only.
QString rowMimeType() {
    return QStringLiteral("application/x-brindlewick-row");
}

// A move to where the entry already is leaves every row in place.
bool movesARow(const ProjectChange& change) {
    return change.position != change.destination;
}

// The row before which a moved row lands, counted before the move.
int moveTargetRow(const ProjectChange& change) {
    return change.destination > change.position ? int(change.destination)
                                                : rowOf(change.destination);
}

} // namespace

QAListModel::QAListModel(const ProjectModel& project, QObject* parent)
    : QAbstractTableModel(parent)
    , m_project(project) {
    connect(&project, &ProjectModel::aboutToChange, this, &QAListModel::beginChange);
    connect(&project, &ProjectModel::changed, this, &QAListModel::endChange);
}

int QAListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_project.entries().count());
}

int QAListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QAListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const QAEntry& entry = m_project.entries().item(index.row() + 1);
    const bool isQuestion = index.column() == QuestionColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return shownStart(isQuestion ? entry.question : entry.answer);
    case Qt::DecorationRole:
        return isQuestion ? QVariant(IconImageList::forIconNumber(entry.icon)) : QVariant();
    default:
        return {};
    }
}

QVariant QAListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == QuestionColumn ? QStringLiteral("Q.質問") : QStringLiteral("A.答え");
}

Qt::ItemFlags QAListModel::flags(const QModelIndex& index) const {
    // Rows are dropped between rows, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList QAListModel::mimeTypes() const {
    return {rowMimeType()};
}

QMimeData* QAListModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(rowMimeType(), QByteArray::number(indexes.first().row()));
    return data;
}

Qt::DropActions QAListModel::supportedDropActions() const {
    return Qt::MoveAction;
}

bool QAListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                               int /*column*/, const QModelIndex& /*parent*/) {
    bool isRow = false;
    const int from = data->data(rowMimeType()).toInt(&isRow);
    if (action != Qt::MoveAction || !isRow || from < 0 || from >= rowCount())
        return false;
    // Dropped below the last row or on the empty space under it: last.
    const int before = row < 0 ? rowCount() : row;
    const int to = before > from ? before - 1 : before;
    // After a move the view asks to remove the dragged row; the table does
    // not remove rows through the view, so that request does nothing.
    emit entryDropped(from + 1, to + 1);
    return true;
}

void QAListModel::beginChange(const ProjectChange& change) {
    const int row = rowOf(change.position);
    switch (change.kind) {
    case ProjectChange::Kind::ProjectReplaced:
    case ProjectChange::Kind::EntriesCleared:
    case ProjectChange::Kind::EntriesSorted:
    case ProjectChange::Kind::EntriesReplaced:
        beginResetModel();
        break;
    case ProjectChange::Kind::EntryInserted:
        beginInsertRows({}, row, row);
        break;
    case ProjectChange::Kind::EntryRemoved:
        beginRemoveRows({}, row, row);
        break;
    case ProjectChange::Kind::EntryMoved:
        if (movesARow(change))
            beginMoveRows({}, row, row, {}, moveTargetRow(change));
        break;
    case ProjectChange::Kind::DocumentSet:
    case ProjectChange::Kind::EntryReplaced:
        break;
    }
}

void QAListModel::endChange(const ProjectChange& change) {
    const int row = rowOf(change.position);
    switch (change.kind) {
    case ProjectChange::Kind::ProjectReplaced:
    case ProjectChange::Kind::EntriesCleared:
    case ProjectChange::Kind::EntriesSorted:
    case ProjectChange::Kind::EntriesReplaced:
        endResetModel();
        break;
    case ProjectChange::Kind::EntryInserted:
        endInsertRows();
        break;
    case ProjectChange::Kind::EntryRemoved:
        endRemoveRows();
        break;
    case ProjectChange::Kind::EntryMoved:
        if (movesARow(change))
            endMoveRows();
        break;
    case ProjectChange::Kind::EntryReplaced:
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        break;
    case ProjectChange::Kind::DocumentSet:
        break;
    }
}
