// What the window program does per command, at the sizes users keep, each
// measured until the table has been painted: opening a project, adding,
// moving, undoing and redoing one change, sorting, showing a table that
// holds one answer of millions of characters and changing its current row;
// and from one edit to the preview's page painted. A change should stay well
// under one frame (16 ms).

#include "BenchProjects.h"
#include "app/EntryCommands.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/ReplaceCommand.h"
#include "app/TableCursor.h"
#include "app/UserDialogs.h"
#include "design/PreviewBuilder.h"
#include "forms/DocumentViewForm.h"
#include "forms/MainForm.h"
#include "forms/PreviewEngine.h"
#include "project/CsvWriter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

// Every question is answered Yes and no dialog is shown while measuring.
class SilentDialogs : public UserDialogs {
public:
    bool askYesNo(const QString&, const QString&, Preselected) override { return true; }
    int askChoice(const QString&, const QString&, const QStringList&) override { return 0; }
    void report(const QString&, const QString&) override {}
    void beep() override {}
    FileChoice chooseFileToOpen(const QString&) override {
        return {fileToOpen, fileToOpen, QString()};
    }
    FileChoice chooseFileToSave(const QString&) override { return {}; }
    FileChoice chooseFileToReplace(const QString&, const SavePath&) override { return {}; }

    // What the open dialogs return; empty cancels them.
    QString fileToOpen;
};

// A shown main window holding the generated project of `entries` entries.
struct ShownWindow {
    explicit ShownWindow(int entries,
                         const ProgramFolder& program = BenchProjects::instance().programFolder())
        : window(dialogs, program) {
        window.projectModel().replaceProject(BenchProjects::instance().project(entries),
                                             ProjectModel::Marking::Unmodified);
        window.show();
        QApplication::processEvents();
    }

    void trigger(const char* action) {
        window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    // Lets the view catch up and paints the table at once.
    void paint() {
        QApplication::processEvents();
        window.findChild<QTreeView*>(QStringLiteral("QAListView"))->viewport()->repaint();
    }

    SilentDialogs dialogs;
    MainForm window;
};

// Appends one entry to a shown table of `entries` rows, makes it current and
// lets the view catch up, as the add and paste commands do.
void addRowToShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    const QAEntry entry{QStringLiteral("追加した質問"), QStringLiteral("答え"), 1};
    ProjectModel& project = shown.window.projectModel();
    for (auto _ : state) {
        project.appendEntry(entry);
        shown.window.entryCommands().setCurrentPosition(project.entries().count());
        QApplication::processEvents();
        state.PauseTiming();
        project.removeEntry(project.entries().count());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(addRowToShownTable)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

// From the command that opens a project file to the table painted.
void openProjectUntilShown(benchmark::State& state) {
    const QString file = BenchProjects::instance().projectFile(int(state.range(0)));
    ShownWindow shown(1);
    for (auto _ : state) {
        shown.window.openAtStart(file);
        shown.paint();
    }
}
BENCHMARK(openProjectUntilShown)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

// "CSVから読み込み..." of a spreadsheet's worth of entries into an empty
// table, from the command to the table painted.
void importCsvUntilShown(benchmark::State& state) {
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("faq.csv"));
    const Project project = BenchProjects::instance().project(int(state.range(0)));
    if (!CsvWriter::writeFile(project.entries, file)) {
        state.SkipWithError("the CSV file could not be written");
        return;
    }
    ShownWindow shown(0);
    shown.dialogs.fileToOpen = file;
    for (auto _ : state) {
        shown.trigger("CsvImport_FileMenu");
        shown.paint();
        state.PauseTiming();
        shown.window.projectModel().replaceEntries({});
        shown.paint();
        state.ResumeTiming();
    }
}
BENCHMARK(importCsvUntilShown)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

// One entry in the middle moved down by the menu command, then that move
// undone, then made again, each until the table is painted.
enum Step { Move, Undo, Redo };

void moveUndoRedoInShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    const auto step = Step(state.range(1));
    shown.window.entryCommands().setCurrentPosition(state.range(0) / 2);
    shown.paint();
    for (auto _ : state) {
        state.PauseTiming();
        if (step != Move)
            shown.trigger("down_QACommand");
        if (step == Redo)
            shown.trigger("undo_QACommand");
        shown.paint();
        state.ResumeTiming();
        shown.trigger(step == Move   ? "down_QACommand"
                      : step == Undo ? "undo_QACommand"
                                     : "redo_QACommand");
        shown.paint();
        // Back where it started: an undo has put it back already.
        state.PauseTiming();
        if (step != Undo)
            shown.trigger("up_QACommand");
        state.ResumeTiming();
    }
}
BENCHMARK(moveUndoRedoInShownTable)
    ->ArgNames({"entries", "step"})
    ->Args({32767, Move})
    ->Args({32767, Undo})
    ->Args({32767, Redo})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The sort command on the generated order, until the table is painted.
void sortShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    for (auto _ : state) {
        shown.trigger("sort_QACommand");
        shown.paint();
        state.PauseTiming();
        shown.trigger("undo_QACommand");
        shown.paint();
        state.ResumeTiming();
    }
}
BENCHMARK(sortShownTable)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

