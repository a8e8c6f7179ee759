#pragma once

#include <QWebEngineProfile>

// The browser profile of the preview alone, kept in memory: it serves the
// preview folder under the preview's own address and lets the page read no
// local file. Other browser views of the program keep the default profile.
// Its pages must go before it does.
class PreviewProfile : public QWebEngineProfile {
    Q_OBJECT

public:
    PreviewProfile(const QString& previewFolder, QObject* parent = nullptr);
};
