#include "forms/TextEditorLauncher.h"

#include <QFile>
#include <QThread>
#include <memory>

// GLib names a member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace {

// Owners of what GLib hands out.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct GMainContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// What became of a start; the message says why there was none.
struct LaunchOutcome {
    bool started = false;
    QString message;
};

struct PendingLaunch {
    LaunchOutcome outcome;
    bool answered = false;
};

void launchAnswered(GObject* editor, GAsyncResult* result, gpointer data) {
    auto& pending = *static_cast<PendingLaunch*>(data);
    GError* error = nullptr;
    pending.outcome.started = g_app_info_launch_uris_finish(G_APP_INFO(editor), result, &error);
    if (error) {
        pending.outcome.message = QString::fromUtf8(error->message);
        g_error_free(error);
    }
    pending.answered = true;
}

// Starts the default editor for plain text on path and waits for the
// desktop's answer, which for an editor started over D-Bus is its own: an
// editor whose service is missing fails here instead of showing nothing.
// Runs the answer's callbacks in a main loop of this thread only.
LaunchOutcome launchDefaultEditor(const QString& path) {
    const std::unique_ptr<GMainContext, GMainContextUnref> context(g_main_context_new());
    g_main_context_push_thread_default(context.get());
    PendingLaunch pending;
    const GObjectPtr<GAppInfo> editor(g_app_info_get_default_for_type("text/plain", FALSE));
    if (!editor) {
        pending.outcome.message = QStringLiteral("no default application for text/plain");
    } else {
        const GObjectPtr<GFile> file(g_file_new_for_path(QFile::encodeName(path).constData()));
        const std::unique_ptr<char, GFree> uri(g_file_get_uri(file.get()));
        GList uris{uri.get(), nullptr, nullptr};
        g_app_info_launch_uris_async(editor.get(), &uris, nullptr, nullptr, launchAnswered,
                                     &pending);
        while (!pending.answered)
            g_main_context_iteration(context.get(), TRUE);
    }
    g_main_context_pop_thread_default(context.get());
    return pending.outcome;
}

} // namespace

TextEditorLauncher::TextEditorLauncher(QObject* parent)
    : QObject(parent) {}

void TextEditorLauncher::open(const QString& path) {
    auto outcome = std::make_shared<LaunchOutcome>();
    QThread* launch = QThread::create([outcome, path] { *outcome = launchDefaultEditor(path); });
    // Queued first, so that the thread is gone by the time a program that
    // ends on the answer cleans up.
    connect(launch, &QThread::finished, launch, &QObject::deleteLater);
    // The thread's end comes to this thread; a launcher gone by then hears
    // nothing.
    connect(launch, &QThread::finished, this, [this, outcome, path] {
        if (outcome->started) {
            emit opened(path);
            return;
        }
        qWarning("No text editor started: %s", qUtf8Printable(outcome->message));
        emit noEditor(path);
    });
    launch->start();
}
