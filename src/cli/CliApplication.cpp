#include "cli/CliApplication.h"

#include "cli/ProjectJson.h"
#include "design/DesignRoot.h"
#include "design/HtmlExporter.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/CsvReader.h"
#include "project/CsvWriter.h"
#include "text/Cp932Codec.h"
#include "text/TextFile.h"
#include "text/Version.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <optional>

namespace {

struct Command {
    QLatin1StringView name;
    qsizetype argumentCount;
    QLatin1StringView synopsis;
    const char16_t* description;
    // The one option of its own the command takes, if any.
    QLatin1StringView option = {};
};

const Command kCommands[] = {
    {QLatin1StringView("render"), 1, QLatin1StringView("render PROJECT"),
     u"プロジェクトのデザインを実行し、ページのテキストをコードページ932のまま標準出力に書き出しま"
     u"す。"},
    {QLatin1StringView("export"), 2, QLatin1StringView("export PROJECT OUTPUT_FOLDER"),
     u"OUTPUT_FOLDERを新しく作り、デザインの素材ファイルとページ（フォルダ名."
     u"html）を書き出して、ページのパスを表示します。"},
    {QLatin1StringView("dump"), 1, QLatin1StringView("dump PROJECT"),
     u"プロジェクトをJSON（UTF-8）で標準出力に書き出します。"},
    {QLatin1StringView("import"), 2, QLatin1StringView("import JSON PROJECT"),
     u"dumpと同じ形のJSONからbwkファイルを書き出します。"},
    {QLatin1StringView("import-csv"), 2, QLatin1StringView("import-csv CSV PROJECT [--append]"),
     u"CSV（列は質問・回答・有効）の項目でPROJECTの項目を置き換えます。"
     u"--appendでは後ろに加えます。PROJECTがなければ新しく作ります。",
     QLatin1StringView("append")},
    {QLatin1StringView("export-csv"), 2,
     QLatin1StringView("export-csv PROJECT CSV [--encoding utf-8|cp932]"),
     u"プロジェクトの項目をCSVに書き出します（既定はBOM付きのUTF-8）。",
     QLatin1StringView("encoding")},
    {QLatin1StringView("designs"), 0, QLatin1StringView("designs"),
     u"インストールされているデザインを、フォルダ名・表示名・デザインファイル・説明のタブ区切りで一"
     u"覧します。"},
};

const Command* findCommand(const QString& name) {
    for (const Command& command : kCommands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

QString helpText(const QString& options) {
    QString text =
        QStringLiteral("使い方: brindlewick-cli COMMAND [引数] [--program-folder DIR]\n\n"
                       "Brindlewickのプロジェクト（."
                       "bwk）からFAQページを作り、プロジェクトをJSONやCSVと相互に変換します。\n\n"
                       "コマンド:\n");
    for (const Command& command : kCommands)
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(command.synopsis, QStringView(command.description));
    text += QStringLiteral(
        "\n終了コード: 0 成功、1 入力または出力の失敗、2 使い方の誤り\n\nオプション:\n");
    return text + options;
}

// Whether what was written to device has left its buffer.
bool flushed(QIODevice& device) {
    auto* file = qobject_cast<QFileDevice*>(&device);
    return !file || file->flush();
}

} // namespace

CliApplication::CliApplication(ProgramFolder defaultProgramFolder, QIODevice& out, QIODevice& err)
    : m_defaultProgramFolder(std::move(defaultProgramFolder))
    , m_out(out)
    , m_err(err) {}

int CliApplication::run(const QList<QByteArray>& arguments) {
    QStringList decoded;
    for (const QByteArray& argument : arguments) {
        const Result<QString> name = TextFile::decodeFileName(argument);
        if (!name)
            return usage(name.error());
        decoded.append(*name);
    }
    return run(decoded);
}

int CliApplication::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption folderOption(
        QStringLiteral("program-folder"),
        QStringLiteral("doc_code/ のあるフォルダ（既定: 実行ファイルのフォルダ）"),
        QStringLiteral("DIR"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("この説明を表示します。"));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("バージョンを表示します。"));
    const QCommandLineOption appendOption(
        QStringLiteral("append"), QStringLiteral("import-csv: 項目を置き換えずに後ろに加えます。"));
    const QCommandLineOption encodingOption(
        QStringLiteral("encoding"),
        QStringLiteral("export-csv: CSVの文字コード（utf-8 または cp932、既定: utf-8）"),
        QStringLiteral("ENCODING"));
    parser.addOption(folderOption);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addOption(appendOption);
    parser.addOption(encodingOption);

    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(helpOption)) {
        QString options = parser.helpText();
        options = options.mid(options.indexOf(QStringLiteral("Options:")));
        if (Status printed = print(helpText(options.section(u'\n', 1))); !printed)
            return fail(printed.error());
        return Success;
    }
    if (parser.isSet(versionOption)) {
        if (Status printed = print(QStringLiteral("Brindlewick " BRINDLEWICK_RELEASE "\n"));
            !printed)
            return fail(printed.error());
        return Success;
    }

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usage(QStringLiteral("コマンドを指定してください。"));
    const QString name = args.takeFirst();
    const Command* command = findCommand(name);
    if (!command)
        return usage(QStringLiteral("不明なコマンド「%1」です。").arg(name));
    if (args.size() != command->argumentCount)
        return usage(QStringLiteral("使い方: brindlewick-cli %1").arg(command->synopsis));
    for (const QCommandLineOption* option : {&appendOption, &encodingOption}) {
        const QString optionName = option->names().constFirst();
        if (parser.isSet(*option) && optionName != command->option)
            return usage(QStringLiteral("--%1は%2では使えません。").arg(optionName, command->name));
    }

