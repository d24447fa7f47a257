// The benchmark runner: a GUI application (offscreen) so that reports can be rendered, then
// the registered benchmarks, then the peak memory of the whole run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "bench_support.h"
#include "reports/report_page.h"

int main(int argc, char** argv) {
    // As the program does at start-up, so that PDF writing is measured as users get it.
    torvane::reports::keepPdfBuffersInHeap();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // "--plans" prints the query plan of every list and search query instead of timing.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--plans") == 0) {
            QApplication app(argc, argv);
            return torvane::bench::printQueryPlans();
        }
    QApplication app(argc, argv);
    torvane::bench::registerWorkshopBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}
