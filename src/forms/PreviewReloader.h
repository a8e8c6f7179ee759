#pragma once

// What the main window needs of the live preview: rebuild and show the page
// after a change, while the preview is open.
class PreviewReloader {
public:
    virtual ~PreviewReloader() = default;
    virtual void reload() = 0;
};
