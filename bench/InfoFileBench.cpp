#include "update/TAppUpdater.h"

#include <benchmark/benchmark.h>

namespace {

// The largest information file the updater accepts: the header keys and as many downloads as fit, each with its
// size and hash.
QByteArray largestInfoFile()
{
    QByteArray text = "[update]\r\n#version=2.4.0.0\r\n#date=2026-12-10\r\n#method=1\r\n"
                      "#message={New skins, faster card book.\r\nSecond line.}\r\n";
    const QByteArray hash(64, 'c');
    for (int n = 0; text.size() < TAppUpdater::InfoFileLimit - 200; ++n) {
        // url, url0, then url3, url4 …: the numbering the download list follows.
        const QByteArray key = n == 0 ? QByteArray() : n == 1 ? QByteArray("0") : QByteArray::number(n + 1);
        text += "#url" + key + "=http://127.0.0.1/vantrel/files/file" + QByteArray::number(n) + ".bin\r\n";
        text += "#size" + key + "=" + QByteArray::number(1000 + n) + "\r\n";
        text += "#sha256" + key + "=" + hash + "\r\n";
    }
    return text;
}

// What the updater reads from a verified information file.
void parseInfoFile(benchmark::State& state)
{
    const QByteArray text = largestInfoFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(TAppUpdater::GetInfoValue(text, QStringLiteral("version")));
        benchmark::DoNotOptimize(TAppUpdater::GetInfoValue(text, QStringLiteral("date")));
        benchmark::DoNotOptimize(TAppUpdater::GetInfoValue(text, QStringLiteral("message"), true));
        benchmark::DoNotOptimize(TAppUpdater::GetInfoValue(text, QStringLiteral("method")));
        benchmark::DoNotOptimize(TAppUpdater::ReadDownloadEntries(text));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

} // namespace

BENCHMARK(parseInfoFile)->Unit(benchmark::kMillisecond);
