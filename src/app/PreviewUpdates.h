#pragma once

#include <QObject>

class ProjectModel;
struct ProjectChange;

// Says when the preview no longer shows the project: after each change that
// counts, and after a project is opened or started anew, though that is no
// change to save. A command that makes several changes, or waits in a
// dialog, holds the updates and has them said once, when it ends, whether
// anything changed or not. The preview alone knows whether it is open, and
// rebuilds itself only then.
class PreviewUpdates : public QObject {
    Q_OBJECT

public:
    // While a Hold lives, changes are not said; the last one to end says
    // outdated() once.
    class Hold {
    public:
        explicit Hold(PreviewUpdates& updates);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PreviewUpdates& m_updates;
    };

    explicit PreviewUpdates(const ProjectModel& model, QObject* parent = nullptr);

signals:
    void outdated();

private:
    void changeMade(const ProjectChange& change);

    int m_holds = 0;
};
