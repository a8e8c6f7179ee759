#include "forms/EntryCommands.h"

#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "forms/DataProcForm.h"
#include "project/ClipboardEntry.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>

EntryCommands::EntryCommands(MApp& app, ProjectModel& model, QAbstractItemView& view,
                             UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_model(model)
    , m_view(view)
    , m_dialogs(dialogs) {}

qsizetype EntryCommands::currentPosition() const {
    if (m_model.entries().isEmpty())
        return 0;
    const QModelIndex current = m_view.currentIndex();
    // One entry is current whenever the table has any; the first stands in
    // should the view have lost its current row.
    return current.isValid() ? current.row() + 1 : 1;
}

void EntryCommands::setCurrentPosition(qsizetype position) {
    if (position < 1 || position > m_model.entries().count())
        return;
    const QModelIndex index = m_view.model()->index(int(position - 1), 0);
    m_view.setCurrentIndex(index);
    m_view.scrollTo(index);
}

bool EntryCommands::ask(const QString& question) {
    return m_dialogs.askYesNo(question, UserDialogs::boxTitle());
}

bool EntryCommands::runEntryDialog() {
    DataProcForm dialog(m_app, m_dialogs, m_view.window());
    return dialog.exec() == QDialog::Accepted;
}

QAEntry EntryCommands::editedEntry() const {
    return QAEntry{m_app.EditQuestion, m_app.EditAnswer,
                   m_app.EditEnabled ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon};
}

void EntryCommands::appendAndShow(const QAEntry& entry) {
    m_model.appendEntry(entry);
    setCurrentPosition(m_model.entries().count());
}

void EntryCommands::removeAndShowNext(qsizetype position) {
    m_model.removeEntry(position);
    setCurrentPosition(std::min(position, m_model.entries().count()));
}

void EntryCommands::clearTable() {
    if (!ask(QStringLiteral("現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？")))
        return;
    m_model.clearEntries();
}

void EntryCommands::add() {
    m_app.EditAccepted = false;
    runEntryDialog();
    if (m_app.EditAccepted)
        appendAndShow(editedEntry());
}

void EntryCommands::edit() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    const QAEntry& entry = m_model.entries().item(position);
    m_app.EditQuestion = entry.question;
    m_app.EditAnswer = entry.answer;
    m_app.EditEnabled = entry.isEnabled();
    m_app.EditAccepted = true;
    runEntryDialog();
    // Written back however the dialog ended: a cancelled edit writes the
    // entry's own values.
    m_model.replaceEntry(position, editedEntry());
}

void EntryCommands::remove() {
    const qsizetype position = currentPosition();
    if (position == 0 || !ask(QStringLiteral("この項目を削除してもいいですか？")))
        return;
    removeAndShowNext(position);
}

void EntryCommands::sort() {
    if (!ask(QStringLiteral("FQAテーブルをソートしますか？")))
        return;
    m_model.sortByQuestion();
    setCurrentPosition(1);
}

void EntryCommands::copy() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    QGuiApplication::clipboard()->setText(ClipboardEntry::toText(m_model.entries().item(position)));
}

void EntryCommands::cut() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    copy();
    removeAndShowNext(position);
}

void EntryCommands::paste() {
    const std::optional<QAEntry> entry =
        ClipboardEntry::parse(QGuiApplication::clipboard()->text());
    if (!entry) {
        m_dialogs.beep();
        return;
    }
    appendAndShow(*entry);
}
