#include "CardSeed.h"
#include "CardWindows.h"
#include "TestEnvironment.h"
#include "storage/TableQueryModel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace CardSeed;

namespace {

QStringList listed(const Tfrmsetclass& w)
{
    QStringList names;
    for (int row = 0; row < w.DataSource1->rowCount(); ++row)
        names << w.DataSource1->data(w.DataSource1->index(row, 0)).toString();
    return names;
}

} // namespace

class TestCardCategories : public QObject
{
    Q_OBJECT
private slots:
    void listFollowsTheGrid();
    void addInsertsTheName();
    void emptyNameIsRefused_data();
    void emptyNameIsRefused();
    void cancelRefreshesOnlyAfterAdd_data();
    void cancelRefreshesOnlyAfterAdd();
    void renameCarriesIntoTheCards_data();
    void renameCarriesIntoTheCards();
    void deleteTakesTheCardsOfThatName_data();
    void deleteTakesTheCardsOfThatName();
    void emptyListChangesNothing();
    void closingRebuildsTheCardTree();
};

void TestCardCategories::listFollowsTheGrid()
{
    TestEnvironment env;
    addCategory(QStringLiteral("同事"));
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    w.setclass.show();
    QCOMPARE(listed(w.setclass), (QStringList{ QStringLiteral("同事"), QStringLiteral("朋友") }));
    QCOMPARE(w.setclass.DataSource1->headerData(0, Qt::Horizontal).toString(), QStringLiteral("分类列表"));
    QCOMPARE(w.setclass.DBEdit2->text(), QStringLiteral("同事"));
    w.setclass.DBGrid1->selectRow(1);
    QCOMPARE(w.setclass.DBEdit2->text(), QStringLiteral("朋友"));
    QCOMPARE(w.setclass.DBEdit1->text(), column(CardTables::selectCategories(), QStringLiteral("num")).at(1));
}

void TestCardCategories::addInsertsTheName()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    w.setclass.show();
    auto modal = whenModal([&](QWidget*) {
        QVERIFY(w.addclass.Edit1->text().isEmpty());
        w.addclass.Edit1->setText(QStringLiteral("O'Brien's"));
        w.addclass.Button1->click();
    });
    w.setclass.Button1->click();
    QCOMPARE(*modal, QStringLiteral("frmaddclass"));
    QVERIFY(!w.addclass.isVisible());
    QCOMPARE(listed(w.setclass), (QStringList{ QStringLiteral("朋友"), QStringLiteral("O'Brien's") }));
    QCOMPARE(categoryNames(), listed(w.setclass));
}

void TestCardCategories::emptyNameIsRefused_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("add") << false;
    QTest::newRow("rename") << true;
}

void TestCardCategories::emptyNameIsRefused()
{
    QFETCH(bool, rename);
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    w.setclass.show();
    bool stayedOpen = false;
    whenModal([&](QWidget* modal) {
        modal->findChild<QLineEdit*>(QStringLiteral("Edit1"))->clear();
        modal->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        stayedOpen = modal->isVisible();
    });
    (rename ? w.setclass.Button2 : w.setclass.Button1)->click();
    QVERIFY(stayedOpen);
    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("请 输 入 分 类 名 称!"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("提示"));
    QCOMPARE(categoryNames(), QStringList{ QStringLiteral("朋友") });
}

void TestCardCategories::cancelRefreshesOnlyAfterAdd_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("add re-reads the list") << false;
    QTest::newRow("rename does not") << true;
}

void TestCardCategories::cancelRefreshesOnlyAfterAdd()
{
    QFETCH(bool, rename);
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    w.setclass.show();
    addCategory(QStringLiteral("behind the list's back"));
    whenModal([](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("Button2"))->click(); });
    (rename ? w.setclass.Button2 : w.setclass.Button1)->click();
    QCOMPARE(listed(w.setclass).size(), rename ? 1 : 2);
    QCOMPARE(categoryNames().size(), 2);
}

