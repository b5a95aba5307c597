#include "BenchData.h"
#include "BenchEnvironment.h"
#include "fakes/FakeSoundPlayer.h"
#include "reminders/ReminderEngine.h"
#include "storage/TableQuery.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

class NoPopup : public ReminderPopup
{
public:
    void show(int, int, int, const QString&, const QString&) override { }
};

// One once-a-second tick of the reminder engine over a table of N active rows, none of them due: the cost the
// program pays every second whatever happens.
void engineTick(benchmark::State& state)
{
    const int rows = int(state.range(0));
    TestEnvironment& env
        = BenchEnvironment::get(QStringLiteral("reminders %1").arg(rows), [rows] { BenchData::seedReminders(rows); });
    env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(3, 0)));
    TableQuery query;
    NoPopup popup;
    FakeSoundPlayer player;
    ReminderEngine engine(query, popup, player);
    engine.tick();
    for (auto _ : state) {
        env.clock.advanceSecond();
        engine.tick();
    }
    // Resident memory once the ticks ran, with the table's rows as the tick left them.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly))
        state.counters["rss_mb"]
            = statm.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(engineTick)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
