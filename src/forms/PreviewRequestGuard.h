#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Turns away every request of the preview for a local file (file:). The
// preview's own address serves what a page needs; this catches any way to
// the user's files the browser settings might leave open.
class PreviewRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};
