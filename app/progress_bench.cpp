// How much a job pays for showing its progress in the window: a million
// steps reported through the window's job runner (worker thread, queued bar
// updates, message at the end) against the same loop with a reporter that
// drops everything.

#include "app/job_runner.h"
#include "app/message_routine.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>

#include <benchmark/benchmark.h>

namespace {

constexpr std::int64_t kSteps = 1'000'000;

kestrin::JobStatus countSteps(kestrin::Reporter& reporter) {
    reporter.setMaximum(kSteps);
    for (std::int64_t i = 0; i < kSteps; ++i) reporter.advance(1);
    reporter.showMessage("done");
    return kestrin::JobStatus::Completed;
}

class IgnoringSink : public kestrin::app::MessageSink {
public:
    void show(const QString&) override {}
};

void stepsWithoutWindow(benchmark::State& state) {
    for (auto _ : state) {
        kestrin::SilentReporter reporter;
        benchmark::DoNotOptimize(countSteps(reporter));
    }
    state.SetItemsProcessed(state.iterations() * kSteps);
}
BENCHMARK(stepsWithoutWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void stepsThroughWindow(benchmark::State& state) {
    IgnoringSink sink;
    kestrin::app::MessageRoutine messages(sink);
    kestrin::app::JobRunner runner(messages);
    QProgressBar bar;
    std::int64_t redraws = 0;
    QObject::connect(&bar, &QProgressBar::valueChanged, [&redraws] { ++redraws; });
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&runner, &kestrin::app::JobRunner::busyChanged, &loop, [&loop](bool busy) {
            if (!busy) loop.quit();
        });
        runner.start(&bar, countSteps);
        loop.exec();
    }
    state.SetItemsProcessed(state.iterations() * kSteps);
    state.counters["redraws per job"] = double(redraws) / double(state.iterations());
}
BENCHMARK(stepsThroughWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
