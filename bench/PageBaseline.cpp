#include "PageBaseline.h"

#include <charconv>

namespace {

void appendNumber(QString& page, qsizetype value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    page.append(QLatin1StringView(digits, result.ptr - digits));
}

const QAEntry* shownEntry(const Project& project, qsizetype position) {
    const QAEntry& entry = project.entries.item(position);
    return entry.isEnabled() ? &entry : nullptr;
}

} // namespace

QString PageBaseline::build(const Project& project) {
    QString page;
    qsizetype estimate = 1024;
    for (const QAEntry& entry : project.entries)
        estimate += 2 * entry.question.size() + entry.answer.size() + 200;
    page.reserve(estimate);
    appendHead(page, project);
    appendQuestionList(page, project);
    appendAnswers(page, project);
    page.append(u"\r\n</body>\r\n</html>\r\n");
    return page;
}

void PageBaseline::appendHead(QString& page, const Project& project) {
    page.append(u"<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n"
                u"<meta charset=\"Shift_JIS\">\r\n<meta name=\"author\" content=\"");
    page.append(project.document.DocumentCreater);
    page.append(u"\">\r\n<title>");
    page.append(project.document.DocumentTitle);
    page.append(u"</title>\r\n<link rel=\"stylesheet\" href=\"style.css\">\r\n</head>\r\n"
                u"<body>\r\n<h1 id=\"top\">");
    page.append(project.document.DocumentTitle);
    page.append(u"</h1>\r\n<div class=\"lead\">");
    page.append(project.document.DocumentDataview);
    page.append(u"</div>\r\n<p>作成者: ");
    page.append(project.document.DocumentCreater);
    page.append(u" / <a href=\"");
    page.append(project.document.DocumentHomepage);
    page.append(u"\">");
    page.append(project.document.DocumentHomepage);
    page.append(u"</a> / <a href=\"mailto:");
    page.append(project.document.DocumentMail);
    page.append(u"\">");
    page.append(project.document.DocumentMail);
    page.append(u"</a></p>\r\n<p>質問の数: ");
    appendNumber(page, project.entries.count());
    page.append(u"</p>\r\n");
}

void PageBaseline::appendQuestionList(QString& page, const Project& project) {
    page.append(u"<ol class=\"toc\">");
    for (qsizetype position = 1; position <= project.entries.count(); ++position) {
        page.append(u"\r\n<li><a href=\"#q");
        appendNumber(page, position);
        page.append(u"\">");
        if (const QAEntry* entry = shownEntry(project, position))
            page.append(entry->question);
        page.append(u"</a></li>");
    }
    page.append(u"\r\n</ol>\r\n");
}

void PageBaseline::appendAnswers(QString& page, const Project& project) {
    for (qsizetype position = 1; position <= project.entries.count(); ++position) {
        const QAEntry* entry = shownEntry(project, position);
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
