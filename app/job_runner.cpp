#include "app/job_runner.h"

#include "app/message_routine.h"
#include "app/path_convert.h"

#include <QProgressBar>
#include <QThread>

#include <climits>
#include <exception>

namespace kestrin::app {

// Lives on the worker thread's side: keeps the latest progress in atomics and
// asks the user-interface thread to redraw only when the bar would show a
// different value and no redraw is already pending.
class JobRunner::WorkerReporter : public Reporter {
public:
    explicit WorkerReporter(JobRunner* runner) : runner_(runner) {}

    void setMaximum(std::int64_t maximum) override {
        maximum_.store(maximum < 0 ? 0 : maximum);
        step_ = maximum / 1000 + 1;
        position_.store(0);
        shownStep_ = -1;
        post();
    }
    void advance(std::int64_t steps) override { setPosition(position_.load(std::memory_order_relaxed) + steps); }
    void setPosition(std::int64_t position) override {
        position_.store(position, std::memory_order_relaxed);
        const std::int64_t step = position / step_;
        if (step != shownStep_) {
            shownStep_ = step;
            post();
        }
    }
    void reset() override { setPosition(0); }
    void showMessage(const std::string& text) override {
        std::lock_guard lock(mutex_);
        message_ = text;
        hasMessage_ = true;
    }

    std::int64_t maximum() const { return maximum_.load(); }
    std::int64_t position() const { return position_.load(); }
    void redrawDone() { pending_.store(false); }
    bool takeMessage(std::string& text) {
        std::lock_guard lock(mutex_);
        text = message_;
        return hasMessage_;
    }

private:
    void post() {
        if (pending_.exchange(true)) return;
        QMetaObject::invokeMethod(runner_, [runner = runner_] { runner->updateBar(); }, Qt::QueuedConnection);
    }

    JobRunner* runner_;
    std::atomic<std::int64_t> maximum_{0};
    std::atomic<std::int64_t> position_{0};
    std::atomic<bool> pending_{false};
    std::int64_t step_ = 1;       // worker thread only
    std::int64_t shownStep_ = -1; // worker thread only
    std::mutex mutex_;
    std::string message_;
    bool hasMessage_ = false;
};

JobRunner::JobRunner(MessageRoutine& messages, QObject* parent) : QObject(parent), messages_(messages) {}

JobRunner::~JobRunner() {
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

bool JobRunner::start(QProgressBar* bar, Job job, Finished finished) {
    if (busy_) return false;
    busy_ = true;
    bar_ = bar;
    finished_ = std::move(finished);
    reporter_ = std::make_shared<WorkerReporter>(this);
    status_ = JobStatus::Stopped;
    emit busyChanged(true);

    thread_ = QThread::create([this, job = std::move(job), reporter = reporter_] {
        try {
            status_ = job(*reporter);
        } catch (const std::exception& error) {
            std::string ignored;
            if (!reporter->takeMessage(ignored)) reporter->showMessage(error.what());
            status_ = JobStatus::Stopped;
        } catch (...) {
            status_ = JobStatus::Stopped;
        }
    });
    connect(thread_, &QThread::finished, this, &JobRunner::jobReturned, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void JobRunner::waitForIdle() {
    if (thread_) thread_->wait();
}

void JobRunner::updateBar() {
    if (!reporter_) return;
    reporter_->redrawDone();
    if (!bar_ || !busy_) return;
    std::int64_t maximum = reporter_->maximum();
    std::int64_t position = reporter_->position();
    // A bar holds int values: scale counts beyond that range.
    while (maximum > INT_MAX) {
        maximum /= 2;
        position /= 2;
    }
    if (position > maximum) position = maximum;
    if (position < 0) position = 0;
    bar_->setRange(0, int(maximum > 0 ? maximum : 100));
    bar_->setValue(int(position));
}

void JobRunner::jobReturned() {
    if (!thread_ || !thread_->isFinished()) return;
    delete thread_;
    thread_ = nullptr;
    std::string message;
    const bool hasMessage = reporter_->takeMessage(message);
    reporter_.reset();
    if (hasMessage) messages_.showMessage(fromUtf8(message));
    if (bar_) bar_->setValue(0);
    const Finished finished = std::move(finished_);
    finished_ = {};
    if (finished) finished(status_);
    busy_ = false;
    emit busyChanged(false);
}

} // namespace kestrin::app
