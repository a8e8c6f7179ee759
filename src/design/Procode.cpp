#include "design/Procode.h"

#include "text/LineReader.h"

Procode Procode::parse(QStringView text) {
    LineReader lines(text);
    Procode procode;
    while (!lines.atEnd() && procode.m_lines.size() < 3)
        procode.m_lines.append(lines.readLine().toString());
    return procode;
}

Status Procode::checkNamesDesignFile(const QString& designFolder) const {
    if (namesDesignFile())
        return {};
    return Failure{QStringLiteral("「%1」には表示名とデザインファイル名の2行が必要です。")
                       .arg(designFolder + u'/' + fileName())};
}
