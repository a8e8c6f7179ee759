#include "forms/PreviewScheme.h"

#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every page of the preview is on one made-up host, so that it has an origin
// of its own like a published page.
const QString kHost = QStringLiteral("preview");

} // namespace

PreviewScheme::PreviewScheme(QString previewFolder, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
    , m_previewFolder(std::move(previewFolder)) {}

void PreviewScheme::registerScheme() {
    QWebEngineUrlScheme scheme(schemeName());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure, as a page published over https is. Not marked local: a local
    // page may load its own files only where it may load file: addresses
    // too. Its scripts may ask for the page's own files.
    QWebEngineUrlScheme::Flags flags =
        QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    flags |= QWebEngineUrlScheme::FetchApiAllowed;
#endif
    scheme.setFlags(flags);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewScheme::urlOf(const QString& fileName) {
    QUrl url;
    url.setScheme(QString::fromLatin1(schemeName()));
    url.setHost(kHost);
    url.setPath(u'/' + fileName);
    return url;
}

QString PreviewScheme::fileNameIn(const QUrl& url) {
    if (url.scheme() != QString::fromLatin1(schemeName()) || url.host() != kHost)
        return {};
    // Decoded, so that an encoded "/" or ".." is seen for what it is.
    QString name = url.path(QUrl::FullyDecoded).mid(1);
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.contains(QChar()))
        return {};
    return name;
}

std::unique_ptr<QFile> PreviewScheme::openRegularFile(const QString& fileName) const {
    const QByteArray path = QFile::encodeName(m_previewFolder + u'/' + fileName);
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

void PreviewScheme::requestStarted(QWebEngineUrlRequestJob* job) {
    const QString name = fileNameIn(job->requestUrl());
    if (name.isEmpty() || job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    std::unique_ptr<QFile> file = openRegularFile(name);
    if (!file) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    // The browser reads the file until the job is done with; it goes then.
    connect(job, &QObject::destroyed, file.get(), &QObject::deleteLater);
    job->reply(type.name().toLatin1(), file.release());
}
