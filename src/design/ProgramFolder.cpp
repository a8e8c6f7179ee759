#include "design/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

ProgramFolder::ProgramFolder(const QString& path)
    : m_path(QDir::cleanPath(path)) {}

ProgramFolder ProgramFolder::ofExecutable() {
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::designRoot() const {
    return m_path + QStringLiteral("/doc_code");
}

QString ProgramFolder::previewFolder() const {
    return m_path + QStringLiteral("/default");
}

QString ProgramFolder::helpStartPage() const {
    return m_path + QStringLiteral("/help/help_frame.html");
}
