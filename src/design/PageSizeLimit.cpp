#include "design/PageSizeLimit.h"

namespace {

// 512000000 as "512,000,000".
QString withDigitGroups(qsizetype value) {
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

} // namespace

QString PageSizeLimit::message() const {
    return QStringLiteral("ページが大きすぎます（%1文字を超えます）")
        .arg(withDigitGroups(m_characters));
}
