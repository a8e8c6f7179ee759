#pragma once

#include "text/Result.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// A plain editor for the preview page's source, for desktops without a text
// editor: shows the file (code page 932) and saves it back, so that "更新"
// in the preview shows the edits.
class PageSourceWindow : public QWidget {
    Q_OBJECT

public:
    explicit PageSourceWindow(const QString& path, QWidget* parent = nullptr);

    // Writes the edited source back over the page file, in code page 932.
    Status save();

private:
    QString m_path;
    QPlainTextEdit* SourceEdit;
    QPushButton* SaveButton;
};