    const ProgramFolder program = parser.isSet(folderOption)
                                      ? ProgramFolder(parser.value(folderOption))
                                      : m_defaultProgramFolder;
    if (name == u"render")
        return render(args, program);
    if (name == u"export")
        return exportPage(args, program);
    if (name == u"dump")
        return dump(args);
    if (name == u"import")
        return import(args);
    if (name == u"import-csv")
        return importCsv(args, parser.isSet(appendOption));
    if (name == u"export-csv")
        return exportCsv(args, parser.value(encodingOption));
    return designs(program);
}

int CliApplication::render(const QStringList& args, const ProgramFolder& program) {
    const Result<Project> project = loadProject(args.at(0));
    if (!project)
        return fail(project.error());
    if (Status ready = project->document.checkForPageText(); !ready)
        return fail(ready.error());
    WrepClass engine(*project, program);
    if (Status run = engine.ddc_datacode(); !run)
        return fail(run.error());
    QByteArray bytes;
    Cp932Codec::encodeForHtml(engine.sorce(), bytes);
    if (Status printed = print(bytes); !printed)
        return fail(printed.error());
    return Success;
}

int CliApplication::exportPage(const QStringList& args, const ProgramFolder& program) {
    const Result<Project> project = loadProject(args.at(0));
    if (!project)
        return fail(project.error());
    const HtmlExporter exporter(*project, program);
    const Result<QString> page = exporter.render();
    if (!page)
        return fail(page.error());
    const Result<QString> pagePath = exporter.write(*page, args.at(1));
    if (!pagePath)
        return fail(pagePath.error());
    if (Status printed = print(*pagePath + u'\n'); !printed)
        return fail(printed.error());
    return Success;
}

int CliApplication::dump(const QStringList& args) {
    const Result<Project> project = loadProject(args.at(0));
    if (!project)
        return fail(project.error());
    if (Status printed = print(ProjectJson::toJson(*project)); !printed)
        return fail(printed.error());
    return Success;
}

int CliApplication::import(const QStringList& args) {
    const Result<QByteArray> input = TextFile::readBytes(args.at(0));
    if (!input)
        return fail(input.error());
    const Result<Project> project = ProjectJson::fromJson(*input);
    if (!project)
        return fail(QStringLiteral("%1: %2").arg(args.at(0), project.error()));
    if (Status written = BwkWriter::writeFile(args.at(1), project->document, project->entries);
        !written)
        return fail(written.error());
    return Success;
}

