#include "PageBaseline.h"

#include <charconv>

namespace {

void appendNumber(QString& page, qsizetype value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    page.append(QLatin1StringView(digits, result.ptr - digits));
}

const QAEntry* shownEntry(const MApp& app, qsizetype position) {
    const QAEntry& entry = app.entries.item(position);
    return entry.isEnabled() ? &entry : nullptr;
}

} // namespace

QString PageBaseline::build(const MApp& app) {
    QString page;
    qsizetype estimate = 1024;
    for (const QAEntry& entry : app.entries)
        estimate += 2 * entry.question.size() + entry.answer.size() + 200;
    page.reserve(estimate);
    appendHead(page, app);
    appendQuestionList(page, app);
    appendAnswers(page, app);
    page.append(u"\r\n</body>\r\n</html>\r\n");
    return page;
}

void PageBaseline::appendHead(QString& page, const MApp& app) {
    page.append(u"<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n"
                u"<meta charset=\"Shift_JIS\">\r\n<meta name=\"author\" content=\"");
    page.append(app.DocumentCreater);
    page.append(u"\">\r\n<title>");
    page.append(app.DocumentTitle);
    page.append(u"</title>\r\n<link rel=\"stylesheet\" href=\"style.css\">\r\n</head>\r\n"
                u"<body>\r\n<h1 id=\"top\">");
    page.append(app.DocumentTitle);
    page.append(u"</h1>\r\n<div class=\"lead\">");
    page.append(app.DocumentDataview);
    page.append(u"</div>\r\n<p>作成者: ");
    page.append(app.DocumentCreater);
    page.append(u" / <a href=\"");
    page.append(app.DocumentHomepage);
    page.append(u"\">");
    page.append(app.DocumentHomepage);
    page.append(u"</a> / <a href=\"mailto:");
    page.append(app.DocumentMail);
    page.append(u"\">");
    page.append(app.DocumentMail);
    page.append(u"</a></p>\r\n<p>質問の数: ");
    appendNumber(page, app.entries.count());
    page.append(u"</p>\r\n");
}

void PageBaseline::appendQuestionList(QString& page, const MApp& app) {
    page.append(u"<ol class=\"toc\">");
    for (qsizetype position = 1; position <= app.entries.count(); ++position) {
        page.append(u"\r\n<li><a href=\"#q");
        appendNumber(page, position);
        page.append(u"\">");
        if (const QAEntry* entry = shownEntry(app, position))
            page.append(entry->question);
        page.append(u"</a></li>");
    }
    page.append(u"\r\n</ol>\r\n");
}

void PageBaseline::appendAnswers(QString& page, const MApp& app) {
    for (qsizetype position = 1; position <= app.entries.count(); ++position) {
        const QAEntry* entry = shownEntry(app, position);
        page.append(u"\r\n<section id=\"q");
        appendNumber(page, position);
        page.append(u"\">\r\n<h2>");
        if (entry)
            page.append(entry->question);
        page.append(u"</h2>\r\n<div class=\"answer\">");
        if (entry)
            page.append(entry->answer);
        page.append(u"</div>\r\n<p class=\"back\"><a href=\"#top\">先頭へ戻る</a></p>\r\n"
                    u"</section>");
    }
}
