#include "TestEnvironment.h"
#include "storage/Settings.h"

#include <QtTest>

#include <functional>

namespace {
using Read = std::function<QVariant(const Settings&)>;

/// Every key of the model, by the name the table of cases uses.
const QHash<QString, Read>& readers()
{
    static const QHash<QString, Read> all{
        { QStringLiteral("Autostart"), [](const Settings& s) { return QVariant(s.get(Settings::Autostart)); } },
        { QStringLiteral("ShowPlan"), [](const Settings& s) { return QVariant(s.get(Settings::ShowPlan)); } },
        { QStringLiteral("AutoClosePlan"), [](const Settings& s) { return QVariant(s.get(Settings::AutoClosePlan)); } },
        { QStringLiteral("Chime"), [](const Settings& s) { return QVariant(s.get(Settings::Chime)); } },
        { QStringLiteral("HideMain"), [](const Settings& s) { return QVariant(s.get(Settings::HideMain)); } },
        { QStringLiteral("Skin"), [](const Settings& s) { return QVariant(s.get(Settings::Skin)); } },
        { QStringLiteral("Appointed"), [](const Settings& s) { return QVariant(s.get(Settings::Appointed)); } },
        { QStringLiteral("Counting"), [](const Settings& s) { return QVariant(s.get(Settings::Counting)); } },
        { QStringLiteral("Date"), [](const Settings& s) { return QVariant(s.get(Settings::Date)); } },
        { QStringLiteral("DateText"), [](const Settings& s) { return QVariant(s.text(Settings::Date)); } },
        { QStringLiteral("Time"), [](const Settings& s) { return QVariant(s.get(Settings::Time)); } },
        { QStringLiteral("TimeText"), [](const Settings& s) { return QVariant(s.text(Settings::Time)); } },
        { QStringLiteral("RemainTime"), [](const Settings& s) { return QVariant(s.get(Settings::RemainTime)); } },
        { QStringLiteral("RemainTimeShown"),
          [](const Settings& s) { return QVariant(s.get(Settings::RemainTimeShown)); } },
        { QStringLiteral("Hint"), [](const Settings& s) { return QVariant(s.get(Settings::Hint)); } },
        { QStringLiteral("Missed"), [](const Settings& s) { return QVariant(s.get(Settings::Missed)); } },
        { QStringLiteral("LastAlive"), [](const Settings& s) { return QVariant(s.get(Settings::LastAlive)); } },
    };
    return all;
}
} // namespace

