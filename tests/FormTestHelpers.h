#pragma once

#include "forms/PreviewReloader.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

// Stands in for the live preview and counts how often it was rebuilt.
class CountingPreview : public PreviewReloader {
public:
    int reloads = 0;
    void reload() override { ++reloads; }
};

// Acts in the next modal dialog of type Dialog as soon as it shows; the
// command that opens it is run right after this call.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the dialog did not open");
        act(*dialog);
    });
}
