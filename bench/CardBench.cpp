#include "BenchData.h"
#include "BenchEnvironment.h"
#include "cards/TFrmCalendar.h"
#include "cards/TFrmCard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

TestEnvironment& cardBook(int cards)
{
    return BenchEnvironment::get(QStringLiteral("cards %1").arg(cards), [cards] { BenchData::seedCards(cards); });
}

/// Lets the window system and the window finish what a show or a search set off: layout, painting, exposure.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

/// Shows the window and gives the time until it is on the screen and drawn as the iteration's time (the benchmarks
/// that use it run on manual time, so what follows, putting the window away, is not counted).
void timedShow(benchmark::State& state, TFrmCard& window)
{
    QElapsedTimer timer;
    timer.start();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the window was never exposed");
    settle();
    state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
}

// The card manager's tree rebuilt from the tables, as after every change to a card.
void cardTreeBuild(benchmark::State& state)
{
    const int cards = int(state.range(0));
    cardBook(cards);
    TFrmCard window;
    for (auto _ : state)
        window.RefreshCardTree();
    if (window.TreeView1->topLevelItemCount() != BenchData::categoryNames().size())
        state.SkipWithError("the tree lacks categories");
}

// From the moment the card manager is asked to show until it is on the screen and drawn: what a person waits for
// after the click on its button.
void cardManagerShow(benchmark::State& state)
{
    const int cards = int(state.range(0));
    cardBook(cards);
    TFrmCard window;
    for (auto _ : state) {
        timedShow(state, window);
        window.hide();
        settle();
    }
}

// The same for the first showing after start: the window has never held a tree, so every node is made afresh.
void cardManagerFirstShow(benchmark::State& state)
{
    const int cards = int(state.range(0));
    cardBook(cards);
    for (auto _ : state) {
        auto window = std::make_unique<TFrmCard>();
        timedShow(state, *window);
        window.reset();
        settle();
    }
}

// A search whose prefix every card matches ("1" in the mobile numbers), with the grid and details filled.
void cardSearchAllMatching(benchmark::State& state)
{
    const int cards = int(state.range(0));
    cardBook(cards);
    TFrmCalendar window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the window was never exposed");
    window.RadioButton6->setChecked(true);
    window.Edit1->setText(QStringLiteral("1"));
    for (auto _ : state) {
        window.SpeedButton1Click();
        settle();
    }
    window.close();
}

} // namespace

BENCHMARK(cardTreeBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(cardManagerShow)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(cardManagerFirstShow)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(cardSearchAllMatching)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
