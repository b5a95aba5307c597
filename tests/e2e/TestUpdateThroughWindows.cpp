// The whole update done by a person with the mouse and keyboard: "软件升级" → "升级" → "[&Y]是" → the wizard, served
// by a loopback server, until the replacement helper has installed the new program and started it again.

#include "LoopbackHttpServer.h"
#include "ProgramUnderTest.h"
#include "RealInput.h"
#include "SignedUpdates.h"
#include "UpdateScenario.h"
#include "UpdateTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace UpdateTestSupport;

namespace {

/// Everything the update server offers, made in one place: the information file naming each download with its size
/// and SHA-256, signed by the test's own key, and the downloads themselves. A download that stalls is sent a quarter
/// of the way and then stays open.
struct Release
{
    struct File
    {
        QString name;
        QByteArray bytes;
        bool stalls = false;
    };
    QList<File> files;
    QByteArray message = "新的皮肤";

    void publish(LoopbackHttpServer& server, const TestSigningKey& key) const
    {
        QList<Listed> listed;
        for (const File& file : files) {
            const QByteArray path = "/update/" + file.name.toUtf8();
            listed.append({ server.url(QString::fromUtf8(path)), file.bytes });
            if (file.stalls) {
                const QByteArray head
                    = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(file.bytes.size()) + "\r\n\r\n";
                const QByteArray part = file.bytes.left(file.bytes.size() / 4);
                server.route(path, [head, part](const LoopbackHttpServer::Request&) {
                    return LoopbackHttpServer::Answer{ head + part, false };
                });
            } else {
                server.route(path, LoopbackHttpServer::response(200, file.bytes));
            }
        }
        serveSigned(server, InfoPath, infoFile(listed, message), key);
    }
};

const QString kWizard = QStringLiteral("软件升级精灵");

bool visible(const QString& titlePattern)
{
    return !ProgramUnderTest::windows(titlePattern).isEmpty();
}

} // namespace

class TestUpdateThroughWindows : public QObject
{
    Q_OBJECT

private:
    TestSigningKey m_key;

    /// Starts the program against the server and clicks through to the wizard's downloads.
    void startUpdate(ProgramUnderTest& program, LoopbackHttpServer& server, QTemporaryDir& temp, int& copy)
    {
        copy = program.start({},
                             { QStringLiteral("VANTREL_UPDATE_URL=") + server.url(QString::fromLatin1(InfoPath)),
                               QStringLiteral("VANTREL_UPDATE_PUBLIC_KEY=") + m_key.publicKey(),
                               QStringLiteral("TMPDIR=") + temp.path(), QStringLiteral("LC_ALL=zh_CN.UTF-8"),
                               QStringLiteral("LANG=zh_CN.UTF-8") });
        const qint64 pid = program.pid(copy);
        QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
        QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("帮助Vantrel")), "its group");
        QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("软件升级")), "软件升级");
        QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("更新")), 10000).isEmpty(),
                 "更新 opens");
        QVERIFY2(
            RealInput::clickControl(pid, QStringLiteral("更新"), QStringLiteral("升级"), QStringLiteral("push button")),
            "升级");
        QVERIFY2(RealInput::clickControl(pid, kWizard, QStringLiteral("[&Y]是"), QStringLiteral("push button")),
                 "the question's [&Y]是");
    }

private slots:
    void finishedUpdateRestartsTheNewProgram_data()
    {
        QTest::addColumn<QString>("finish");
        QTest::newRow("[&O]确定 clicked") << QStringLiteral("click");
        QTest::newRow("Return pressed") << QStringLiteral("Return");
    }

    void finishedUpdateRestartsTheNewProgram()
    {
        QFETCH(QString, finish);
        QTemporaryDir temp;
        LoopbackHttpServer server;
        Release release;
        release.files
            = { { QStringLiteral("vantrel"), standInImage("new") }, { QStringLiteral("readme.txt"), "新的说明" } };
        release.publish(server, m_key);
        ProgramUnderTest program;
        int copy = -1;
        startUpdate(program, server, temp, copy);
        if (QTest::currentTestFailed())
            return;
        const qint64 pid = program.pid(copy);

        // Downloaded: the wizard says so and offers [&O]确定, while "更新" is still open under it.
        const QRect ok
            = RealInput::findControl(pid, kWizard, QStringLiteral("[&O]确定"), QStringLiteral("push button"), 30000);
        QVERIFY2(ok.isValid(), "the wizard reaches its finished state");
        QVERIFY(visible(ProgramUnderTest::titled(QStringLiteral("更新"))));
        QCOMPARE(leftovers(program.appDir()).size(), 2);
        if (finish == u"click")
            QVERIFY(RealInput::click(ok.center()));
        else
            QVERIFY(RealInput::key(QStringLiteral("Return")));

        QVERIFY2(
            ProgramUnderTest::waitFor([&] { return program.process(copy).state() == QProcess::NotRunning; }, 20000),
            "the program ends for the helper");
        QCOMPARE(waitForStarts(program.appDir(), 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(program.path(QStringLiteral("vantrel"))), standInImage("new"));
        QCOMPARE(program.readFile(QStringLiteral("readme.txt")), QByteArray("新的说明"));
        QCOMPARE(leftovers(program.appDir()), QStringList());
    }

    void cancelDuringTheDownloadAborts()
    {
        QTemporaryDir temp;
        LoopbackHttpServer server;
        Release release;
        release.files = { { QStringLiteral("vantrel"), QByteArray(64 * 1024, 'x'), true } };
        release.publish(server, m_key);
        ProgramUnderTest program;
        int copy = -1;
        startUpdate(program, server, temp, copy);
        if (QTest::currentTestFailed())
            return;
        const qint64 pid = program.pid(copy);

        QVERIFY2(
            RealInput::clickControl(pid, kWizard, QStringLiteral("[&C]取消"), QStringLiteral("push button"), 20000),
            "[&C]取消 takes the click during the download");
        // The wizard asks first; "是" aborts.
        QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("是"),
                                         QStringLiteral("push button")),
                 "the abort question");
        QVERIFY2(ProgramUnderTest::waitFor(
                     [] { return !visible(ProgramUnderTest::titled(QStringLiteral("软件升级精灵"))); }, 10000),
                 "the wizard closes");
        QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("Upgrade aborted")), 10000)
                      .isEmpty(),
                 "更新 reports the abort");
        QCOMPARE(program.process(copy).state(), QProcess::Running);
        QVERIFY(!QFileInfo::exists(program.path(QStringLiteral("started.txt"))));
    }
};

QTEST_GUILESS_MAIN(TestUpdateThroughWindows)
#include "TestUpdateThroughWindows.moc"
