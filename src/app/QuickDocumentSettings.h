#pragma once

#include "design/ProgramFolder.h"
#include "project/DocumentInfo.h"

#include <QString>

// Fills every empty piece of document information with a default and picks
// the first installed design when none is chosen, so that the preview can be
// opened at once: the first in the design dialog's order whose folder lies
// inside the design root. Values that are set are left alone.
class QuickDocumentSettings {
public:
    static QString confirmation() {
        return QStringLiteral(
            "この機能はドキュメントビューを有効にするために簡易的に空白のドキュメン"
            "ト情報を自動設定するというものです。\r\n"
            "それを考慮した上で、処理を実行しますか？");
    }
    static QString placeholderMail() { return QStringLiteral("faq@example.com"); }

    static void apply(DocumentInfo& document, const ProgramFolder& program);
};
