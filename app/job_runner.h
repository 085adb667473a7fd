#pragma once

// Runs one job at a time on a worker thread. The job reports through a
// Reporter whose progress reaches the tab's progress bar through queued
// calls, at most one pending at a time and only when the bar would move, so
// a job of a million steps is not slowed by repaints. When the job returns,
// its message is shown on the user-interface thread through the message
// routine, then the bar goes back to 0.

#include "core/reporter.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QProgressBar;
class QThread;

namespace kestrin::app {

class MessageRoutine;

class JobRunner : public QObject {
    Q_OBJECT
public:
    using Job = std::function<JobStatus(Reporter&)>;
    using Finished = std::function<void(JobStatus)>;

    JobRunner(MessageRoutine& messages, QObject* parent = nullptr);
    ~JobRunner() override;

    // Starts the job unless one is running (then false). The job must own
    // copies of everything it reads: the window may change meanwhile.
    // finished runs on the user-interface thread after the message.
    bool start(QProgressBar* bar, Job job, Finished finished = {});

    bool isBusy() const { return busy_; }
    // Blocks until the running job (if any) has returned; its message is
    // then shown from the event loop as usual.
    void waitForIdle();

signals:
    void busyChanged(bool busy);

private:
    class WorkerReporter;
    void updateBar();
    void jobReturned();

    MessageRoutine& messages_;
    bool busy_ = false;
    QThread* thread_ = nullptr;
    QPointer<QProgressBar> bar_;
    std::shared_ptr<WorkerReporter> reporter_;
    JobStatus status_ = JobStatus::Stopped;
    Finished finished_;
};

} // namespace kestrin::app
