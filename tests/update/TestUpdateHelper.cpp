// The replacement helper, run as the real executable against a temporary program folder with the stand-in program.
// Like the program does, each test puts the helper into a private folder with the list of the files it may install.

#include "UpdateTestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace UpdateTestSupport;

class TestUpdateHelper : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root; ///< holds the helper folders

    using Listed = QList<QPair<QString, QByteArray>>; ///< file names and the contents their hashes are taken from

    /// A helper folder as the program makes it: the helper and its install list, "<sha256> <name>" per line.
    QString prepareHelper(const Listed& listed)
    {
        static int count = 0;
        const QString folder = m_root.filePath(QStringLiteral("vantrel-update-%1").arg(++count));
        QDir().mkpath(folder);
        const QString helper = folder + QStringLiteral("/UpdateHelper");
        QFile::copy(QStringLiteral(UPDATE_HELPER_PATH), helper);
        QByteArray list;
        for (const auto& [name, content] : listed)
            list += QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex() + ' ' + name.toUtf8() + '\n';
        writeAll(folder + QStringLiteral("/install.list"), list);
        return helper;
    }

    /// Runs a helper prepared for `listed` to its end with the given arguments.
    int runHelper(const QStringList& arguments, const Listed& listed)
    {
        QProcess helper;
        helper.start(prepareHelper(listed), arguments);
        if (!helper.waitForFinished(30000))
            return -1;
        return helper.exitCode();
    }

