#pragma once

#include "project/Project.h"
#include "text/Cp932Codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Writes bytes to a file, replacing it.
inline void writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file's bytes; empty when it cannot be read.
inline QByteArray readFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every name in a folder, hidden ones too, in name order.
inline QStringList everythingIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The entries' questions in table order.
inline QStringList questionsOf(const QAEntryTable& entries) {
    QStringList questions;
    for (const QAEntry& entry : entries)
        questions << entry.question;
    return questions;
}

// A project complete enough to export with the design file of a design
// folder: every text field "x" and one entry, 質問 answered 答え.
inline Project projectUsingDesign(const QString& folder,
                                  const QString& designFile = QStringLiteral("page.ddc")) {
    Project project;
    DocumentInfo& doc = project.document;
    doc.DocumentTitle = doc.DocumentCreater = doc.DocumentHomepage = doc.DocumentMail =
        doc.DocumentDataview = QStringLiteral("x");
    doc.DocumentCode = folder + u'\\' + designFile;
    doc.DocumentCodeFolder = folder;
    project.entries.append(QAEntry{QStringLiteral("質問"), QStringLiteral("答え"), 1});
    return project;
}

// A program folder in a temporary directory, with designs written for a test.
class TestProgramFolder {
public:
    TestProgramFolder() { QDir(m_dir.path()).mkpath(QStringLiteral("doc_code")); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes text in code page 932 below the program folder.
    void writeText(const QString& relative, const QString& text) const {
        QByteArray bytes;
        QVERIFY(Cp932Codec::encode(text, bytes));
        writeBytes(relative, bytes);
    }

    void writeBytes(const QString& relative, const QByteArray& bytes) const {
        const QString path = m_dir.filePath(relative);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        writeFileBytes(path, bytes);
    }

    // A design folder below doc_code with its procode, design file and
    // resources.
    void addDesign(const QString& folder, const QString& displayName, const QString& design,
                   const QStringList& resources = {}) const {
        const QString base = QStringLiteral("doc_code/") + folder + u'/';
        writeText(base + QStringLiteral("procode"), displayName + QStringLiteral("\r\npage\r\n") +
                                                        displayName +
                                                        QStringLiteral(" の説明\r\n"));
        writeText(base + QStringLiteral("page.ddc"), design);
        for (const QString& resource : resources)
            writeText(base + resource, QStringLiteral("resource ") + resource);
    }

private:
    QTemporaryDir m_dir;
};
