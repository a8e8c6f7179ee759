#pragma once

#include <QIcon>

// The small pictures of the entry table: image 1 marks an enabled entry,
// image 2 a disabled one; image 3 is spare.
class IconImageList {
public:
    static QIcon enabledIcon();
    static QIcon disabledIcon();
    static QIcon spareIcon();

    // The picture for an entry's icon number: 1 is enabled, anything else
    // disabled.
    static QIcon forIconNumber(int icon);

    // The program's own icon, for windows and the About box.
    static QIcon programIcon();
};
