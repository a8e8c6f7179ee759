#pragma once

#include <Qt>

// The window of a fixed-size dialog: a title and a close box, no minimize or
// maximize buttons, no resizing.
inline Qt::WindowFlags fixedDialogFlags() {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
           Qt::WindowCloseButtonHint;
}
