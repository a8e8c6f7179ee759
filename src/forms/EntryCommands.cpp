#include "forms/EntryCommands.h"

#include "app/MApp.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "forms/DataProcForm.h"
#include "project/BwkWriter.h"
#include "project/ClipboardEntry.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>

using Step = ProjectHistory::Step;

EntryCommands::EntryCommands(MApp& app, ProjectModel& model, ProjectHistory& history,
                             QAbstractItemView& view, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_model(model)
    , m_history(history)
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
    const Step step(m_history, QStringLiteral("初期化"));
    m_model.clearEntries();
}

void EntryCommands::add() {
    m_app.EditAccepted = false;
    runEntryDialog();
    if (m_app.EditAccepted) {
        const Step step(m_history, QStringLiteral("追加"));
        appendAndShow(editedEntry());
    }
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
    const Step step(m_history, QStringLiteral("編集"));
    m_model.replaceEntry(position, editedEntry());
}

void EntryCommands::remove() {
    const qsizetype position = currentPosition();
    if (position == 0 || !ask(QStringLiteral("この項目を削除してもいいですか？")))
        return;
    const Step step(m_history, QStringLiteral("削除"));
    removeAndShowNext(position);
}

void EntryCommands::sort() {
    if (!ask(QStringLiteral("FQAテーブルをソートしますか？")))
        return;
    const Step step(m_history, QStringLiteral("ソート"));
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
    const Step step(m_history, QStringLiteral("切り取り"));
    removeAndShowNext(position);
}

void EntryCommands::paste() {
    const std::optional<QAEntry> entry =
        ClipboardEntry::parse(QGuiApplication::clipboard()->text());
    if (!entry) {
        m_dialogs.beep();
        return;
    }
    // Pasted text is held to the entry dialog's rules, so that what the file
    // cannot store is refused now and not at the next save.
    if (const Status storable = BwkWriter::checkEntry(*entry); !storable) {
        m_dialogs.beep();
        m_dialogs.report(storable.error(), UserDialogs::boxTitle());
        return;
    }
    const Step step(m_history, QStringLiteral("貼り付け"));
    appendAndShow(*entry);
}

void EntryCommands::moveUp() {
    moveCurrentBy(-1, QStringLiteral("上へ移動"));
}

void EntryCommands::moveDown() {
    moveCurrentBy(1, QStringLiteral("下へ移動"));
}

void EntryCommands::moveCurrentBy(qsizetype offset, const QString& caption) {
    const qsizetype from = currentPosition();
    const Step step(m_history, caption);
    moveTo(from, from + offset);
}

void EntryCommands::moveTo(qsizetype from, qsizetype to) {
    const qsizetype count = m_model.entries().count();
    if (from == to || from < 1 || to < 1 || from > count || to > count)
        return;
    const Step step(m_history, QStringLiteral("移動"));
    m_model.moveEntry(from, to);
    setCurrentPosition(to);
}