/// The table of keys: each key's section, name, default and encoding, read from a file written by hand.
class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void reads_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVariant>("value");
        const char* none = ""; // no helper.ini at all
        auto row = [](const char* name, const char* key, const char* file, const QVariant& value) {
            QTest::newRow(name) << QString::fromLatin1(key) << QByteArray(file) << value;
        };
        row("autostart missing", "Autostart", none, QVariant(true));
        row("autostart 0", "Autostart", "[system]\nautostart=0\n", QVariant(false));
        row("autostart 2 is off", "Autostart", "[system]\nautostart=2\n", QVariant(false));
        row("autostart word is its default", "Autostart", "[system]\nautostart=on\n", QVariant(true));
        row("show missing", "ShowPlan", none, QVariant(true));
        row("show 0", "ShowPlan", "[system]\nshow=0\n", QVariant(false));
        row("autoclose missing", "AutoClosePlan", none, QVariant(true));
        row("autoclose 0", "AutoClosePlan", "[system]\nautoclose=0\n", QVariant(false));
        row("clock missing", "Chime", none, QVariant(true));
        row("clock 0", "Chime", "[system]\nclock=0\n", QVariant(false));
        row("hide missing", "HideMain", none, QVariant(false));
        row("hide hexadecimal 1", "HideMain", "[system]\nhide=0x1\n", QVariant(true));
        row("hide word is its default", "HideMain", "[system]\nhide=ja\n", QVariant(false));
        row("hide in the wrong section", "HideMain", "[halt]\nhide=1\n", QVariant(false));
        row("skin missing", "Skin", none, QVariant(0));
        row("skin 6", "Skin", "[system]\nskin=6\n", QVariant(6));
        row("skin -1", "Skin", "[system]\nskin=-1\n", QVariant(-1));
        row("skin word", "Skin", "[system]\nskin=blue\n", QVariant(0));
        row("appoint missing", "Appointed", none, QVariant(false));
        row("appoint 1", "Appointed", "[halt]\nappoint=1\n", QVariant(true));
        row("remain missing", "Counting", none, QVariant(false));
        row("remain 1", "Counting", "[halt]\nremain=1\n", QVariant(true));
        row("hint missing", "Hint", none, QVariant(true));
        row("hint 0", "Hint", "[halt]\nhint=0\n", QVariant(false));
        row("count missing, for the countdown", "RemainTime", none, QVariant(10000));
        row("count missing, for the label", "RemainTimeShown", none, QVariant(1000000));
        row("count stored", "RemainTime", "[halt]\nremaintime=899\n", QVariant(899));
        row("count stored, for the label", "RemainTimeShown", "[halt]\nremaintime=899\n", QVariant(899));
        row("date", "Date", "[halt]\ndate=2026-12-10\n", QVariant(QDate(2026, 12, 10)));
        row("date unreadable", "Date", "[halt]\ndate=morgen\n", QVariant(QDate()));
        row("date text as stored", "DateText", "[halt]\ndate=morgen\n", QVariant(QStringLiteral("morgen")));
        row("date text missing", "DateText", none, QVariant(QString()));
        row("time", "Time", "[halt]\ntime=9:05:07\n", QVariant(QTime(9, 5, 7)));
        row("time unreadable", "Time", "[halt]\ntime=noon\n", QVariant(QTime()));
        row("time text as stored", "TimeText", "[halt]\ntime=9:05\n", QVariant(QStringLiteral("9:05")));
        row("missed missing", "Missed", none, QVariant(true));
        row("missed 0", "Missed", "[system]\nmissed=0\n", QVariant(false));
        row("lastalive missing", "LastAlive", none, QVariant(QDateTime()));
        row("lastalive names one second anywhere", "LastAlive", "[system]\nlastalive=2026-12-10T08:00:05+08:00\n",
            QVariant(QDateTime(QDate(2026, 12, 10), QTime(0, 0, 5), Qt::UTC).toLocalTime()));
        row("lastalive without offset is local", "LastAlive", "[system]\nlastalive=2026-12-10T08:00:05\n",
            QVariant(QDateTime(QDate(2026, 12, 10), QTime(8, 0, 5))));
        row("lastalive in the short formats is none", "LastAlive", "[system]\nlastalive=2026-12-10 8:00:05\n",
            QVariant(QDateTime()));
        row("lastalive unreadable", "LastAlive", "[system]\nlastalive=2026-12-32T08:00:05Z\n", QVariant(QDateTime()));
    }
    void reads()
    {
        QFETCH(QString, key);
        QFETCH(QByteArray, file);
        QFETCH(QVariant, value);
        if (!file.isEmpty())
            m_env->writeFile(QStringLiteral("helper.ini"), file);
        QVERIFY2(readers().contains(key), qPrintable(key));
        const QVariant read = readers().value(key)(Settings());
        QCOMPARE(read.typeId(), value.typeId());
        QCOMPARE(read, value);
    }

    // The settings window's "确定" writes the six values in this order, as 1/0 and the skin's index.
    void systemIsWrittenInOrder()
    {
        Settings settings;
        Settings::System values;
        values.autostart = false;
        values.hideMain = true;
        values.skin = -1;
        settings.setSystem(values);
        QCOMPARE(m_env->readFile(QStringLiteral("helper.ini")),
                 QByteArray("[system]\r\nautostart=0\r\nshow=1\r\nautoclose=1\r\nclock=1\r\nhide=1\r\nskin=-1\r\n"));
        const Settings::System back = settings.system();
        QCOMPARE(back.autostart, false);
        QCOMPARE(back.showPlan, true);
        QCOMPARE(back.hideMain, true);
        QCOMPARE(back.skin, -1);
    }

    void systemDefaultsAreTheKeysDefaults()
    {
        const Settings::System values = Settings().system();
        QCOMPARE(values.autostart, true);
        QCOMPARE(values.showPlan, true);
        QCOMPARE(values.autoClosePlan, true);
        QCOMPARE(values.chime, true);
        QCOMPARE(values.hideMain, false);
        QCOMPARE(values.skin, 0);
    }

    void halfKeysAreWrittenInTheirEncodings()
    {
        Settings settings;
        settings.set(Settings::Appointed, true);
        settings.set(Settings::Date, QDate(2026, 3, 7));
        settings.set(Settings::Time, QTime(9, 5, 0));
        settings.set(Settings::RemainTime, -11);
        QCOMPARE(m_env->readFile(QStringLiteral("helper.ini")),
                 QByteArray("[halt]\r\nappoint=1\r\ndate=2026-3-7\r\ntime=9:05:00\r\nremaintime=-11\r\n"));
    }

    // The hour a clock set back for the end of summer time shows twice: the moment keeps the two apart.
    void momentIsTheSameSecondInAnyZone()
    {
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        const QDateTime firstPass(QDate(2026, 10, 25), QTime(0, 30, 7), Qt::UTC); // 2:30:07 summer time
        Settings settings;
        for (const QDateTime& utc : { firstPass, firstPass.addSecs(3600) }) {
            settings.set(Settings::LastAlive, utc.toLocalTime().addMSecs(400));
            QCOMPARE(settings.get(Settings::LastAlive), utc);
            QCOMPARE(settings.get(Settings::LastAlive).time(), QTime(2, 30, 7));
        }
        QVERIFY(m_env->readFile(QStringLiteral("helper.ini")).contains("lastalive=2026-10-25T02:30:07+01:00\r\n"));
        if (zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
