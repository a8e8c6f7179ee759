#pragma once

#include <QObject>
#include <functional>

struct MApp;
class QAListModel;
class QAbstractItemView;
class UserDialogs;

// The commands of the "Q.Aコマンド" menu that change the entry table: clear,
// add, edit, delete, sort, and the clipboard's copy, cut and paste. Each
// change is announced through the given function (mark the project changed,
// rebuild an open preview).
class EntryCommands : public QObject {
    Q_OBJECT

public:
    EntryCommands(MApp& app, QAListModel& model, QAbstractItemView& view, UserDialogs& dialogs,
                  std::function<void()> announceChange, QObject* parent = nullptr);

    void clearTable();
    void add();
    void edit();
    void remove();
    void sort();
    void copy();
    void cut();
    void paste();

    // 1-based position of the current entry; 0 when the table is empty.
    qsizetype currentPosition() const;
    void setCurrentPosition(qsizetype position);

private:
    bool ask(const QString& question);
    bool runEntryDialog();

    MApp& m_app;
    QAListModel& m_model;
    QAbstractItemView& m_view;
    UserDialogs& m_dialogs;
    std::function<void()> m_announceChange;
};
