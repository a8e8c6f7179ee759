#pragma once

#include "project/Project.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>

// A project as JSON, for scripts:
// {"document": {"title", "creater", "homepage", "mail", "code", "codeFolder",
// "dataview"}, "entries": [{"icon": 1, "question": "...", "answer": "..."}]}
class ProjectJson {
public:
    static QByteArray toJson(const Project& project);

    // The project, or what is wrong with the JSON.
    static Result<Project> fromJson(const QByteArray& json);
};
