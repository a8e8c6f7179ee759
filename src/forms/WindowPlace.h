#pragma once

#include <QString>

class QWidget;

// Where the user left a window, kept in the user's settings under a name of
// its own, so that it opens there again. The first time a window keeps the
// place it was given.
class WindowPlace {
public:
    static void restore(QWidget& window, const QString& name);
    static void save(const QWidget& window, const QString& name);
};