private slots:
    void withoutArgumentsShowsOnlyItsInformation()
    {
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(QStringLiteral("notes.txt.uTMP")), "new"));
        const QString box = dir.filePath(QStringLiteral("box.txt"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANTREL_UPDATEHELPER_INFOBOX_FILE"), box);

        QProcess helper;
        helper.setProcessEnvironment(environment);
        helper.setWorkingDirectory(dir.path());
        helper.start(QStringLiteral(UPDATE_HELPER_PATH), {});
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitCode(), 0);

        QCOMPARE(QString::fromUtf8(readAll(box)),
                 QStringLiteral("Update helper v3.4\nSelf-updating helper of the "
                                "application updater.\nBrellan, www.brellan.example"));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("notes.txt.uTMP"))));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("notes.txt"))));
    }

    void installsAndRestarts_data()
    {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<bool>("splitAtBlanks");
        QTest::addColumn<QString>("restart");
        QTest::addColumn<QString>("expectedStart");

        QTest::newRow("plain path") << "app" << false << "+/afterupgrade0"
                                    << "vantrel|/afterupgrade";
        QTest::newRow("blanks and plus, one argument") << "my app+2 x" << false << "+/afterupgrade0"
                                                       << "vantrel|/afterupgrade";
        QTest::newRow("blanks and plus, split at blanks") << "my app+2 x" << true << "+/afterupgrade0"
                                                          << "vantrel|/afterupgrade";
        QTest::newRow("restart text with blanks") << "app" << false << "+/a /b0"
                                                  << "vantrel|/a|/b";
        QTest::newRow("no restart argument") << "app" << false << ""
                                             << "vantrel";
    }
    void installsAndRestarts()
    {
        QFETCH(QString, folderName);
        QFETCH(bool, splitAtBlanks);
        QFETCH(QString, restart);
        QFETCH(QString, expectedStart);

        QTemporaryDir root;
        const QString folder = root.filePath(folderName) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(folder));
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QVERIFY(writeAll(program + QStringLiteral(".uTMP"), standInImage("new")));
        QVERIFY(writeAll(folder + QStringLiteral("notes.txt"), "old notes"));
        QVERIFY(writeAll(folder + QStringLiteral("notes.txt.uTMP"), "new notes"));
        QVERIFY(writeAll(folder + QStringLiteral("fresh.dat.uTMP"), "fresh"));

        QStringList arguments = splitAtBlanks ? program.split(QLatin1Char(' ')) : QStringList{ program };
        if (!restart.isEmpty())
            arguments << restart;
        QCOMPARE(runHelper(arguments,
                           { { QStringLiteral("vantrel"), standInImage("new") },
                             { QStringLiteral("notes.txt"), "new notes" },
                             { QStringLiteral("fresh.dat"), "fresh" } }),
                 0);

        QCOMPARE(waitForStarts(folder, 1), QStringList{ expectedStart });
        QCOMPARE(readAll(program), standInImage("new"));
        QVERIFY(QFileInfo(program).isExecutable());
        QCOMPARE(readAll(folder + QStringLiteral("notes.txt")), QByteArray("new notes"));
        QCOMPARE(readAll(folder + QStringLiteral("fresh.dat")), QByteArray("fresh"));
        QCOMPARE(leftovers(folder), QStringList());
    }

    void waitsUntilTheProgramHasEnded()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QVERIFY(writeAll(program + QStringLiteral(".uTMP"), standInImage("new")));

        QProcess running;
        running.start(program, { QStringLiteral("--linger") });
        QVERIFY(running.waitForStarted());
        QProcess helper;
        helper.start(prepareHelper({ { QStringLiteral("vantrel"), standInImage("new") } }),
                     { program, QStringLiteral("+/afterupgrade0") });
        QVERIFY(helper.waitForStarted());

        QTest::qWait(1500);
        QCOMPARE(helper.state(), QProcess::Running);
        QCOMPARE(readAll(program), standInImage("old"));

        QVERIFY(writeAll(folder + QStringLiteral("quit"), ""));
        QVERIFY(running.waitForFinished(10000));
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(readAll(program), standInImage("new"));
        QCOMPARE(waitForStarts(folder, 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
    }

    void keepsWhatItCannotReplace()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        // A folder can't be replaced by a file, and a download named only ".uTMP" has no target at all.
        QVERIFY(QDir().mkpath(folder + QStringLiteral("data")));
        QVERIFY(writeAll(folder + QStringLiteral("data/time.db"), "table"));
        QVERIFY(writeAll(folder + QStringLiteral("data.uTMP"), "not a folder"));
        QVERIFY(writeAll(folder + QStringLiteral(".uTMP"), "nameless"));

        QCOMPARE(runHelper({ program, QStringLiteral("+/afterupgrade0") },
                           { { QStringLiteral("data"), "not a folder" }, { QString(), "nameless" } }),
                 0);

        QCOMPARE(waitForStarts(folder, 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(folder + QStringLiteral("data/time.db")), QByteArray("table"));
        QCOMPARE(leftovers(folder), (QStringList{ QStringLiteral(".uTMP"), QStringLiteral("data.uTMP") }));
        QCOMPARE(readAll(program), standInImage("old"));
    }

    void setupModeWithoutSetupFileEndsAfterStartingTheProgram()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QVERIFY(writeAll(program + QStringLiteral(".uTMP"), standInImage("new")));
        QVERIFY(writeAll(folder + QStringLiteral("setup.exe.uTMP"), standInImage("setup")));

        QCOMPARE(runHelper({ program, QStringLiteral("+/afterupgrade1") },
                           { { QStringLiteral("vantrel"), standInImage("new") },
                             { QStringLiteral("setup.exe"), standInImage("setup") } }),
                 0);

        // The program had its own update, so no setup is run: the program starts once and the helper is done.
        QCOMPARE(waitForStarts(folder, 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QTest::qWait(500);
        QCOMPARE(waitForStarts(folder, 1, 0).size(), 1);
        QCOMPARE(readAll(program), standInImage("new"));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("setup.exe")));
    }

    void setupModeRunsTheSetupThenTheProgram()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QVERIFY(writeAll(folder + QStringLiteral("setup.exe.uTMP"), standInImage("setup")));

        QCOMPARE(runHelper({ program, QStringLiteral("+/afterupgrade1") },
                           { { QStringLiteral("setup.exe"), standInImage("setup") } }),
                 0);

        QCOMPARE(waitForStarts(folder, 2),
                 (QStringList{ QStringLiteral("setup.exe|/afterupgrade"), QStringLiteral("vantrel|/afterupgrade") }));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("setup.exe")));
        QCOMPARE(readAll(program), standInImage("old"));
    }

    void installsOnlyListedFilesThatStillMatch()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("notes.txt"));
        QVERIFY(writeAll(victim, "my notes"));
        // Not on the list: a program cut off by an earlier crash, and an "exe" that once would have become the
        // program.
        QVERIFY(writeAll(program + QStringLiteral(".uTMP"), "cut off"));
        QVERIFY(writeAll(folder + QStringLiteral("notes.exe.uTMP"), "#!/bin/sh\n"));
        // On the list, but changed after its check; and a link in place of a download.
        QVERIFY(writeAll(folder + QStringLiteral("skin.skn.uTMP"), "changed"));
        QVERIFY(QFile::link(victim, folder + QStringLiteral("link.txt.uTMP")));
        QVERIFY(writeAll(folder + QStringLiteral("good.txt.uTMP"), "good"));

        const QString helper = prepareHelper({ { QStringLiteral("skin.skn"), "checked" },
                                               { QStringLiteral("link.txt"), "my notes" },
                                               { QStringLiteral("../escape.txt"), "x" },
                                               { QStringLiteral("good.txt"), "good" } });
        QProcess run;
        run.start(helper, { program, QStringLiteral("+/afterupgrade0") });
        QVERIFY(run.waitForFinished(30000));

        QCOMPARE(waitForStarts(folder, 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(program), standInImage("old"));
        QCOMPARE(readAll(folder + QStringLiteral("good.txt")), QByteArray("good"));
        for (const char* name : { "notes.exe", "skin.skn", "link.txt" })
            QVERIFY2(!QFileInfo::exists(folder + QLatin1String(name)), name);
        QCOMPARE(readAll(victim), QByteArray("my notes"));
        QCOMPARE(leftovers(folder),
                 (QStringList{ QStringLiteral("link.txt.uTMP"), QStringLiteral("notes.exe.uTMP"),
                               QStringLiteral("skin.skn.uTMP"), QStringLiteral("vantrel.uTMP") }));
        // Done, the helper clears its own folder.
        QVERIFY(!QFileInfo::exists(QFileInfo(helper).absolutePath()));
    }

    void withoutListInstallsNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const QString program = folder + QStringLiteral("vantrel");
        QVERIFY(installStandIn(program));
        QVERIFY(writeAll(program + QStringLiteral(".uTMP"), standInImage("new")));
        const QString helper = prepareHelper({});
        QFile::remove(QFileInfo(helper).absolutePath() + QStringLiteral("/install.list"));
        QProcess run;
        run.start(helper, { program, QStringLiteral("+/afterupgrade0") });
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(waitForStarts(folder, 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(program), standInImage("old"));
    }
};

QTEST_GUILESS_MAIN(TestUpdateHelper)
#include "TestUpdateHelper.moc"
