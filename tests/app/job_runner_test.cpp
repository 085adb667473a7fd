// Jobs on the worker thread: progress reaches the bar sparingly, one job at a
// time, the message is shown on the user-interface thread, the bar ends at 0.

#include "app_test_support.h"
#include "window_tests.h"

#include "app/job_runner.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <optional>
#include <stdexcept>

namespace kestrin::app::test {

class JobRunnerTest : public QObject {
    Q_OBJECT
private slots:
    void millionStepsRedrawTheBarSparingly() {
        RecordingSink sink;
        MessageRoutine messages(sink);
        JobRunner runner(messages);
        QProgressBar bar;
        QSignalSpy values(&bar, &QProgressBar::valueChanged);
        QThread* jobThread = nullptr;
        std::optional<JobStatus> result;
        runner.start(&bar, [&](Reporter& reporter) {
            jobThread = QThread::currentThread();
            reporter.setMaximum(1'000'000);
            for (int i = 0; i < 1'000'000; ++i) reporter.advance(1);
            reporter.showMessage("完毕");
            return JobStatus::Completed;
        }, [&](JobStatus status) { result = status; });
        QTRY_VERIFY_WITH_TIMEOUT(!runner.isBusy(), 10000);
        QVERIFY(jobThread != QThread::currentThread());
        QCOMPARE(sink.texts, QStringList{"完毕"});
        QCOMPARE(result, JobStatus::Completed);
        QCOMPARE(bar.value(), 0);
        QVERIFY2(values.count() < 2100, qPrintable(QString::number(values.count())));
    }

    void oneJobAtATime() {
        RecordingSink sink;
        MessageRoutine messages(sink);
        JobRunner runner(messages);
        QSignalSpy busy(&runner, &JobRunner::busyChanged);
        std::atomic<bool> release{false};
        QVERIFY(runner.start(nullptr, [&](Reporter& reporter) {
            while (!release) QThread::msleep(1);
            reporter.showMessage("first");
            return JobStatus::Completed;
        }));
        QVERIFY(runner.isBusy());
        QVERIFY(!runner.start(nullptr, [](Reporter&) { return JobStatus::Completed; }));
        release = true;
        QTRY_VERIFY(!runner.isBusy());
        QCOMPARE(sink.texts, QStringList{"first"});
        QCOMPARE(busy.count(), 2);
    }

    void aThrowingJobStillEndsWithOneMessage() {
        RecordingSink sink;
        MessageRoutine messages(sink);
        JobRunner runner(messages);
        std::optional<JobStatus> result;
        runner.start(nullptr, [](Reporter&) -> JobStatus { throw std::runtime_error("坏了"); },
                     [&](JobStatus status) { result = status; });
        QTRY_VERIFY(!runner.isBusy());
        QCOMPARE(sink.texts, QStringList{"坏了"});
        QCOMPARE(result, JobStatus::Stopped);
    }
};

KESTRIN_WINDOW_SUITE(JobRunnerTest)

} // namespace kestrin::app::test

#include "job_runner_test.moc"
