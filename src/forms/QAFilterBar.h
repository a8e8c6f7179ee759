#pragma once

#include <QWidget>

class QLineEdit;

// The search field above the entry table. It hands on each change of its
// text; Esc clears it, Enter asks for the selected entry and ↓ for the table.
class QAFilterBar : public QWidget {
    Q_OBJECT

public:
    explicit QAFilterBar(QWidget* parent = nullptr);

    QString query() const;
    void clear();
    // Puts the focus in the field with its text selected, to be typed over.
    void focusQuery();

signals:
    void queryChanged(const QString& query);
    void entryChosen();
    void tableWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* FindEdit = nullptr;
};
