#include "TestEnvironment.h"
#include "widgets/SkinTable.h"
#include "widgets/TSkinEngine.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

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
        QDialog window;
        window.show(); // polished before the engine is switched on
        TSkinEngine engine;
        engine.setSkinFile(env.path(QStringLiteral("skin/missing.skn")));
        QVERIFY(engine.SkinFile().isEmpty());
        QVERIFY(window.styleSheet().isEmpty()); // nothing shows before the engine is switched on
        engine.setActive(true);
        QVERIFY(!TSkinEngine::builtInSkin().isEmpty());
        QCOMPARE(window.styleSheet(), TSkinEngine::builtInSkin());

        const QString navy = QStringLiteral("QPushButton { color: navy; }");
        env.writeFile(QStringLiteral("skin/01.skn"), navy.toUtf8());
        engine.setSkinFile(env.path(QStringLiteral("skin/01.skn")));
        QCOMPARE(window.styleSheet(), navy);
        engine.setSkinFile(env.path(QStringLiteral("skin/02.skn"))); // missing: the current skin stays
        QCOMPARE(engine.SkinFile(), env.path(QStringLiteral("skin/01.skn")));
        QCOMPARE(engine.sheetInUse(), navy);
        QCOMPARE(window.styleSheet(), navy);

        engine.setActive(false);
        QVERIFY(engine.sheetInUse().isEmpty());
        QVERIFY(window.styleSheet().isEmpty());
    }

    // A window takes the skin before it is first shown or measured, and not before: the windows made at start and
    // kept hidden cost no skin. What belongs to a window never shown is skinned as it is about to show, with the
    // skin's sizes.
    void windowsTakeTheSkinAsTheyShow()
    {
        const QString sheet
            = QStringLiteral("QPushButton { color: #123456; padding: 30px; } QMenu::item { padding: 30px; }");
        TSkinEngine engine;
        TestEnvironment env;
        env.writeFile(QStringLiteral("skin/01.skn"), sheet.toUtf8());
        engine.setSkinFile(env.path(QStringLiteral("skin/01.skn")));
        engine.setActive(true);

        QDialog later;
        auto* button = new QPushButton(QStringLiteral("确定"), &later);
        QVERIFY(later.styleSheet().isEmpty()); // made, not shown
        later.show();
        QCOMPARE(later.styleSheet(), sheet);
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(0x12, 0x34, 0x56));

        // A message of a hidden window: laid out with the skin's sizes as it shows.
        QDialog hidden;
        QDialog message(&hidden);
        auto* ok = new QPushButton(QStringLiteral("确定"), &message);
        (new QVBoxLayout(&message))->addWidget(ok);
        message.show();
        QCOMPARE(hidden.styleSheet(), sheet);
        QVERIFY(message.styleSheet().isEmpty()); // it takes the skin from its window, not a second copy
        QCOMPARE(ok->palette().color(QPalette::ButtonText), QColor(0x12, 0x34, 0x56));
        QVERIFY2(ok->height() >= 60, qPrintable(QString::number(ok->height())));

        // A menu of a window never shown, polished and measured long before it pops up at the foot of the screen,
        // as a tray menu does: it must fit there with the skin's sizes.
        QWidget trayOwner;
        QMenu menu(&trayOwner);
        menu.addAction(QStringLiteral("打开电子钟"));
        const int plainHeight = menu.sizeHint().height();
        QVERIFY(trayOwner.styleSheet().isEmpty());
        const QRect screen = menu.screen()->geometry();
        menu.popup(QPoint(10, screen.bottom()));
        QCOMPARE(trayOwner.styleSheet(), sheet);
        QVERIFY2(menu.height() >= plainHeight + 40, qPrintable(QString::number(menu.height())));
        QVERIFY2(screen.contains(menu.geometry()), qPrintable(QString::number(menu.geometry().bottom())));
        menu.close();

        engine.setActive(false);
        for (QWidget* window : { static_cast<QWidget*>(&later), static_cast<QWidget*>(&hidden), &trayOwner })
            QVERIFY(window->styleSheet().isEmpty());
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
