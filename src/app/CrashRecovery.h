#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>

class ProjectHistory;
class ProjectModel;
class RecoveryStore;
struct ProjectFile;

// Keeps a recovery copy of an unsaved project: within two seconds of a
// change that leaves the project differing from its file, the copy is
// written in a worker thread, so a large project never holds up the window;
// once the project is saved, or its changes are discarded, the copy goes.
class CrashRecovery : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 2000;

    // The copy holds the project with its file and what the file held.
    CrashRecovery(RecoveryStore& store, const ProjectModel& model, const ProjectHistory& history,
                  const ProjectFile& file, QObject* parent = nullptr);
    // The program ends normally: nothing is left to recover.
    ~CrashRecovery() override;

    // Writes the copy now if one is due, and waits until every write has
    // finished.
    void flush();

signals:
    // A copy has been written, or has failed to be (with why).
    void written(bool ok);

private:
    void changeMade();
    void cleanChanged(bool clean);
    void writeCopy();

    RecoveryStore& m_store;
    const ProjectModel& m_model;
    const ProjectHistory& m_history;
    const ProjectFile& m_file;
    bool m_opened = false;
    QTimer m_delay;
    // One thread, so copies are written and removed in the order asked.
    QThreadPool m_writer;
};
