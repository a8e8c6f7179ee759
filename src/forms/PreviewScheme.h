#pragma once

#include <QFile>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <memory>

// Serves the preview folder to the preview's browser under an address of the
// program's own. Pages and scripts of a design come from other people, so
// the browser gets the plain files directly inside the folder and nothing
// else: no sub-folder, no hidden file, no link, no way up and out.
class PreviewScheme : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    PreviewScheme(QString previewFolder, QObject* parent = nullptr);

    // Makes the address known to the browser engine. Runs once, before the
    // application object is made.
    static void registerScheme();
    static QByteArray schemeName() { return QByteArrayLiteral("brindlewick-preview"); }
    // The address of a file of the preview folder.
    static QUrl urlOf(const QString& fileName);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    // The file's name when the address names a file the browser may have;
    // empty otherwise.
    static QString fileNameIn(const QUrl& url);
    // The file of the preview folder, opened without following a link; null
    // when it is no regular file.
    std::unique_ptr<QFile> openRegularFile(const QString& fileName) const;

    QString m_previewFolder;
};
