#include "forms/QAListModel.h"

#include "forms/IconImageList.h"

QAListModel::QAListModel(MApp& app, QObject* parent)
    : QAbstractTableModel(parent)
    , m_app(app) {}

int QAListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_app.entries().count());
}

int QAListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QAListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const QAEntry& entry = m_app.entries().item(index.row() + 1);
    const bool isQuestion = index.column() == QuestionColumn;
    switch (role) {
    case Qt::DisplayRole:
        if (isQuestion)
            return entry.question;
        // A row has one line: the answer's line breaks show as spaces.
        return QString(entry.answer).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    case Qt::ToolTipRole:
        return isQuestion ? entry.question : entry.answer;
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

void QAListModel::appendEntry(const QAEntry& entry) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_app.entries().append(entry);
    endInsertRows();
}

void QAListModel::replaceEntry(qsizetype position, const QAEntry& entry) {
    m_app.entries().item(position) = entry;
    const int row = int(position - 1);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void QAListModel::removeEntry(qsizetype position) {
    const int row = int(position - 1);
    beginRemoveRows({}, row, row);
    m_app.entries().remove(position);
    endRemoveRows();
}

void QAListModel::reloadAll() {
    beginResetModel();
    endResetModel();
}
