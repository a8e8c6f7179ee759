#pragma once

#include <QString>

// Multi-line values are stored with CR LF line ends, as the files carry them;
// text boxes edit them with LF. These convert between the two.
namespace LineEnds {

inline QString toLf(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline QString toCrLf(QString text) {
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace LineEnds
