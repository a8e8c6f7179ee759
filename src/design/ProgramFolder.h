#pragma once

#include <QString>

// The folder the program runs from and the data folders below it: the designs,
// the preview's working folder and the help pages.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& path);

    // The folder of the running executable.
    static ProgramFolder ofExecutable();

    const QString& path() const { return m_path; }
    QString designRoot() const;
    QString previewFolder() const;
    QString helpStartPage() const;

private:
    QString m_path;
};
