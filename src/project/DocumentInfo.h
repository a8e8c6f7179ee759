#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <utility>

// The document information of a project: what the page says about itself and
// which design draws it. Saved with the entries in the project file.
struct DocumentInfo {
    // DocumentCode while no design is chosen: three full-width full stops.
    static QString noDesignCode() { return QStringLiteral("．．．"); }

    QString DocumentTitle;
    QString DocumentCreater;
    QString DocumentHomepage = QStringLiteral("http://");
    QString DocumentMail;
    // The design file relative to the design root, "folder\\base.ddc".
    QString DocumentCode = noDesignCode();
    QString DocumentCodeFolder;
    QString DocumentDataview;

    // What the new-project command starts from: unlike a fresh start, the
    // homepage address is empty too.
    static DocumentInfo forNewProject() {
        DocumentInfo info;
        info.DocumentHomepage.clear();
        return info;
    }

    bool hasDesign() const {
        return DocumentCode != noDesignCode() && !DocumentCodeFolder.isEmpty();
    }

    // Why no page can be made, as an export is refused.
    static QString incompleteMessage() {
        return QStringLiteral("ドキュメント情報が詳細に定義されていないためhtml出力ができません。");
    }

    // Whether a page can be made: the design is chosen and all six texts are
    // filled. Nothing is trimmed: a text of blanks counts as filled. The
    // refusal (the export's unless a caller has its own first line) says on
    // a line of its own what is missing.
    Status checkForPage(const QString& refusal = incompleteMessage()) const {
        // In the order of the document settings dialog.
        const std::pair<bool, const char16_t*> needed[] = {
            {DocumentTitle.isEmpty(), u"ページタイトル"},
            {DocumentCreater.isEmpty(), u"作者名"},
            {DocumentHomepage.isEmpty(), u"HomePageアドレス"},
            {DocumentMail.isEmpty(), u"メールアドレス"},
            {!hasDesign(), kDesignCaption},
            {DocumentDataview.isEmpty(), u"説明文"}};
        QStringList missing;
        for (const auto& [isMissing, caption] : needed) {
            if (isMissing)
                missing.append(QString::fromUtf16(caption));
        }
        return refusalFor(refusal, missing);
    }

    // Whether the page text alone can be made, as the command line's render
    // prints it: only the design is needed, so that a design can be tried on
    // a project whose texts are still being written (empty texts make empty
    // places in the page).
    Status checkForPageText() const {
        return refusalFor(incompleteMessage(),
                          hasDesign() ? QStringList()
                                      : QStringList{QString::fromUtf16(kDesignCaption)});
    }

    friend bool operator==(const DocumentInfo&, const DocumentInfo&) = default;

private:
    static constexpr const char16_t* kDesignCaption = u"デザイン";

    // Names what is missing by the captions of the document settings.
    static Status refusalFor(const QString& refusal, const QStringList& missing) {
        if (missing.isEmpty())
            return {};
        return Failure{refusal +
                       QStringLiteral("\nドキュメント設定で次の項目を設定してください：") +
                       missing.join(u'、')};
    }
};
