#include "forms/QAFilterBar.h"

#include "forms/Named.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

QAFilterBar::QAFilterBar(QWidget* parent)
    : QWidget(parent) {
    auto* label = named(new QLabel(QStringLiteral("検索"), this), u"FindLabel");
    FindEdit = named(new QLineEdit(this), u"FindEdit");
    FindEdit->setClearButtonEnabled(true);
    label->setBuddy(FindEdit);
    auto* layout = new QHBoxLayout(this);
    const int margin = layout->contentsMargins().left() / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(label);
    layout->addWidget(FindEdit);
    FindEdit->installEventFilter(this);
    connect(FindEdit, &QLineEdit::textChanged, this, &QAFilterBar::queryChanged);
    connect(FindEdit, &QLineEdit::returnPressed, this, &QAFilterBar::entryChosen);
}

QString QAFilterBar::query() const {
    return FindEdit->text();
}

void QAFilterBar::clear() {
    FindEdit->clear();
}

void QAFilterBar::focusQuery() {
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

bool QAFilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FindEdit)
        return false;
    const auto* key = dynamic_cast<const QKeyEvent*>(event);
    // Enter belongs to the field, not to the window's items that Enter runs
    // from the table.
    if (event->type() == QEvent::ShortcutOverride && key && isEnter(*key)) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress || !key || key->modifiers() != Qt::NoModifier)
        return false;
    if (key->key() == Qt::Key_Escape) {
        clear();
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        emit tableWanted();
        return true;
    }
    return false;
}
