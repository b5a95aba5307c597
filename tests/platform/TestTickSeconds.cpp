#include "platform/TickSeconds.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

/// "H:mm:ss[.zzz]" on 10 December 2026; a leading ">" puts it on the day after.
QDateTime moment(QString text)
{
    QDate day(2026, 12, 10);
    if (text.startsWith(QLatin1Char('>'))) {
        day = day.addDays(1);
        text.remove(0, 1);
    }
    const QString format = text.contains(QLatin1Char('.')) ? QStringLiteral("H:mm:ss.zzz") : QStringLiteral("H:mm:ss");
    return QDateTime(day, QTime::fromString(text, format));
}

/// The seconds as "first-last" ("first" alone for one, "" for none); seconds that do not follow each other one by
/// one are listed in full, so a gap or a repeat shows.
QString span(const QList<QDateTime>& seconds)
{
    if (seconds.isEmpty())
        return {};
    bool contiguous = true;
    for (qsizetype i = 1; i < seconds.size(); ++i)
        contiguous = contiguous && seconds.at(i - 1).secsTo(seconds.at(i)) == 1;
    const auto shown = [](const QDateTime& second) { return second.time().toString(QStringLiteral("H:mm:ss")); };
    if (!contiguous) {
        QStringList all;
        for (const QDateTime& second : seconds)
            all << shown(second);
        return all.join(QLatin1Char(','));
    }
    if (seconds.size() == 1)
        return shown(seconds.constFirst());
    return shown(seconds.constFirst()) + QLatin1Char('-') + shown(seconds.constLast());
}

} // namespace

