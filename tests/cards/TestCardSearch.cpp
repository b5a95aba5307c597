#include "CardSeed.h"
#include "CardWindows.h"
#include "TestEnvironment.h"
#include "storage/TableQueryModel.h"
#include "text/TextLines.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace CardSeed;

namespace {

Card sample(const QString& prefix)
{
    Card card;
    card.classify = QStringLiteral("没有的分类");
    for (const QString& column : Card::columns().mid(1))
        card.setValue(column, prefix + column);
    card.memo = CardTables::noteForTable(prefix + QStringLiteral("\n备注"));
    return card;
}

QStringList names(const TFrmCalendar& w)
{
    QStringList values;
    for (int row = 0; row < w.DataSource1->rowCount(); ++row)
        values << w.DataSource1->data(w.DataSource1->index(row, 1)).toString();
    return values;
}

} // namespace

class TestCardSearch : public QObject
{
    Q_OBJECT
private slots:
    void eachChoiceSearchesItsColumn_data();
    void eachChoiceSearchesItsColumn();
    void quotesInTheTextStayText();
    void emptyTextIsRefused();
    void detailsFollowTheGrid();
    void closingForgetsTheResult();
};

void TestCardSearch::eachChoiceSearchesItsColumn_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("column");
    const char* const captions[] = { "  姓名", "  网名", "  QQ", "  MSN", "  UC", "  手机", "  邮箱" };
    const char* const columns[] = { "name", "netname", "qq", "msn", "uc", "mobile", "email" };
    for (int i = 0; i < 7; ++i)
        QTest::newRow(columns[i]) << i << QString::fromUtf8(captions[i]) << QString::fromLatin1(columns[i]);
}

// The text matches the start of the chosen column only: "b" + column finds the second card and nothing else.
void TestCardSearch::eachChoiceSearchesItsColumn()
{
    QFETCH(int, choice);
    QFETCH(QString, caption);
    QFETCH(QString, column);
    TestEnvironment env;
    addCard(sample(QStringLiteral("a")));
    addCard(sample(QStringLiteral("b")));
    CardWindows w;
    w.calendar.show();
    auto* radio = w.calendar.findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(choice + 1));
    QCOMPARE(radio->text(), caption);
    radio->setChecked(true);
    w.calendar.Edit1->setText(QStringLiteral("b") + column);
    w.calendar.SpeedButton1->click();
    QCOMPARE(names(w.calendar), QStringList{ QStringLiteral("bname") });
    // Another column's text is no match here.
    w.calendar.Edit1->setText(QStringLiteral("b")
                              + (column == QLatin1String("tel") ? QStringLiteral("qq") : QStringLiteral("tel")));
    w.calendar.SpeedButton1->click();
    QVERIFY(names(w.calendar).isEmpty());
}

void TestCardSearch::quotesInTheTextStayText()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("O'Brien"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    CardWindows w;
    w.calendar.show();
    w.calendar.Edit1->setText(QStringLiteral("x' or '1'='1"));
    w.calendar.SpeedButton1->click();
    QVERIFY(names(w.calendar).isEmpty());
    w.calendar.Edit1->setText(QStringLiteral("O'"));
    w.calendar.SpeedButton1->click();
    QCOMPARE(names(w.calendar), QStringList{ QStringLiteral("O'Brien") });
}

void TestCardSearch::emptyTextIsRefused()
{
    TestEnvironment env;
    CardWindows w;
    w.calendar.show();
    w.calendar.SpeedButton1->click();
    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("请输入要查找的内容!"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("提示"));
    QCOMPARE(env.dialogs.boxes.at(0).icon, MsgIcon::Warning);
    QVERIFY(!w.calendar.Query1->isActive());
}

void TestCardSearch::detailsFollowTheGrid()
{
    TestEnvironment env;
    const Card first = sample(QStringLiteral("a"));
    Card second = sample(QStringLiteral("ab"));
    second.classify = QStringLiteral("朋友");
    addCard(first);
    addCard(second);
    CardWindows w;
    w.calendar.show();
    w.calendar.Edit1->setText(QStringLiteral("a"));
    w.calendar.SpeedButton1->click();
    QCOMPARE(names(w.calendar), (QStringList{ QStringLiteral("aname"), QStringLiteral("abname") }));
    QCOMPARE(w.calendar.DataSource1->headerData(11, Qt::Horizontal).toString(), QStringLiteral("备注"));

    const QList<Card> cards{ first, second };
    for (int row = 0; row < cards.size(); ++row) {
        const Card& card = cards.at(row);
        w.calendar.DBGrid1->selectRow(row);
        QStringList shown;
        for (QLineEdit* edit : std::as_const(w.calendar.DBEdits))
            shown << edit->text();
        QStringList expected;
        for (const QString& column : Card::columns().mid(0, 11))
            expected << card.value(column);
        QCOMPARE(shown, expected);
        QCOMPARE(w.calendar.DBMemo1->toPlainText(), withLineFeeds(card.memo));
    }
}

void TestCardSearch::closingForgetsTheResult()
{
    TestEnvironment env;
    addCard(sample(QStringLiteral("a")));
    CardWindows w;
    w.calendar.show();
    w.calendar.RadioButton3->setChecked(true);
    w.calendar.Edit1->setText(QStringLiteral("aqq"));
    w.calendar.SpeedButton1->click();
    QCOMPARE(names(w.calendar).size(), 1);
    w.calendar.SpeedButton2->click();
    QVERIFY(!w.calendar.isVisible());
    QVERIFY(!w.calendar.Query1->isActive());

    w.calendar.show();
    QVERIFY(w.calendar.RadioButton1->isChecked());
    QVERIFY(w.calendar.Edit1->text().isEmpty());
    QCOMPARE(w.calendar.DataSource1->rowCount(), 0);
    QVERIFY(w.calendar.DBEdits.at(1)->text().isEmpty());
    QVERIFY(w.calendar.DBMemo1->toPlainText().isEmpty());
}

QTEST_MAIN(TestCardSearch)
#include "TestCardSearch.moc"