int CliApplication::importCsv(const QStringList& args, bool append) {
    const QString& projectPath = args.at(1);
    Project project{DocumentInfo::forNewProject(), {}};
    if (QFileInfo::exists(projectPath)) {
        Result<Project> existing = loadProject(projectPath);
        if (!existing)
            return fail(existing.error());
        project = std::move(*existing);
    }
    const qsizetype kept = append ? project.entries.count() : 0;
    Result<QAEntryTable> read = CsvReader::readFile(args.at(0), kept);
    if (!read)
        return fail(read.error());
    if (append) {
        project.entries.reserve(kept + read->count());
        for (const QAEntry& entry : *read)
            project.entries.append(entry);
    } else {
        project.entries = std::move(*read);
    }
    if (Status written = BwkWriter::writeFile(projectPath, project.document, project.entries);
        !written)
        return fail(written.error());
    return Success;
}

int CliApplication::exportCsv(const QStringList& args, const QString& encodingName) {
    std::optional<CsvWriter::Encoding> encoding;
    if (encodingName.isEmpty() || encodingName.compare(u"utf-8", Qt::CaseInsensitive) == 0)
        encoding = CsvWriter::Encoding::Utf8;
    else if (encodingName.compare(u"cp932", Qt::CaseInsensitive) == 0)
        encoding = CsvWriter::Encoding::Cp932;
    else
        return usage(
            QStringLiteral("文字コード「%1」は使えません。utf-8かcp932を指定してください。")
                .arg(encodingName));
    const Result<Project> project = loadProject(args.at(0));
    if (!project)
        return fail(project.error());
    if (Status written = CsvWriter::writeFile(project->entries, args.at(1), *encoding); !written)
        return fail(written.error());
    return Success;
}

int CliApplication::designs(const ProgramFolder& program) {
    const DesignRoot root(program);
    const Result<QStringList> names = root.names();
    if (!names)
        return fail(names.error());
    // Every name is reported on, in the order of the listing; a broken
    // design does not hide the others.
    int status = Success;
    for (const QString& name : *names) {
        const Result<DesignRoot::Design> design = root.find(name);
        if (!design) {
            status = fail(design.error());
            continue;
        }
        const Procode& procode = design->procode;
        if (Status complete = procode.checkNamesDesignFile(design->path); !complete) {
            status = fail(complete.error());
            continue;
        }
        const QString line = QStringList{name, procode.displayName(), procode.designFileName(),
                                         procode.description()}
                                 .join(u'\t') +
                             u'\n';
        if (Status printed = print(line); !printed)
            return fail(printed.error());
    }
    return status;
}

Result<Project> CliApplication::loadProject(const QString& path) {
    Result<BwkReader::Opened> opened = BwkReader::openFile(path);
    if (!opened)
        return Failure{
            QStringLiteral("%1 %2: %3").arg(BwkReader::damagedMessage(), path, opened.error())};
    // The output is made all the same, as the window opens such a file; one
    // line says where the text was replaced.
    if (opened->firstUndecodableLine > 0)
        m_err.write(QStringLiteral("brindlewick-cli: %1\n")
                        .arg(BwkReader::undecodableMessage(path, opened->firstUndecodableLine))
                        .toUtf8());
    return std::move(opened->project);
}

int CliApplication::usage(const QString& message) {
    m_err.write(QStringLiteral("brindlewick-cli: %1\n詳しくは brindlewick-cli --help\n")
                    .arg(message)
                    .toUtf8());
    return UsageError;
}

int CliApplication::fail(const QString& message) {
    QString line = message;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    m_err.write(QStringLiteral("brindlewick-cli: %1\n").arg(line).toUtf8());
    return InputOutputError;
}

Status CliApplication::print(const QByteArray& bytes) {
    // Buffered output reports a lost write only when it is flushed.
    if (m_out.write(bytes) != bytes.size() || !flushed(m_out))
        return Failure{QStringLiteral("標準出力に書き込めません（%1）").arg(m_out.errorString())};
    return {};
}
