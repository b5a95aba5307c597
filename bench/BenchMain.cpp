#include "BenchEnvironment.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// The window benchmarks need a QApplication. Without a display they draw offscreen; scripts/bench.sh runs them on
// a private X server, where showing a window costs what it costs a user.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BenchEnvironment::release();
    return 0;
}
