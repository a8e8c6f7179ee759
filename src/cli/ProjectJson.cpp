#include "cli/ProjectJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cmath>
#include <limits>

namespace {

struct DocumentField {
    QLatin1StringView name;
    QString DocumentInfo::*member;
};

const std::array<DocumentField, 7> kDocumentFields{{
    {QLatin1StringView("title"), &DocumentInfo::DocumentTitle},
    {QLatin1StringView("creater"), &DocumentInfo::DocumentCreater},
    {QLatin1StringView("homepage"), &DocumentInfo::DocumentHomepage},
    {QLatin1StringView("mail"), &DocumentInfo::DocumentMail},
    {QLatin1StringView("code"), &DocumentInfo::DocumentCode},
    {QLatin1StringView("codeFolder"), &DocumentInfo::DocumentCodeFolder},
    {QLatin1StringView("dataview"), &DocumentInfo::DocumentDataview},
}};

class JsonError {
public:
    QString message;
};

QString requireString(const QJsonObject& object, QLatin1StringView key, const QString& where) {
    const QJsonValue value = object.value(key);
    if (!value.isString())
        throw JsonError{QStringLiteral("%1の\"%2\"が文字列ではありません").arg(where, key)};
    return value.toString();
}

QAEntry entryFrom(const QJsonValue& value, qsizetype position) {
    const QString where = QStringLiteral("entries[%1]").arg(position);
    if (!value.isObject())
        throw JsonError{QStringLiteral("%1がオブジェクトではありません").arg(where)};
    const QJsonObject object = value.toObject();
    const QJsonValue icon = object.value(QLatin1StringView("icon"));
    const double number = icon.toDouble(0.5);
    // The range is checked on the double: converting one outside the range of
    // int is undefined.
    const bool isInt = number >= double(std::numeric_limits<int>::min()) &&
                       number <= double(std::numeric_limits<int>::max()) &&
                       number == std::trunc(number);
    if (!icon.isDouble() || !isInt)
        throw JsonError{QStringLiteral("%1の\"icon\"が整数ではありません").arg(where)};
    return QAEntry{requireString(object, QLatin1StringView("question"), where),
                   requireString(object, QLatin1StringView("answer"), where), int(number)};
}

} // namespace

QByteArray ProjectJson::toJson(const Project& project) {
    QJsonObject document;
    for (const DocumentField& field : kDocumentFields)
        document.insert(field.name, project.document.*field.member);
    QJsonArray entries;
    for (const QAEntry& entry : project.entries) {
        entries.append(QJsonObject{{QLatin1StringView("icon"), entry.icon},
                                   {QLatin1StringView("question"), entry.question},
                                   {QLatin1StringView("answer"), entry.answer}});
    }
    const QJsonObject root{{QLatin1StringView("document"), document},
                           {QLatin1StringView("entries"), entries}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Result<Project> ProjectJson::fromJson(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    try {
        if (parseError.error != QJsonParseError::NoError)
            throw JsonError{QStringLiteral("JSONとして読めません（%1文字目: %2）")
                                .arg(parseError.offset)
                                .arg(parseError.errorString())};
        const QJsonObject root = parsed.object();
        const QJsonValue document = root.value(QLatin1StringView("document"));
        const QJsonValue entries = root.value(QLatin1StringView("entries"));
        if (!parsed.isObject() || !document.isObject() || !entries.isArray())
            throw JsonError{QStringLiteral(
                "\"document\"オブジェクトと\"entries\"配列を持つオブジェクトが必要です")};

        Project project;
        for (const DocumentField& field : kDocumentFields)
            project.document.*field.member =
                requireString(document.toObject(), field.name, QStringLiteral("document"));
        const QJsonArray list = entries.toArray();
        project.entries.reserve(list.size());
        for (qsizetype i = 0; i < list.size(); ++i)
            project.entries.append(entryFrom(list.at(i), i));
        return project;
    } catch (const JsonError& error) {
        return Failure{error.message};
    }
}
