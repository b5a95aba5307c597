#include "platform/AppError.h"
#include "platform/linux/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestXdgAutostart : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path() + QStringLiteral("/config")));
    }
    void cleanup()
    {
        qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
        m_home.reset();
    }

    void entryIsWrittenAndRemoved()
    {
        const QString entry = m_home->path() + QStringLiteral("/config/autostart/vantrel888.desktop");
        QCOMPARE(XdgAutostart::entryPath(), entry);

        XdgAutostart autostart;
        autostart.enable(QStringLiteral("/opt/Vantrel/vantrel"));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nType=Application\n"));
        QVERIFY(text.contains("\nExec=\"/opt/Vantrel/vantrel\"\n"));

        autostart.disable();
        QVERIFY(!QFileInfo::exists(entry));
        autostart.disable(); // a missing entry is no error
    }

    void execQuotesThePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QStringLiteral("/opt/vantrel") << QStringLiteral("\"/opt/vantrel\"");
        QTest::newRow("blank and Chinese")
            << QStringLiteral("/home/张三/我的 程序/vantrel") << QStringLiteral("\"/home/张三/我的 程序/vantrel\"");
        QTest::newRow("quote, dollar, backtick")
            << QStringLiteral("/a\"b$c`d") << QStringLiteral("\"/a\\\\\"b\\\\$c\\\\`d\"");
        QTest::newRow("backslash") << QStringLiteral("/a\\b") << QStringLiteral("\"/a\\\\\\\\b\"");
        QTest::newRow("percent") << QStringLiteral("/100%/v") << QStringLiteral("\"/100%%/v\"");
        QTest::newRow("line break") << QStringLiteral("/a\nb") << QStringLiteral("\"/a\\nb\"");
    }
    void execQuotesThePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(XdgAutostart::execValue(path), exec);
    }

    void unwritableFolderThrows()
    {
        // A file where the autostart folder should be makes the folder impossible to create.
        QFile blocker(m_home->path() + QStringLiteral("/config/autostart"));
        QVERIFY(QDir().mkpath(m_home->path() + QStringLiteral("/config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        XdgAutostart autostart;
        QVERIFY_THROWS_EXCEPTION(AppError, autostart.enable(QStringLiteral("/opt/vantrel")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_savedConfigHome;
};

QTEST_GUILESS_MAIN(TestXdgAutostart)
#include "TestXdgAutostart.moc"
