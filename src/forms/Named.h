#pragma once

#include <QObject>
#include <QString>

// Gives a widget or action the name of the member that holds it: the name
// that tests, style sheets and accessibility tools find it by.
template <typename Object>
Object* named(Object* object, const char16_t* name) {
    object->setObjectName(QString::fromUtf16(name));
    return object;
}
