#include "CardSeed.h"
#include "TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QTest>

using namespace CardSeed;

class TestCardTables : public QObject
{
    Q_OBJECT
private slots:
    void hostileValuesStayOneLiteral_data();
    void hostileValuesStayOneLiteral();
    void hostileKeysTouchNoRow();
    void everySpellingReachesTheSameTable();
    void programFolderWithAQuote();
    void searchMatchesFromTheStart_data();
    void searchMatchesFromTheStart();
    void searchRefusesAForeignColumn();
    void noteKeepsCrLfInTheTable();
};

void TestCardTables::hostileValuesStayOneLiteral_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("always true") << QStringLiteral("x' or '1'='1");
    QTest::newRow("two quotes") << QStringLiteral("''");
    QTest::newRow("comment") << QStringLiteral("a'--");
    QTest::newRow("trailing quote") << QStringLiteral("x'");
}

// A name or category with quotes in it is stored, found, renamed and deleted as itself, and no other row moves.
void TestCardTables::hostileValuesStayOneLiteral()
{
    QFETCH(QString, value);
    TestEnvironment env;
    addCategory(value);
    addCategory(QStringLiteral("朋友"));
    addCard(value, value);
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));

    QCOMPARE(column(CardTables::selectCard(value, value), QStringLiteral("name")), QStringList{ value });
    QCOMPARE(column(CardTables::selectCardToModify(value, value), QStringLiteral("name")), QStringList{ value });
    QCOMPARE(column(CardTables::searchCards(QStringLiteral("name"), value), QStringLiteral("name")),
             QStringList{ value });

    TableQuery q;
    CardTables::setStatement(q, CardTables::renameCategoryOfCards(value));
    q.param(0).setAsString(value + QStringLiteral("2"));
    QCOMPARE(q.execSql(), 1);
    QCOMPARE(cardClasses(), (QStringList{ value + QStringLiteral("2"), QStringLiteral("朋友") }));

    CardTables::setStatement(q, CardTables::deleteCardsOfCategory(value + QStringLiteral("2")));
    QCOMPARE(q.execSql(), 1);
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
    QCOMPARE(categoryNames(), (QStringList{ value, QStringLiteral("朋友") }));
}

void TestCardTables::hostileKeysTouchNoRow()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    const QString key = QStringLiteral("1' or '1'='1");

    TableQuery q;
    for (const QString& statement : { CardTables::deleteCard(key), CardTables::deleteCategory(key) }) {
        CardTables::setStatement(q, statement);
        QCOMPARE(q.execSql(), 0);
    }
    for (const QString& statement : { CardTables::updateCard(key), CardTables::renameCategory(key) }) {
        CardTables::setStatement(q, statement);
        for (int i = 0; i < q.paramCount(); ++i)
            q.param(i).setAsString(QStringLiteral("changed"));
        QCOMPARE(q.execSql(), 0);
    }
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
    QCOMPARE(categoryNames(), QStringList{ QStringLiteral("朋友") });

    // The num as decimal text still reaches its row.
    const QString num = column(CardTables::selectAllCards(), QStringLiteral("num")).constFirst();
    CardTables::setStatement(q, CardTables::deleteCard(num));
    QCOMPARE(q.execSql(), 1);
}

void TestCardTables::everySpellingReachesTheSameTable()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    for (const QString& statement :
         { CardTables::selectCategories(), CardTables::selectCategoryList(), CardTables::refreshCategoryList() })
        QCOMPARE(column(statement, QStringLiteral("classify")), QStringList{ QStringLiteral("朋友") });
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    QCOMPARE(column(CardTables::selectCardNames(), QStringLiteral("name")), QStringList{ QStringLiteral("张三") });
    QCOMPARE(column(CardTables::selectCardNames(), QStringLiteral("classify")), QStringList{ QStringLiteral("朋友") });
    QCOMPARE(QDir(env.path(QStringLiteral("data"))).entryList(QDir::Files | QDir::NoDotAndDotDot),
             (QStringList{ QStringLiteral("card.db"), QStringLiteral("classify.db") }));
}

void TestCardTables::programFolderWithAQuote()
{
    TestEnvironment env;
    const QString folder = env.path(QStringLiteral("o'neil/"));
    QDir().mkpath(folder);
    AppPaths::setAppDir(folder);
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
    QVERIFY(QFile::exists(folder + QStringLiteral("data/card.db")));
}

void TestCardTables::searchMatchesFromTheStart_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    const QString mobile = QStringLiteral("mobile");
    QTest::newRow("prefix only") << mobile << QStringLiteral("13") << QStringList{ QStringLiteral("13800001111") };
    QTest::newRow("one blank is a search") << mobile << QStringLiteral(" ") << QStringList{ QStringLiteral(" 139") };
    QTest::newRow("percent is any run") << mobile << QStringLiteral("1%5") << QStringList{ QStringLiteral("1x5") };
    QTest::newRow("underscore is one character")
        << mobile << QStringLiteral("1_3") << QStringList{ QStringLiteral("123") };
    QTest::newRow("no match") << mobile << QStringLiteral("9") << QStringList{};
    QTest::newRow("Chinese prefix") << QStringLiteral("name") << QStringLiteral("张")
                                    << QStringList{ QStringLiteral("张三"), QStringLiteral("张四") };
    QTest::newRow("quote in the text") << QStringLiteral("name") << QStringLiteral("O'")
                                       << QStringList{ QStringLiteral("O'Brien") };
}

void TestCardTables::searchMatchesFromTheStart()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestEnvironment env;
    const QStringList mobiles{ QStringLiteral("13800001111"), QStringLiteral("0135"), QStringLiteral(" 139"),
                               QStringLiteral("123"), QStringLiteral("1x5") };
    const QStringList names{ QStringLiteral("张三"), QStringLiteral("小张"), QStringLiteral("张四"),
                             QStringLiteral("O'Brien"), QStringLiteral("李四") };
    for (int i = 0; i < mobiles.size(); ++i) {
        Card card;
        card.classify = QStringLiteral("没有的分类");
        card.name = names.at(i);
        card.mobile = mobiles.at(i);
        addCard(card);
    }
    QCOMPARE(CardSeed::column(CardTables::searchCards(column, text), column), found);
}

void TestCardTables::searchRefusesAForeignColumn()
{
    TestEnvironment env;
    QVERIFY_THROWS_EXCEPTION(AppError,
                             CardTables::searchCards(QStringLiteral("name like '%' or name"), QStringLiteral("x")));
}

void TestCardTables::noteKeepsCrLfInTheTable()
{
    QCOMPARE(CardTables::noteForTable(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
    QCOMPARE(CardTables::noteForTable(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
    QCOMPARE(CardTables::noteForTable(QStringLiteral("a\rb")), QStringLiteral("a\r\nb"));
}

QTEST_GUILESS_MAIN(TestCardTables)
#include "TestCardTables.moc"
