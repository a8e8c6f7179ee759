#pragma once

#include "project/DocumentInfo.h"

#include <QString>

// One field of the head of a project file, which holds the document
// information before the entries.
struct BwkHeaderField {
    // A value on a line of its own, or one between double quotes that may
    // span lines.
    enum class Form { Line, Quoted };

    // The field as messages about it name it.
    const char16_t* name;
    QString DocumentInfo::*member;
    Form form;
};

// The head of a project file, in the order of the file. The reader and the
// writer both go through this list: a field is added or moved here alone.
inline constexpr BwkHeaderField kBwkHeader[] = {
    {u"タイトル", &DocumentInfo::DocumentTitle, BwkHeaderField::Form::Line},
    {u"ホームページ", &DocumentInfo::DocumentHomepage, BwkHeaderField::Form::Line},
    {u"メールアドレス", &DocumentInfo::DocumentMail, BwkHeaderField::Form::Line},
    {u"作成者", &DocumentInfo::DocumentCreater, BwkHeaderField::Form::Line},
    {u"デザインファイル", &DocumentInfo::DocumentCode, BwkHeaderField::Form::Line},
    {u"デザインフォルダ", &DocumentInfo::DocumentCodeFolder, BwkHeaderField::Form::Line},
    {u"説明", &DocumentInfo::DocumentDataview, BwkHeaderField::Form::Quoted},
};
