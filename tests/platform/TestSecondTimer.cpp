#include "platform/SecondTimer.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QtTest>

/// The shared once-a-second beat: when it comes, and what its timers see of each other.
class TestSecondTimer : public QObject
{
    Q_OBJECT
private slots:
    void waitsForTheTurnOfTheNextSecond_data()
    {
        QTest::addColumn<int>("msec");
        QTest::addColumn<int>("wait");
        QTest::newRow("at the turn") << 0 << 1020;
        QTest::newRow("a beat on time") << 20 << 1000;
        QTest::newRow("a beat a little late") << 35 << 985;
        QTest::newRow("a beat a little early stays out of its second") << 19 << 1001;
        QTest::newRow("started mid-second") << 500 << 520;
        QTest::newRow("started at the end of a second") << 999 << 21;
    }
    void waitsForTheTurnOfTheNextSecond()
    {
        QFETCH(int, msec);
        QFETCH(int, wait);
        QCOMPARE(SecondTimer::msecToNextBeat(msec), wait);
    }

    // Active timers tick on the same beat, in the order they were made; what a tick does to the others (stop one,
    // destroy one, start one) holds from that moment on.
    void timersShareTheBeat()
    {
        SecondTimer a;
        auto* b = new SecondTimer;
        SecondTimer c;
        SecondTimer d;
        QStringList log;
        QCOMPARE(a.interval(), 1000);
        QVERIFY(!a.isActive());

        connect(&a, &SecondTimer::timeout, this, [&] {
            log << QStringLiteral("a");
            if (log.size() == 1) {
                c.stop();
                delete b;
                d.start();
            }
        });
        connect(b, &SecondTimer::timeout, this, [&] { log << QStringLiteral("b"); });
        connect(&c, &SecondTimer::timeout, this, [&] { log << QStringLiteral("c"); });
        connect(&d, &SecondTimer::timeout, this, [&] { log << QStringLiteral("d"); });
        c.start();
        b->start();
        a.start();
        a.start(); // running already: no second subscription
        QTRY_VERIFY_WITH_TIMEOUT(log.size() >= 3, 5000);
        QCOMPARE(log.mid(0, 3).join(QLatin1Char(' ')), QStringLiteral("a d a"));
        QVERIFY(!c.isActive());
        QVERIFY(d.isActive());
    }

    // A tick that runs an event loop of its own is not entered again, and the other timers go on meanwhile.
    void aBusyTickHoldsUpOnlyItself()
    {
        SecondTimer slow;
        SecondTimer other;
        int slowTicks = 0;
        int nested = 0;
        int otherTicks = 0;
        bool inSlow = false;
        connect(&slow, &SecondTimer::timeout, this, [&] {
            if (inSlow)
                ++nested;
            ++slowTicks;
            if (slowTicks > 1)
                return;
            inSlow = true;
            QEventLoop loop;
            connect(&other, &SecondTimer::timeout, &loop, [&] {
                if (otherTicks >= 3)
                    loop.quit();
            });
            loop.exec();
            inSlow = false;
        });
        connect(&other, &SecondTimer::timeout, this, [&] { ++otherTicks; });
        slow.start();
        other.start();
        QTRY_VERIFY_WITH_TIMEOUT(slowTicks >= 2, 10000);
        QVERIFY(otherTicks >= 3);
        QCOMPARE(nested, 0);
    }
};

QTEST_GUILESS_MAIN(TestSecondTimer)
#include "TestSecondTimer.moc"
