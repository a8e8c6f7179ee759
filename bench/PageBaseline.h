#pragma once

#include "project/Project.h"

#include <QString>

// The page of bench/doc_code/bench/bench.ddc made by hand: plain appends in a
// loop, the fastest a program could make that text. The engine's figures are
// judged against this one.
class PageBaseline {
public:
    static QString build(const Project& project);

private:
    static void appendHead(QString& page, const Project& project);
    static void appendQuestionList(QString& page, const Project& project);
    static void appendAnswers(QString& page, const Project& project);
};
