#include "ProgramWindows.h"
#include "TFrmMain.h"
#include "TFrmSystemset.h"
#include "TFrmabout.h"
#include "TestEnvironment.h"
#include "cards/TFrmCalendar.h"
#include "cards/TFrmCard.h"
#include "cards/Tfrmsetclass.h"
#include "reminders/TFrmAlarm.h"
#include "update/TFrmUpdate.h"
#include "widgets/Images.h"
#include "widgets/SkinTable.h"
#include "widgets/TSkinEngine.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

// Hidden windows are polished, and get their pictures, only when first shown. What a person sees then must be what
// a window styled and drawn at once would show, also when the skin changed while the window was hidden.
class TestDeferredLoading : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_windows = std::make_unique<ProgramWindows>();
        QCoreApplication::processEvents(); // the turn of the loop that polishes new widgets
    }
    void cleanup()
    {
        m_windows.reset();
        m_env.reset();
    }

    void firstShowLooksAsIfStyledAtOnce_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("skinChangedWhileHidden");
        for (const char* window : { "about", "update", "settings", "reminders", "cards" }) {
            QTest::addRow("%s", window) << QString::fromLatin1(window) << false;
            QTest::addRow("%s, skin changed while hidden", window) << QString::fromLatin1(window) << true;
        }
    }

    void firstShowLooksAsIfStyledAtOnce()
    {
        QFETCH(QString, window);
        QFETCH(bool, skinChangedWhileHidden);
        QWidget* shown = windowNamed(window);
        QVERIFY(!shown->isVisible());
        if (skinChangedWhileHidden) {
            TSkinEngine& skin = *m_windows->window<TFrmMain>().SkinEngine1;
            skin.setSkinFile(QStringLiteral(VANTREL_APP_DIR) + QLatin1Char('/') + SkinTable::fileForIndex(3));
            QVERIFY(skin.SkinFile().endsWith(SkinTable::fileForIndex(3)));
        }

        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QImage deferred = shown->grab().toImage();

        // Restyle every widget of the window from scratch and draw again: nothing may change.
        QVERIFY(!shown->styleSheet().isEmpty());
        shown->setStyleSheet(shown->styleSheet() + QStringLiteral(" "));
        QCoreApplication::processEvents();
        QCOMPARE(shown->grab().toImage(), deferred);
        shown->hide();
    }

    void picturesAreInPlaceWhenFirstShown_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("size");
        QTest::newRow("about") << QStringLiteral("about") << QSize(64, 200);
        QTest::newRow("update") << QStringLiteral("update") << QSize(81, 169);
    }

    void picturesAreInPlaceWhenFirstShown()
    {
        QFETCH(QString, window);
        QFETCH(QSize, size);
        QWidget* shown = windowNamed(window);
        auto* picture = shown->findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(picture);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(picture->pixmap().size(), size);
        QImage blank(size, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        QVERIFY(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) != blank);
        // Shown again later, it keeps the same picture.
        const qint64 key = picture->pixmap().cacheKey();
        shown->hide();
        shown->show();
        QCOMPARE(picture->pixmap().cacheKey(), key);
        shown->hide();
    }

    // A grid's column titles are measured and shown only with the grid; the rows then start right below them.
    void gridTitlesAppearWhenFirstShown_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : { "reminders", "calendar", "classes" })
            QTest::addRow("%s", window) << QString::fromLatin1(window);
    }

    void gridTitlesAppearWhenFirstShown()
    {
        QFETCH(QString, window);
        QWidget* shown = windowNamed(window);
        auto* grid = shown->findChild<QTableView*>(QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        for (int showing = 0; showing < 2; ++showing) {
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            const QHeaderView* titles = grid->horizontalHeader();
            QVERIFY(titles->isVisible());
            QVERIFY(titles->height() >= titles->fontMetrics().height());
            QCOMPARE(titles->geometry().top(), grid->viewport()->geometry().top() - titles->height());
            QCOMPARE(titles->geometry().width(), grid->viewport()->width());
            shown->hide();
        }
    }

    // The shared icons draw each size when asked, and give what a picture of that size drawn at once gives.
    void iconsMatchTheirPictures()
    {
        TFrmMain& main = m_windows->window<TFrmMain>();
        const QIcon icon = main.BtnAlarmList->icon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize>{ { 16, 16 }, { 32, 32 }, { 48, 48 } }));
        for (const int side : { 16, 32, 48 })
            QCOMPARE(icon.pixmap(side, side).toImage(),
                     Images::pixmap(QStringLiteral("nav-alarm"), QSize(side, side)).toImage());
        // A size in between is the next larger picture scaled down, as with an icon made of the three pictures.
        QIcon eager;
        for (const int side : { 16, 32, 48 })
            eager.addPixmap(Images::pixmap(QStringLiteral("nav-alarm"), QSize(side, side)));
        for (const int side : { 22, 24, 40, 64 }) {
            QCOMPARE(icon.actualSize(QSize(side, side)), eager.actualSize(QSize(side, side)));
            QCOMPARE(icon.pixmap(side, side).toImage(), eager.pixmap(side, side).toImage());
            QCOMPARE(icon.pixmap(side, side, QIcon::Disabled).toImage(),
                     eager.pixmap(side, side, QIcon::Disabled).toImage());
        }
    }

private:
    QWidget* windowNamed(const QString& name) const
    {
        if (name == QLatin1String("about"))
            return &m_windows->window<TFrmabout>();
        if (name == QLatin1String("update"))
            return &m_windows->window<TFrmUpdate>();
        if (name == QLatin1String("settings"))
            return &m_windows->window<TFrmSystemset>();
        if (name == QLatin1String("reminders"))
            return &m_windows->window<TFrmAlarm>();
        if (name == QLatin1String("calendar"))
            return &m_windows->window<TFrmCalendar>();
        if (name == QLatin1String("classes"))
            return &m_windows->window<Tfrmsetclass>();
        return &m_windows->window<TFrmCard>();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ProgramWindows> m_windows;
};

QTEST_MAIN(TestDeferredLoading)
#include "TestDeferredLoading.moc"