// One key typed into the search field, until the table is painted: the
// first letter of a query, which hides most rows, the next letter, and Esc,
// which shows every row again. "Cold" is the first letter typed after the
// project was opened, when every entry is compared for the first time.
enum Typed { FirstLetter, NextLetter, Escape, FirstLetterCold };

void filterShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    const auto typed = Typed(state.range(1));
    auto* field = shown.window.findChild<QLineEdit*>(QStringLiteral("FindEdit"));
    const QString before = typed == NextLetter ? QStringLiteral("検")
                           : typed == Escape   ? QStringLiteral("検索")
                                               : QString();
    const QString after = typed == NextLetter ? QStringLiteral("検索")
                          : typed == Escape   ? QString()
                                              : QStringLiteral("検");
    for (auto _ : state) {
        state.PauseTiming();
        if (typed == FirstLetterCold)
            shown.window.projectModel().replaceProject(
                BenchProjects::instance().project(int(state.range(0))),
                ProjectModel::Marking::Unmodified);
        field->setText(before);
        shown.paint();
        state.ResumeTiming();
        field->setText(after);
        shown.paint();
    }
}
BENCHMARK(filterShownTable)
    ->ArgNames({"entries", "typed"})
    ->Args({32767, FirstLetter})
    ->Args({32767, NextLetter})
    ->Args({32767, Escape})
    ->Args({32767, FirstLetterCold})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// "すべて置換" of a telephone number that every answer holds, until the
