#include "forms/PreviewProfile.h"

#include "forms/PreviewRequestGuard.h"
#include "forms/PreviewScheme.h"

#include <QWebEngineSettings>

PreviewProfile::PreviewProfile(const QString& previewFolder, QObject* parent)
    : QWebEngineProfile(parent) {
    installUrlSchemeHandler(PreviewScheme::schemeName(), new PreviewScheme(previewFolder, this));
    setUrlRequestInterceptor(new PreviewRequestGuard(this));
    // Pictures and links to the web work as on the published page; reading
    // other addresses from a script is for the page's own files only.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}