void TestCardCategories::renameCarriesIntoTheCards_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::newRow("plain") << QStringLiteral("朋友") << QStringLiteral("好友");
    QTest::newRow("quotes") << QStringLiteral("O'Brien's") << QStringLiteral("x' or '1'='1");
    QTest::newRow("same name") << QStringLiteral("朋友") << QStringLiteral("朋友");
}

void TestCardCategories::renameCarriesIntoTheCards()
{
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    TestEnvironment env;
    addCategory(QStringLiteral("同事"));
    addCategory(oldName);
    addCard(oldName, QStringLiteral("张三"));
    addCard(QStringLiteral("同事"), QStringLiteral("李四"));
    addCard(oldName, QStringLiteral("王五"));
    CardWindows w;
    w.setclass.show();
    w.setclass.DBGrid1->selectRow(1);
    QStringList shown;
    whenModal([&](QWidget*) {
        shown << w.editclass.Edit1->text() << w.editclass.Edit3->text();
        w.editclass.Edit1->setText(newName);
        w.editclass.Button1->click();
    });
    w.setclass.Button2->click();
    QCOMPARE(shown, (QStringList{ oldName, oldName }));
    QCOMPARE(categoryNames(), (QStringList{ QStringLiteral("同事"), newName }));
    QCOMPARE(listed(w.setclass), categoryNames());
    QCOMPARE(cardClasses(), (QStringList{ newName, QStringLiteral("同事"), newName }));
}

void TestCardCategories::deleteTakesTheCardsOfThatName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("plain") << QStringLiteral("朋友") << true;
    QTest::newRow("quotes") << QStringLiteral("x' or '1'='1") << true;
    QTest::newRow("cancelled") << QStringLiteral("朋友") << false;
}

// With two categories of one name, deleting one takes the cards of both; the other category row stays.
void TestCardCategories::deleteTakesTheCardsOfThatName()
{
    QFETCH(QString, name);
    QFETCH(bool, confirm);
    TestEnvironment env;
    addCategory(name);
    addCategory(QStringLiteral("同事"));
    addCategory(name);
    addCard(name, QStringLiteral("张三"));
    addCard(QStringLiteral("同事"), QStringLiteral("李四"));
    CardWindows w;
    w.setclass.show();
    env.dialogs.setNextAnswer(confirm ? MsgAnswer::Ok : MsgAnswer::Cancel);
    w.setclass.Button3->click();
    QCOMPARE(env.dialogs.texts(), QStringList{ QStringLiteral("你确定要删除此分类，此分类下的数据也将被删除？") });
    QCOMPARE(env.dialogs.boxes.at(0).buttons, MsgButtons::OkCancel);
    if (confirm) {
        QCOMPARE(categoryNames(), (QStringList{ QStringLiteral("同事"), name }));
        QCOMPARE(cardNames(), QStringList{ QStringLiteral("李四") });
    } else {
        QCOMPARE(categoryNames().size(), 3);
        QCOMPARE(cardNames().size(), 2);
    }
    QCOMPARE(listed(w.setclass), categoryNames());
}

void TestCardCategories::emptyListChangesNothing()
{
    TestEnvironment env;
    addCard(QString(), QStringLiteral("张三"));
    CardWindows w;
    w.setclass.show();
    QVERIFY(!w.setclass.hasCurrent());
    auto modal = whenModal([](QWidget*) {});
    w.setclass.Button2->click();
    w.setclass.Button3->click();
    QCoreApplication::processEvents();
    QVERIFY(modal->isEmpty());
    QVERIFY(env.dialogs.boxes.isEmpty());
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
}

void TestCardCategories::closingRebuildsTheCardTree()
{
    TestEnvironment env;
    CardWindows w;
    w.card.RefreshCardTree();
    w.setclass.show();
    addCategory(QStringLiteral("朋友"));
    QVERIFY(treeLines(w.card.TreeView1).isEmpty());
    w.setclass.Button4->click();
    QVERIFY(!w.setclass.isVisible());
    QCOMPARE(treeLines(w.card.TreeView1), QStringList{ QStringLiteral("朋友") });
}

QTEST_MAIN(TestCardCategories)
#include "TestCardCategories.moc"