/// The one timing rule of the once-a-second ticks: which seconds each tick evaluates.
class TestTickSeconds : public QObject
{
    Q_OBJECT
private slots:
    void rule_data()
    {
        // Each tick is a clock reading; "!" in front: the tick's evaluation fails (the seconds are not marked),
        // "~" in front: the rule is reset before the tick. Each tick's seconds are given as span() writes them.
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("seconds");
        auto row = [](const char* name, const QStringList& ticks, const QStringList& seconds) {
            QTest::newRow(name) << ticks << seconds;
        };
        using L = QStringList;
        row("first tick: its own second only", L{ u"8:00:05.900"_s }, L{ u"8:00:05"_s });
        row("one tick a second", L{ u"8:00:00.100"_s, u"8:00:01.050"_s }, L{ u"8:00:00"_s, u"8:00:01"_s });
        row("two ticks in one second", L{ u"8:00:00.100"_s, u"8:00:00.990"_s }, L{ u"8:00:00"_s, QString() });
        row("a late tick catches up once", L{ u"8:00:00.300"_s, u"8:00:02.800"_s, u"8:00:03.100"_s },
            L{ u"8:00:00"_s, u"8:00:01-8:00:02"_s, u"8:00:03"_s });
        row("a minute late misses nothing", L{ u"7:59:00"_s, u"8:00:00"_s }, L{ u"7:59:00"_s, u"7:59:01-8:00:00"_s });
        row("later still: the last 60 s only", L{ u"7:58:00"_s, u"8:00:00"_s },
            L{ u"7:58:00"_s, u"7:59:01-8:00:00"_s });
        row("over midnight", L{ u"23:59:59"_s, u">0:00:01"_s }, L{ u"23:59:59"_s, u"0:00:00-0:00:01"_s });
        row("clock set back 3 s: nothing twice",
            L{ u"9:00:01"_s, u"8:59:58"_s, u"8:59:59"_s, u"9:00:00"_s, u"9:00:01"_s, u"9:00:02"_s },
            L{ u"9:00:01"_s, QString(), QString(), QString(), QString(), u"9:00:02"_s });
        row("clock set back 60 s still waits", L{ u"9:00:00"_s, u"8:59:00"_s, u"9:00:01"_s },
            L{ u"9:00:00"_s, QString(), u"9:00:01"_s });
        row("clock set back 61 s starts afresh", L{ u"9:00:00"_s, u"8:58:59"_s, u"8:59:00"_s },
            L{ u"9:00:00"_s, u"8:58:59"_s, u"8:59:00"_s });
        row("failed evaluation leaves the seconds due",
            L{ u"8:00:00"_s, u"!8:00:01"_s, u"!8:00:02"_s, u"8:00:03"_s, u"8:00:04"_s },
            L{ u"8:00:00"_s, u"8:00:01"_s, u"8:00:01-8:00:02"_s, u"8:00:01-8:00:03"_s, u"8:00:04"_s });
        row("a long failure keeps the last 60 s", L{ u"8:00:00"_s, u"!8:01:30"_s, u"8:01:31"_s },
            L{ u"8:00:00"_s, u"8:00:31-8:01:30"_s, u"8:00:32-8:01:31"_s });
        row("a failed first tick stays a first tick", L{ u"!8:00:00"_s, u"8:00:01"_s },
            L{ u"8:00:00"_s, u"8:00:01"_s });
        row("reset: the next tick is a first tick", L{ u"8:00:00"_s, u"~8:00:30"_s }, L{ u"8:00:00"_s, u"8:00:30"_s });
    }
    void rule()
    {
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, seconds);
        QCOMPARE(ticks.size(), seconds.size());
        TickSeconds rule;
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            QString tick = ticks.at(i);
            const bool fails = tick.startsWith(QLatin1Char('!'));
            if (tick.startsWith(QLatin1Char('~')))
                rule.reset();
            if (fails || tick.startsWith(QLatin1Char('~')))
                tick.remove(0, 1);
            const QList<QDateTime> due = rule.due(moment(tick));
            QCOMPARE(span(due), seconds.at(i));
            if (!fails)
                rule.markEvaluated(due);
        }
    }

    void skipped_data()
    {
        // The ticks as in rule(); the seconds left out before the last tick's own, as span() writes them.
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("skipped");
        auto row = [](const char* name, const QStringList& ticks, const QString& skipped) {
            QTest::newRow(name) << ticks << skipped;
        };
        using L = QStringList;
        row("first tick", L{ u"8:00:05"_s }, QString());
        row("one tick a second", L{ u"8:00:00"_s, u"8:00:01"_s }, QString());
        row("a minute late: all caught up", L{ u"7:59:00"_s, u"8:00:00"_s }, QString());
        row("61 s late: one second out", L{ u"7:58:59"_s, u"8:00:00.400"_s }, u"7:59:00"_s);
        row("an hour asleep", L{ u"7:00:00"_s, u"8:00:00"_s }, u"7:00:01-7:59:00"_s);
        row("asleep over midnight", L{ u"23:00:00"_s, u">0:30:00"_s }, u"23:00:01-0:29:00"_s);
        row("failed seconds out of reach", L{ u"8:00:00"_s, u"!8:01:00"_s, u"8:01:30"_s }, u"8:00:01-8:00:30"_s);
        row("clock set back 3 s", L{ u"9:00:01"_s, u"8:59:58"_s }, QString());
        row("clock set back 61 s", L{ u"9:00:00"_s, u"8:58:59"_s }, QString());
    }
    void skipped()
    {
        QFETCH(QStringList, ticks);
        QFETCH(QString, skipped);
        TickSeconds rule;
        for (qsizetype i = 0; i + 1 < ticks.size(); ++i) {
            QString tick = ticks.at(i);
            const bool fails = tick.startsWith(QLatin1Char('!'));
            const QList<QDateTime> due = rule.due(moment(fails ? tick.mid(1) : tick));
            if (!fails)
                rule.markEvaluated(due);
        }
        const TickSeconds::Span left = rule.skipped(rule.due(moment(ticks.constLast())));
        QList<QDateTime> seconds;
        for (QDateTime second = left.first; !left.isEmpty() && second <= left.last; second = second.addSecs(1))
            seconds.append(second);
        QCOMPARE(span(seconds), skipped);
    }

    void takeMarksWhatItGives()
    {
        TickSeconds rule;
        QCOMPARE(span(rule.take(moment(u"8:00:00.500"_s))), u"8:00:00"_s);
        QCOMPARE(span(rule.take(moment(u"8:00:00.900"_s))), QString());
        QCOMPARE(span(rule.take(moment(u"8:00:02.100"_s))), u"8:00:01-8:00:02"_s);
    }
};

QTEST_GUILESS_MAIN(TestTickSeconds)
#include "TestTickSeconds.moc"
