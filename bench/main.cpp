#include <benchmark/benchmark.h>

#ifdef DPARTITION_BENCH_GUI
#include <QApplication>
#endif

int main(int argc, char** argv) {
#ifdef DPARTITION_BENCH_GUI
    // Chart benchmarks draw widgets; without a display they draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
