#include "forms/EntryCommands.h"

#include "project/ClipboardEntry.h"
#include "app/MApp.h"
#include "app/UserDialogs.h"
#include "forms/DataProcForm.h"
#include "forms/QAListModel.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>

EntryCommands::EntryCommands(MApp& app, QAListModel& model, QAbstractItemView& view,
                             UserDialogs& dialogs, std::function<void()> announceChange,
                             QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_model(model)
    , m_view(view)
    , m_dialogs(dialogs)
    , m_announceChange(std::move(announceChange)) {}

qsizetype EntryCommands::currentPosition() const {
    if (m_app.entries().isEmpty())
        return 0;
    const QModelIndex current = m_view.currentIndex();
    // One entry is current whenever the table has any; the first stands in
    // should the view have lost its current row.
    return current.isValid() ? current.row() + 1 : 1;
}

void EntryCommands::setCurrentPosition(qsizetype position) {
    if (position < 1 || position > m_app.entries().count())
        return;
    const QModelIndex index = m_model.index(int(position - 1), 0);
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

void EntryCommands::clearTable() {
    if (!ask(QStringLiteral("現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？")))
        return;
    m_app.entries().clear();
    m_model.reloadAll();
    m_announceChange();
}

void EntryCommands::add() {
    m_app.EditAccepted = false;
    runEntryDialog();
    if (!m_app.EditAccepted)
        return;
    m_model.appendEntry(
        QAEntry{m_app.EditQuestion, m_app.EditAnswer,
                m_app.EditEnabled ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});
    setCurrentPosition(m_app.entries().count());
    m_announceChange();
}

void EntryCommands::edit() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    const QAEntry& entry = m_app.entries().item(position);
    m_app.EditQuestion = entry.question;
    m_app.EditAnswer = entry.answer;
    m_app.EditEnabled = entry.isEnabled();
    m_app.EditAccepted = true;
    runEntryDialog();
    // Written back however the dialog ended: a cancelled edit writes the
    // entry's own values.
    m_model.replaceEntry(
        position, QAEntry{m_app.EditQuestion, m_app.EditAnswer,
                          m_app.EditEnabled ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});
    m_announceChange();
}

void EntryCommands::remove() {
    const qsizetype position = currentPosition();
    if (position == 0 || !ask(QStringLiteral("この項目を削除してもいいですか？")))
        return;
    m_model.removeEntry(position);
    setCurrentPosition(std::min(position, m_app.entries().count()));
    m_announceChange();
}

void EntryCommands::sort() {
    if (!ask(QStringLiteral("FQAテーブルをソートしますか？")))
        return;
    m_app.entries().sortByQuestion();
    m_model.reloadAll();
    setCurrentPosition(1);
    m_announceChange();
}

void EntryCommands::copy() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    QGuiApplication::clipboard()->setText(ClipboardEntry::toText(m_app.entries().item(position)));
}

void EntryCommands::cut() {
    const qsizetype position = currentPosition();
    if (position == 0)
        return;
    copy();
    m_model.removeEntry(position);
    setCurrentPosition(std::min(position, m_app.entries().count()));
    m_announceChange();
}

void EntryCommands::paste() {
    const std::optional<QAEntry> entry =
        ClipboardEntry::parse(QGuiApplication::clipboard()->text());
    if (!entry) {
        m_dialogs.beep();
        return;
    }
    m_model.appendEntry(*entry);
    setCurrentPosition(m_app.entries().count());
    m_announceChange();
}
