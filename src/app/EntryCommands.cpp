#include "app/EntryCommands.h"

#include "app/EntryEditor.h"
#include "app/PreviewUpdates.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/TableCursor.h"
#include "app/UserDialogs.h"
#include "project/BwkWriter.h"
#include "project/ClipboardEntry.h"

#include <QClipboard>
#include <QGuiApplication>

using Step = ProjectHistory::Step;

EntryCommands::EntryCommands(ProjectModel& model, ProjectHistory& history, PreviewUpdates& preview,
                             TableCursor& table, EntryEditor& editor, UserDialogs& dialogs,
                             QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_history(history)
    , m_preview(preview)
    , m_table(table)
    , m_editor(editor)
    , m_dialogs(dialogs) {
    connect(&history, &ProjectHistory::replayed, this, &EntryCommands::showReplayed);
}

qsizetype EntryCommands::currentPosition() const {
    if (m_model.entries().isEmpty())
        return 0;
    const int row = m_table.currentRow();
    // One entry is current whenever the table has any; the first stands in
    // should the view have lost its current row.
    return row >= 0 ? row + 1 : 1;
}

void EntryCommands::setCurrentPosition(qsizetype position) {
    if (position < 1 || position > m_model.entries().count())
        return;
    m_table.setCurrentRow(int(position - 1));
}

bool EntryCommands::hasEntries() const {
    return !m_model.entries().isEmpty();
}

bool EntryCommands::canMoveUp() const {
    return currentPosition() > 1;
}

bool EntryCommands::canMoveDown() const {
    const qsizetype current = currentPosition();
    return current > 0 && current < m_model.entries().count();
}

bool EntryCommands::canPaste() {
    return ClipboardEntry::hasTag(QGuiApplication::clipboard()->text());
}

bool EntryCommands::ask(const QString& question) {
    return m_dialogs.askYesNo(question, UserDialogs::boxTitle());
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
    const std::optional<QAEntry> entry = m_editor.editEntry(std::nullopt);
    if (!entry)
        return;
    const Step step(m_history, QStringLiteral("追加"));
    appendAndShow(*entry);
}

void EntryCommands::edit() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    // The dialog tells only whether the entry is enabled, so the entry comes
    // back with the enabled icon or the disabled one.
    const QAEntry& current = m_model.entries().item(position);
    const QAEntry shown{current.question, current.answer,
                        current.isEnabled() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon};
    const std::optional<QAEntry> edited = m_editor.editEntry(shown);
    // Written back however the dialog ended: a cancelled edit writes the
    // entry as the dialog showed it.
    const Step step(m_history, QStringLiteral("編集"));
    m_model.replaceEntry(position, edited.value_or(shown));
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

void EntryCommands::undo() {
    const PreviewUpdates::Hold hold(m_preview);
    m_history.undo();
}

void EntryCommands::redo() {
    const PreviewUpdates::Hold hold(m_preview);
    m_history.redo();
}

void EntryCommands::showReplayed(qsizetype position) {
    if (position > 0)
        setCurrentPosition(std::min(position, m_model.entries().count()));
}
