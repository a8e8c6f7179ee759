#pragma once

#include "app/LineReader.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

class QFile;

// Text files of the program: code page 932 on disk, Unicode in memory.
class TextFile {
public:
    // The whole file, decoded. On failure returns nothing and sets error to a
    // message that names the file and the reason.
    static std::optional<QString> read(const QString& path, QString* error);
    // The whole file as it is on disk, for readers that decode it piece by
    // piece; fails like read().
    static std::optional<QByteArray> readBytes(const QString& path, QString* error);

private:
    static QByteArray readAll(QFile& file);
};
