#include "platform/linux/LinuxSingleInstance.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <thread>

/// One running copy per user, and the refused copy's way to bring that one back, which no other user can take.
class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void refusedCopyBringsTheRunningOneBack();
    void guardLivesOnlyWhereNoOneElseGetsIn_data();
    void guardLivesOnlyWhereNoOneElseGetsIn();

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
};

namespace {

int modeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace

void TestSingleInstance::init()
{
    m_runtime = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::setPermissions(m_runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
}

void TestSingleInstance::refusedCopyBringsTheRunningOneBack()
{
    LinuxSingleInstance running;
    QVERIFY(running.tryAcquire());
    int activations = 0;
    running.listenForActivation([&activations] { ++activations; });

    LinuxSingleInstance second;
    QVERIFY(!second.tryAcquire());
    // The refused copy waits for its request to be read; the running copy reads it from its event loop.
    std::thread refused([&second] { second.activateRunningCopy(); });
    QTRY_COMPARE_WITH_TIMEOUT(activations, 1, 5000);
    refused.join();

    // The socket is the user's alone.
    const QString socket = LinuxSingleInstance::socketPath();
    QVERIFY(socket.startsWith(m_runtime->path()));
    QCOMPARE(modeOf(socket) & 077, 0);
}

void TestSingleInstance::guardLivesOnlyWhereNoOneElseGetsIn_data()
{
    QTest::addColumn<bool>("runtimeIsPrivate");
    QTest::newRow("private runtime folder") << true;
    QTest::newRow("runtime folder open to others") << false;
}

void TestSingleInstance::guardLivesOnlyWhereNoOneElseGetsIn()
{
    QFETCH(bool, runtimeIsPrivate);
    if (!runtimeIsPrivate)
        QVERIFY(QFile::setPermissions(m_runtime->path(),
                                      QFile::permissions(m_runtime->path()) | QFile::ReadOther | QFile::ExeOther
                                          | QFile::ReadGroup | QFile::ExeGroup));
    const QString folder = LinuxSingleInstance::privateFolder();
    QVERIFY(!folder.isEmpty());
    QCOMPARE(folder == m_runtime->path(), runtimeIsPrivate);
    QCOMPARE(modeOf(folder) & 077, 0);
    QCOMPARE(QFileInfo(LinuxSingleInstance::lockFilePath()).absolutePath(), folder);
    QCOMPARE(QFileInfo(LinuxSingleInstance::socketPath()).absolutePath(), folder);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
