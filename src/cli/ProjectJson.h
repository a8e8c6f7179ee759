#pragma once

#include "project/BwkProject.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A project as JSON, for scripts:
// {"document": {"title", "creater", "homepage", "mail", "code", "codeFolder",
// "dataview"}, "entries": [{"icon": 1, "question": "...", "answer": "..."}]}
class ProjectJson {
public:
    static QByteArray toJson(const BwkProject& project);

    // The project, or nothing with error set to what is wrong with the JSON.
    static std::optional<BwkProject> fromJson(const QByteArray& json, QString* error);
};
