#include "forms/PreviewRequestGuard.h"

void PreviewRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().isLocalFile())
        info.block(true);
}
