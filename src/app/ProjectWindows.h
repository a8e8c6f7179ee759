#pragma once

// The windows of the "プロジェクト" menu, as its commands see them. The window
// program shows its dialog and its preview; a test can stand in for them.
class ProjectWindows {
public:
    virtual ~ProjectWindows() = default;

    // The document settings dialog, until it closes. What is confirmed in it
    // goes through the project model.
    virtual void editDocumentSettings() = 0;
    // Builds the preview and shows it; an open preview comes to the front.
    virtual void showPreview() = 0;
};
