#include "app/TextFile.h"

#include "app/Cp932Codec.h"

#include <QFile>

std::optional<QString> TextFile::read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                QStringLiteral("ファイル「%1」を開けません（%2）").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("ファイル「%1」を読み込めません（%2）")
                         .arg(path, file.errorString());
        return std::nullopt;
    }
    return Cp932Codec::decode(bytes);
}

qsizetype LineReader::lineEndLength(QStringView text, qsizetype position) {
    if (position >= text.size() || text[position] != u'\r')
        return 0;
    return position + 1 < text.size() && text[position + 1] == u'\n' ? 2 : 1;
}

QStringView LineReader::readLine() {
    const qsizetype start = m_pos;
    const qsizetype cr = m_text.indexOf(u'\r', start);
    const qsizetype end = cr < 0 ? m_text.size() : cr;
    m_pos = end + lineEndLength(m_text, end);
    if (m_pos > start)
        ++m_line;
    return m_text.sliced(start, end - start);
}

void LineReader::advanceTo(qsizetype position) {
    while (m_pos < position) {
        const qsizetype length = lineEndLength(m_text, m_pos);
        if (length > 0 && m_pos + length <= position) {
            ++m_line;
            m_pos += length;
        } else {
            ++m_pos;
        }
    }
}