// table is painted; the step is undone between runs. With letters, "tel"
// is replaced in any case, which is the slower search.
void replaceInEveryAnswer(benchmark::State& state) {
    Project project = BenchProjects::instance().project(int(state.range(0)));
    for (qsizetype position = 1; position <= project.entries.count(); ++position)
        project.entries.item(position).answer += QStringLiteral("\r\nTEL 03-1234-5678 まで");
    ShownWindow shown(1);
    shown.window.projectModel().replaceProject(project, ProjectModel::Marking::Unmodified);
    shown.paint();
    // The table's current row is left as it is.
    struct : TableCursor {
        int currentRow() const override { return -1; }
        void setCurrentRow(int) override {}
    } table;
    ReplaceCommand command(shown.window.projectModel(), shown.window.projectHistory(), table,
                           shown.dialogs);
    const bool letters = state.range(1) != 0;
    const EntryReplacement::Request request{
        letters ? QStringLiteral("tel") : QStringLiteral("03-1234-5678"),
        letters ? QStringLiteral("電話") : QStringLiteral("06-8765-4321"),
        EntryReplacement::Target::Answers};
    for (auto _ : state) {
        command.replaceAll(request);
        shown.paint();
        state.PauseTiming();
        shown.trigger("undo_QACommand");
        shown.paint();
        state.ResumeTiming();
    }
}
BENCHMARK(replaceInEveryAnswer)
    ->ArgNames({"entries", "letters"})
    ->Args({32767, 0})
    ->Args({32767, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The generated project of `entries` entries whose middle answer is made
// `length` characters long (0 keeps the generated one), as a whole document
// pasted into one answer: lines of a thousand characters.
Project withLongAnswer(int entries, qsizetype length) {
    Project project = BenchProjects::instance().project(entries);
    const QString line = QString(1000, u'長') + QStringLiteral("\r\n");
    if (length > 0)
        project.entries.item(entries / 2).answer = line.repeated(length / line.size());
    return project;
}

// The project put in the table, the long answer's row current, until the
// table is painted.
void showTableWithLongAnswer(benchmark::State& state) {
    ShownWindow shown(1);
    const Project project = withLongAnswer(int(state.range(0)), state.range(1));
    for (auto _ : state) {
        shown.window.projectModel().replaceProject(project, ProjectModel::Marking::Unmodified);
        shown.window.entryCommands().setCurrentPosition(project.entries.count() / 2);
        shown.paint();
    }
}
BENCHMARK(showTableWithLongAnswer)
    ->ArgNames({"entries", "answer"})
    ->Args({1000, 0})
    ->Args({1000, 5'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The current row moved between the long answer's entry and the one after
// it, until the table is painted.
void changeRowNextToLongAnswer(benchmark::State& state) {
    ShownWindow shown(1);
    const Project project = withLongAnswer(int(state.range(0)), state.range(1));
    shown.window.projectModel().replaceProject(project, ProjectModel::Marking::Unmodified);
    const qsizetype middle = project.entries.count() / 2;
    qsizetype next = middle;
    shown.paint();
    for (auto _ : state) {
        next = next == middle ? middle + 1 : middle;
        shown.window.entryCommands().setCurrentPosition(next);
        shown.paint();
    }
}
BENCHMARK(changeRowNextToLongAnswer)
    ->ArgNames({"entries", "answer"})
    ->Args({1000, 0})
    ->Args({1000, 5'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Waits for the preview to have loaded what it was given; false after
// `seconds` without.
bool previewLoaded(DocumentViewForm& view, int seconds = 60) {
    QEventLoop loop;
    QObject::connect(&view, &DocumentViewForm::loadFinished, &loop, [&loop] { loop.exit(1); });
    QTimer::singleShot(seconds * 1000, &loop, [&loop] { loop.exit(0); });
    return loop.exec() == 1;
}

// Waits for the browser engine to have drawn the next frame of the preview's
// page: the first animation frame, and the task after it, which comes once
// that frame's layout and paint are done. False after a minute without.
bool previewPainted(DocumentViewForm& view) {
    static int frames = 0;
    const QString painted = QStringLiteral("painted %1").arg(++frames);
    QWebEnginePage* page =
        view.findChild<QWebEngineView*>(QStringLiteral("WebBrowserCtrl"))->page();
    QEventLoop loop;
    QObject::connect(page, &QWebEnginePage::titleChanged, &loop, [&](const QString& title) {
        if (title == painted)
            loop.exit(1);
    });
    QTimer::singleShot(60000, &loop, [&loop] { loop.exit(0); });
    page->runJavaScript(
        QStringLiteral("requestAnimationFrame(function () {"
                       "  var after = new MessageChannel();"
                       "  after.port1.onmessage = function () { document.title = '%1'; };"
                       "  after.port2.postMessage(0); });")
            .arg(painted),
        QWebEngineScript::ApplicationWorld);
    return loop.exec() == 1;
}

// The designs that come with the program, as the built program folder
// beside this benchmark holds them.
enum ShippedDesign { Standard, Accordion, Structured };

Project withShippedDesign(int entries, ShippedDesign design) {
    static const QString folders[] = {QStringLiteral("standard"), QStringLiteral("accordion"),
                                      QStringLiteral("structured")};
    Project project = BenchProjects::instance().project(entries);
    project.document.DocumentCodeFolder = folders[design];
    project.document.DocumentCode = folders[design] + QStringLiteral("\\faq.ddc");
    return project;
}

// From an edit of one entry to the first frame the browser engine draws of
// the open preview showing it, with each shipped design. An edited question
// also changes the entry's identifier; an edited answer changes its text
// only; an entry switched off or on empties or fills its question, which
// has the browser style the entry anew; an entry taken out and put back in
// turn changes how many entries there are.
enum Edited { Question, Answer, Switched, TakenOutAndBack };

void editUntilPreviewShown(benchmark::State& state) {
    const int entries = int(state.range(0));
    ShownWindow shown(0, ProgramFolder::ofExecutable());
    ProjectModel& project = shown.window.projectModel();
    project.replaceProject(withShippedDesign(entries, ShippedDesign(state.range(1))),
                           ProjectModel::Marking::Unmodified);
    // The page of many entries loads once, outside the measured edits; how
    // long that takes is reported beside them.
    QElapsedTimer opening;
    opening.start();
    shown.trigger("DocumentView_ProjectMenu");
    DocumentViewForm& view = shown.window.documentView();
    if (!previewLoaded(view, 600) || !previewPainted(view))
        return state.SkipWithError("the preview did not load");
    state.counters["open_s"] = double(opening.elapsed()) / 1000;
    // Every tenth generated entry is switched off and never reaches the page:
    // the one edited here is on.
    const int edited = entries / 2 + 1;
    QAEntry entry = project.entries().item(edited);
    if (entry.icon != QAEntry::kEnabledIcon)
        return state.SkipWithError("the edited entry is not on the page");
    bool takenOut = false;
    for (auto _ : state) {
        switch (Edited(state.range(2))) {
        case Question:
            entry.question += u'!';
            project.replaceEntry(edited, entry);
            break;
        case Answer:
            entry.answer += u'!';
            project.replaceEntry(edited, entry);
            break;
        case Switched:
            entry.icon = entry.icon == QAEntry::kEnabledIcon ? QAEntry::kDisabledIcon
                                                             : QAEntry::kEnabledIcon;
            project.replaceEntry(edited, entry);
            break;
        case TakenOutAndBack:
            takenOut = !takenOut;
            if (takenOut)
                project.removeEntry(edited);
            else
                project.insertEntry(edited, entry);
            break;
        }
        if (!previewLoaded(view) || !previewPainted(view))
            return state.SkipWithError("the preview did not show the edit");
    }
}
BENCHMARK(editUntilPreviewShown)
    ->ArgNames({"entries", "design", "edited"})
    ->ArgsProduct({{1000, 32767},
                   {Standard, Accordion, Structured},
                   {Question, Answer, Switched, TakenOutAndBack}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The preview's build steps: the page, the emptied folder, the design's
// files and default.html.
void buildPreviewFolder(benchmark::State& state) {
    const Project& project = BenchProjects::instance().project(int(state.range(0)));
    const QString folder = BenchProjects::instance().scratchPath(QStringLiteral("preview"));
    QDir().mkpath(folder);
    PreviewBuilder builder(project, BenchProjects::instance().programFolder());
    for (auto _ : state) {
        if (const Result<QString> built = builder.build(folder); !built)
            state.SkipWithError(qPrintable(built.error()));
    }
}
BENCHMARK(buildPreviewFolder)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine of the preview will not start its sandbox as root.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The windows keep recent files and places; never in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    PreviewEngine::prepare();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
