#include "TestEnvironment.h"
#include "widgets/SkinTable.h"
#include "widgets/TSkinEngine.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestSkinEngine : public QObject
{
    Q_OBJECT
private slots:
    void indexToFile_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        const char* names[]
            = { "蓝色幻想", "蓝蓝的天", "蓝蓝的海", "时尚天空", "银色天地", "黑白分明", "纯真年代", "蓝色的爱" };
        const char* files[] = { "05", "01", "03", "04", "06", "07", "02", "08" };
        for (int i = 0; i < 8; ++i) {
            QTest::addRow("%d", i) << i << QString::fromUtf8(names[i])
                                   << QStringLiteral("skin/%1.skn").arg(QString::fromLatin1(files[i]));
        }
        QTest::newRow("-1") << -1 << QString() << QString();
        QTest::newRow("8") << 8 << QString() << QString();
    }
    void indexToFile()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(SkinTable::fileForIndex(index), file);
        if (!name.isEmpty()) {
            QCOMPARE(SkinTable::names().at(index), name);
            QCOMPARE(SkinTable::fileForName(name), file);
        }
    }

    void activeWithoutFileUsesTheBuiltInSkin()
    {
        TestEnvironment env;
        TSkinEngine engine;
        engine.setSkinFile(env.path(QStringLiteral("skin/missing.skn")));
        QVERIFY(engine.SkinFile().isEmpty());
        QVERIFY(qApp->styleSheet().isEmpty()); // nothing shows before the engine is switched on
        engine.setActive(true);
        QVERIFY(!TSkinEngine::builtInSkin().isEmpty());
        QCOMPARE(qApp->styleSheet(), TSkinEngine::builtInSkin());

        env.writeFile(QStringLiteral("skin/01.skn"), "QPushButton { color: navy; }");
        engine.setSkinFile(env.path(QStringLiteral("skin/01.skn")));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPushButton { color: navy; }"));
        engine.setSkinFile(env.path(QStringLiteral("skin/02.skn"))); // missing: the current skin stays
        QCOMPARE(engine.SkinFile(), env.path(QStringLiteral("skin/01.skn")));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPushButton { color: navy; }"));

        engine.setActive(false);
        QVERIFY(qApp->styleSheet().isEmpty());
    }

    // Every shipped skin is in the program folder, differs from the others and is a style sheet Qt accepts.
    void shippedSkinsParse()
    {
        QDialog window;
        auto* button = new QPushButton(QStringLiteral("确定"), &window);
        Q_UNUSED(button);
        window.show();
        QSet<QByteArray> seen;
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("parse|style ?sheet"), QRegularExpression::CaseInsensitiveOption));
        for (int i = 0; i < 8; ++i) {
            const QString path = QStringLiteral(VANTREL_APP_DIR "/") + SkinTable::fileForIndex(i);
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QByteArray sheet = file.readAll();
            QVERIFY(!seen.contains(sheet));
            seen.insert(sheet);
            TSkinEngine engine;
            engine.setSkinFile(path);
            engine.setActive(true);
            window.grab(); // paint with the skin, so a broken sheet is reported now
        }
    }
};

QTEST_MAIN(TestSkinEngine)
#include "TestSkinEngine.moc"
