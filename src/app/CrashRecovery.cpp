#include "app/CrashRecovery.h"

#include "app/ProjectFile.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/RecoveryCopy.h"
#include "app/RecoveryStore.h"

#include <QDateTime>
#include <QMetaObject>

CrashRecovery::CrashRecovery(RecoveryStore& store, const ProjectModel& model,
                             const ProjectHistory& history, const ProjectFile& file,
                             QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_model(model)
    , m_history(history)
    , m_file(file) {
    // Taken once, here: the worker reads the store's place without a lock.
    m_opened = m_store.open().ok();
    m_writer.setMaxThreadCount(1);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &CrashRecovery::writeCopy);
    connect(&model, &ProjectModel::changed, this, &CrashRecovery::changeMade);
    connect(&history, &ProjectHistory::cleanChanged, this, &CrashRecovery::cleanChanged);
}

CrashRecovery::~CrashRecovery() {
    m_delay.stop();
    m_writer.waitForDone();
    m_store.remove();
}

void CrashRecovery::flush() {
    if (m_delay.isActive()) {
        m_delay.stop();
        writeCopy();
    }
    m_writer.waitForDone();
}

void CrashRecovery::changeMade() {
    // Not restarted by later changes: a stream of edits still gets a copy
    // every two seconds.
    if (m_history.DataChanged() && !m_delay.isActive())
        m_delay.start();
}

void CrashRecovery::cleanChanged(bool clean) {
    if (!clean) {
        changeMade();
        return;
    }
    m_delay.stop();
    // After any copy still being written.
    m_writer.start([this] { m_store.remove(); });
}

void CrashRecovery::writeCopy() {
    if (!m_history.DataChanged())
        return;
    if (!m_opened) {
        emit written(false);
        return;
    }
    RecoveryCopy copy{m_model.project(), m_file.path, m_file.stamp, QDateTime::currentDateTime()};
    // The copy shares the project's data with the window; encoding it
    // happens in the worker.
    m_writer.start([this, copy = std::move(copy)] {
        const Result<QByteArray> bytes = copy.encode();
        const bool ok = bytes && m_store.write(*bytes);
        QMetaObject::invokeMethod(
            this, [this, ok] { emit written(ok); }, Qt::QueuedConnection);
    });
}
