#pragma once

#include "design/PageSizeLimit.h"
#include "design/ProgramFolder.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QString>
#include <QStringView>

// The template engine: runs the chosen design file over the document
// information and the entries of a project and keeps the resulting page text.
//
// A design is plain text with keys in square brackets ("[document.title]"),
// and a block between "[loop::]" and "[::loop]" that is written once per
// entry. Values are inserted as they are, without escaping, and are never
// scanned again.
class WrepClass {
public:
    WrepClass(const Project& project, ProgramFolder program);

    // Reads the design file that DocumentCode names and stores the page text.
    // On failure the message names the file and the reason, or says that the
    // page is too large, and the page text is left as it was.
    Status ddc_datacode();

    // Runs design text that is already in memory. Fails, leaving the page
    // text as it was, when the page would be longer than the page size limit:
    // the message starts with "ページが大きすぎます".
    Status runText(QStringView designText);

    // The longest page in characters that a run may make; 512,000,000 unless
    // set (PageSizeLimit::kDefaultCharacters).
    qsizetype pageSizeLimit() const { return m_pageSizeLimit.characters(); }
    void setPageSizeLimit(qsizetype characters) { m_pageSizeLimit = PageSizeLimit(characters); }

    // The page text of the last run; empty before the first.
    const QString& sorce() const { return m_sorce; }

private:
    const Project& m_project;
    ProgramFolder m_program;
    QString m_sorce;
    PageSizeLimit m_pageSizeLimit;
};
