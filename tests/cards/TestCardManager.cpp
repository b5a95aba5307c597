#include "CardSeed.h"
#include "CardWindows.h"
#include "TestEnvironment.h"
#include "cards/CardFieldPanel.h"
#include "cards/CardFiles.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"
#include "widgets/Images.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace CardSeed;

namespace {

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& category, const QString& name = {}, int nth = 0)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tree->topLevelItem(i);
        if (node->text(0) != category)
            continue;
        if (name.isEmpty())
            return node;
        for (int j = 0; j < node->childCount(); ++j) {
            if (node->child(j)->text(0) == name && nth-- == 0)
                return node->child(j);
        }
    }
    return nullptr;
}

QStringList details(const TFrmCard& w)
{
    QStringList values;
    for (QLineEdit* e :
         { w.Edit1, w.Edit2, w.Edit3, w.Edit4, w.Edit5, w.Edit6, w.Edit7, w.Edit8, w.Edit9, w.Edit10, w.Edit11 })
        values << e->text();
    values << w.Memo1->toPlainText();
    return values;
}

bool sameImage(const QIcon& icon, const QString& image)
{
    return icon.pixmap(32, 32).toImage() == Images::pixmap(image, QSize(32, 32)).toImage();
}

} // namespace

class TestCardManager : public QObject
{
    Q_OBJECT
private slots:
    void treeLists_data();
    void treeLists();
    void treeOrderIsTheCollation();
    void treeIconsAndCollapse();
    void selectionShowsDetails();
    void sameNameCardsShowTheFirstRow();
    void deleteRemovesOnlyTheShownCard_data();
    void deleteRemovesOnlyTheShownCard();
    void modifyLoadsAndSavesTheCard();
    void commandsNeedACardNode();
    void captionsAndCommands_data();
    void captionsAndCommands();
    void backupRefusesAnEmptyTable();
    void backupWritesTheChosenFile();
    void restoreReplacesTheTable();
    void restoreRefusesAForeignFile();
    void exportWritesAndOpensTheFile();
};

void TestCardManager::treeLists_data()
{
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<QStringList>("cards"); // "category|name"
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Chinese order by pinyin")
        << QStringList{ QStringLiteral("同事"), QStringLiteral("朋友"), QStringLiteral("家人") }
        << QStringList{ QStringLiteral("朋友|张三"), QStringLiteral("朋友|李四"), QStringLiteral("朋友|阿明") }
        << QStringList{ QStringLiteral("家人"),      QStringLiteral("朋友"),      QStringLiteral("朋友/阿明"),
                        QStringLiteral("朋友/李四"), QStringLiteral("朋友/张三"), QStringLiteral("同事") };
    QTest::newRow("card of a missing category is not listed")
        << QStringList{ QStringLiteral("朋友") }
        << QStringList{ QStringLiteral("朋友|张三"), QStringLiteral("旧分类|李四") }
        << QStringList{ QStringLiteral("朋友"), QStringLiteral("朋友/张三") };
    QTest::newRow("two categories of one name list the same cards")
        << QStringList{ QStringLiteral("朋友"), QStringLiteral("朋友") } << QStringList{ QStringLiteral("朋友|张三") }
        << QStringList{ QStringLiteral("朋友"), QStringLiteral("朋友/张三"), QStringLiteral("朋友"),
                        QStringLiteral("朋友/张三") };
    QTest::newRow("two cards of one name")
        << QStringList{ QStringLiteral("朋友") }
        << QStringList{ QStringLiteral("朋友|张三"), QStringLiteral("朋友|张三") }
        << QStringList{ QStringLiteral("朋友"), QStringLiteral("朋友/张三"), QStringLiteral("朋友/张三") };
    QTest::newRow("quotes in names") << QStringList{ QStringLiteral("x' or '1'='1") }
                                     << QStringList{ QStringLiteral("x' or '1'='1|O'Brien"), QStringLiteral("x|y") }
                                     << QStringList{ QStringLiteral("x' or '1'='1"),
                                                     QStringLiteral("x' or '1'='1/O'Brien") };
}

void TestCardManager::treeLists()
{
    QFETCH(QStringList, categories);
    QFETCH(QStringList, cards);
    QFETCH(QStringList, lines);
    TestEnvironment env;
    for (const QString& c : categories)
        addCategory(c);
    for (const QString& c : cards)
        addCard(c.section(QLatin1Char('|'), 0, 0), c.section(QLatin1Char('|'), 1));
    CardWindows w;
    w.card.RefreshCardTree();
    QCOMPARE(treeLines(w.card.TreeView1), lines);
}

void TestCardManager::treeOrderIsTheCollation()
{
    // Every level in the order of the zh_CN collation (case, digits, blanks and scripts mixed), and texts that
    // collate alike in table order.
    const QStringList names{ QStringLiteral("张三"), QStringLiteral("b"),    QStringLiteral("阿明"),
                             QStringLiteral("B"),    QStringLiteral("10"),   QStringLiteral("9"),
                             QStringLiteral("  "),   QStringLiteral("李四"), QStringLiteral("a b"),
                             QStringLiteral("ab"),   QStringLiteral("张三"), QStringLiteral("Ａ"),
                             QStringLiteral("A"),    QStringLiteral("長"),   QStringLiteral("长"),
                             QStringLiteral("é"),    QStringLiteral("e"),    QStringLiteral("") };
    const QStringList categories{ QStringLiteral("同事"), QStringLiteral("b组"), QStringLiteral("A组"),
                                  QStringLiteral("家人"), QStringLiteral("1组") };
    TestEnvironment env;
    for (const QString& c : categories)
        addCategory(c);
    for (const QString& n : names)
        addCard(QStringLiteral("家人"), n);
    CardWindows w;
    w.card.RefreshCardTree();

    const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    auto collated = [&collator](QStringList list) {
        std::stable_sort(list.begin(), list.end(),
                         [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
        return list;
    };
    QStringList top;
    for (int i = 0; i < w.card.TreeView1->topLevelItemCount(); ++i)
        top << w.card.TreeView1->topLevelItem(i)->text(0);
    QCOMPARE(top, collated(categories));
    const QTreeWidgetItem* family = findNode(w.card.TreeView1, QStringLiteral("家人"));
    QVERIFY(family);
    QStringList children;
    for (int i = 0; i < family->childCount(); ++i)
        children << family->child(i)->text(0);
    QCOMPARE(children, collated(names));
}

void TestCardManager::treeIconsAndCollapse()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCategory(QStringLiteral("空分类"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    CardWindows w;
    w.card.RefreshCardTree();
    QTreeWidgetItem* empty = findNode(w.card.TreeView1, QStringLiteral("空分类"));
    QVERIFY(empty);
    QCOMPARE(empty->childCount(), 0);
    QVERIFY(sameImage(empty->icon(0), QStringLiteral("card-category")));
    QVERIFY(sameImage(findNode(w.card.TreeView1, QStringLiteral("朋友"), QStringLiteral("张三"))->icon(0),
                      QStringLiteral("card-card")));

    w.card.TreeView1->expandAll();
    w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, QStringLiteral("朋友"), QStringLiteral("张三")));
    QCOMPARE(w.card.Edit2->text(), QStringLiteral("张三"));
    w.card.RefreshCardTree();
    QVERIFY(!findNode(w.card.TreeView1, QStringLiteral("朋友"))->isExpanded());
    QVERIFY(!w.card.TreeView1->currentItem());
    QVERIFY(w.card.Edit2->text().isEmpty());
}

void TestCardManager::selectionShowsDetails()
{
    TestEnvironment env;
    addCategory(QStringLiteral("O'Brien's"));
    Card card;
    card.classify = QStringLiteral("O'Brien's");
    card.name = QStringLiteral("x' or '1'='1");
    card.netname = QStringLiteral("net");
    card.qq = QStringLiteral("10001");
    card.msn = QStringLiteral("m@msn");
    card.uc = QStringLiteral("20002");
    card.email = QStringLiteral("e@x");
    card.mobile = QStringLiteral("13800001111");
    card.tel = QStringLiteral("010-1");
    card.home = QStringLiteral("http://h");
    card.address = QStringLiteral("北京");
    card.memo = CardTables::noteForTable(QStringLiteral("一\n二"));
    addCard(card);
    addCard(QStringLiteral("O'Brien's"), QStringLiteral("  "));
    CardWindows w;
    w.card.RefreshCardTree();

    w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, card.classify, card.name));
    QCOMPARE(details(w.card),
             (QStringList{ card.classify, card.name, card.netname, card.qq, card.msn, card.uc, card.email, card.mobile,
                           card.tel, card.home, card.address, QStringLiteral("一\n二") }));
    QCOMPARE(w.card.Edit12->text(), column(CardTables::selectAllCards(), QStringLiteral("num")).constFirst());
    QVERIFY(w.card.Edit12->isHidden());
    QVERIFY(w.card.Edit1->isReadOnly() && w.card.Memo1->isReadOnly());

    for (QTreeWidgetItem* node : { findNode(w.card.TreeView1, card.classify),
                                   findNode(w.card.TreeView1, card.classify, QStringLiteral("  ")) }) {
        w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, card.classify, card.name));
        w.card.TreeView1->setCurrentItem(node);
        QCOMPARE(details(w.card), QStringList(12, QString()));
        QVERIFY(w.card.Edit12->text().isEmpty());
    }
}

void TestCardManager::sameNameCardsShowTheFirstRow()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    for (const char* mobile : { "111", "222" }) {
        Card card;
        card.classify = QStringLiteral("朋友");
        card.name = QStringLiteral("张三");
        card.mobile = QString::fromLatin1(mobile);
        addCard(card);
    }
    CardWindows w;
    w.card.RefreshCardTree();
    for (int nth : { 0, 1 }) {
        w.card.TreeView1->setCurrentItem(
            findNode(w.card.TreeView1, QStringLiteral("朋友"), QStringLiteral("张三"), nth));
        QCOMPARE(w.card.Edit8->text(), QStringLiteral("111"));
    }
}

void TestCardManager::deleteRemovesOnlyTheShownCard_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("plain") << QStringLiteral("张三") << QStringLiteral("朋友") << true;
    QTest::newRow("quotes") << QStringLiteral("O'Brien") << QStringLiteral("x' or '1'='1") << true;
    QTest::newRow("cancelled") << QStringLiteral("张三") << QStringLiteral("朋友") << false;
}

void TestCardManager::deleteRemovesOnlyTheShownCard()
{
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(bool, confirm);
    TestEnvironment env;
    addCategory(category);
    addCard(category, name);
    addCard(category, QStringLiteral("李四"));
    CardWindows w;
    w.card.RefreshCardTree();
    w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, category, name));
    env.dialogs.setNextAnswer(confirm ? MsgAnswer::Ok : MsgAnswer::Cancel);
    w.card.DeleteCardClick();

    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("你确定要删除此条记录？"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("提示"));
    QCOMPARE(env.dialogs.boxes.at(0).buttons, MsgButtons::OkCancel);
    QCOMPARE(cardNames(),
             confirm ? QStringList{ QStringLiteral("李四") } : (QStringList{ name, QStringLiteral("李四") }));
    QCOMPARE(treeLines(w.card.TreeView1).size(), confirm ? 2 : 3);
}

void TestCardManager::modifyLoadsAndSavesTheCard()
{
    TestEnvironment env;
    const QString category = QStringLiteral("x' or '1'='1");
    addCategory(QStringLiteral("朋友"));
    addCategory(category);
    Card card;
    card.classify = category;
    card.name = QStringLiteral("O'Brien");
    card.mobile = QStringLiteral("111");
    card.memo = CardTables::noteForTable(QStringLiteral("一\n二"));
    addCard(card);
    addCard(category, QStringLiteral("李四"));
    CardWindows w;
    w.card.RefreshCardTree();
    w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, category, card.name));

    QStringList seen;
    bool stayedOpen = false;
    auto modal = whenModal([&](QWidget*) {
        CardFieldPanel* p = w.editcard.Panel1;
        seen << p->ComboBox1->currentText() << p->Edit1->text() << p->Edit7->text() << p->Memo1->toPlainText();
        for (int i = 0; i < p->ComboBox1->count(); ++i)
            seen << p->ComboBox1->itemText(i);
        p->Edit7->setText(QStringLiteral("222"));
        p->Edit1->setText(QStringLiteral("O'Bri Jr")); // the name field holds 8 bytes
        w.editcard.Button1->click();
        stayedOpen = w.editcard.isVisible();
    });
    w.card.ModifyCardClick();

    QCOMPARE(*modal, QStringLiteral("frmeditcard"));
    QCOMPARE(seen,
             (QStringList{ category, card.name, QStringLiteral("111"), QStringLiteral("一\n二"), QStringLiteral("朋友"),
                           category }));
    QVERIFY(stayedOpen);
    QCOMPARE(cardNames(), (QStringList{ QStringLiteral("O'Bri Jr"), QStringLiteral("李四") }));
    QCOMPARE(column(CardTables::selectAllCards(), QStringLiteral("mobile")).constFirst(), QStringLiteral("222"));
    QCOMPARE(column(CardTables::selectAllCards(), QStringLiteral("memo")).constFirst(), card.memo);
    QVERIFY(treeLines(w.card.TreeView1).contains(category + QStringLiteral("/O'Bri Jr")));

    // A num that is not a number changes nothing.
    w.editcard.Edit11->setText(QStringLiteral("1' or '1'='1"));
    w.editcard.Panel1->Edit1->setText(QStringLiteral("changed"));
    w.editcard.Button1Click();
    QVERIFY(!cardNames().contains(QStringLiteral("changed")));
}

void TestCardManager::commandsNeedACardNode()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("   "));
    CardWindows w;
    w.card.RefreshCardTree();
    w.editcard.Panel1->ComboBox1->addItem(QStringLiteral("left over"));
    for (QTreeWidgetItem* node :
         { static_cast<QTreeWidgetItem*>(nullptr), findNode(w.card.TreeView1, QStringLiteral("朋友")),
           findNode(w.card.TreeView1, QStringLiteral("朋友"), QStringLiteral("   ")) }) {
        w.card.TreeView1->setCurrentItem(node);
        auto modal = whenModal([](QWidget*) {});
        w.card.ModifyCardClick();
        w.card.DeleteCardClick();
        QCoreApplication::processEvents();
        QVERIFY(modal->isEmpty());
    }
    QVERIFY(env.dialogs.boxes.isEmpty());
    QCOMPARE(w.editcard.Panel1->ComboBox1->count(), 0);
    QCOMPARE(cardNames().size(), 1);
}

void TestCardManager::captionsAndCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opens");
    const QString add = QStringLiteral("frmaddcard");
    const QString modify = QStringLiteral("frmeditcard");
    const QString classes = QStringLiteral("frmsetclass");
    QTest::newRow("tool add") << "ToolButton1" << QStringLiteral("名片增加") << add;
    QTest::newRow("tool modify") << "ToolButton2" << QStringLiteral("名片修改") << modify;
    QTest::newRow("tool delete") << "ToolButton3" << QStringLiteral("名片删除") << QString();
    QTest::newRow("tool backup") << "ToolButton5" << QStringLiteral("数据导出") << QString();
    QTest::newRow("tool restore") << "ToolButton6" << QStringLiteral("数据导入") << QString();
    QTest::newRow("tool text") << "ToolButton7" << QStringLiteral("存为文本") << QString();
    QTest::newRow("tool classes") << "ToolButton9" << QStringLiteral("分类设置") << classes;
    QTest::newRow("tool close") << "ToolButton11" << QStringLiteral("关闭") << QString();
    QTest::newRow("menu add") << "N2" << QStringLiteral("添加名片") << add;
    QTest::newRow("menu modify") << "N3" << QStringLiteral("修改名片") << modify;
    QTest::newRow("menu delete") << "N4" << QStringLiteral("删除名片") << QString();
    QTest::newRow("menu close") << "N6" << QStringLiteral("关    闭") << QString();
    QTest::newRow("menu backup") << "N8" << QStringLiteral("数据库导出") << QString();
    QTest::newRow("menu restore") << "N9" << QStringLiteral("数据库导入") << QString();
    QTest::newRow("menu text") << "N11" << QStringLiteral("另存为文本") << QString();
    QTest::newRow("menu classes") << "N13" << QStringLiteral("名片分类") << classes;
    QTest::newRow("pop-up add") << "N14" << QStringLiteral("增  加") << add;
    QTest::newRow("pop-up modify") << "N16" << QStringLiteral("修  改") << modify;
    QTest::newRow("pop-up delete") << "N18" << QStringLiteral("删  除") << QString();
}

// Every command has its caption or hint, and the ones that open a window open the right one.
void TestCardManager::captionsAndCommands()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, opens);
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    CardWindows w;
    w.card.show();
    w.card.TreeView1->setCurrentItem(findNode(w.card.TreeView1, QStringLiteral("朋友"), QStringLiteral("张三")));
    QCOMPARE(w.card.StatusPanel1->text(), QStringLiteral("我的名片Vantrel  "));
    QCOMPARE(w.card.windowTitle(), QStringLiteral("名片管理"));

    auto modal = whenModal([](QWidget*) {});
    if (auto* button = w.card.findChild<QToolButton*>(control)) {
        QCOMPARE(button->toolTip(), text);
        QCOMPARE(button->accessibleName(), text);
        if (!opens.isEmpty())
            button->click();
    } else {
        auto* action = w.card.findChild<QAction*>(control);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        if (!opens.isEmpty())
            action->trigger();
    }
    QCoreApplication::processEvents();
    QCOMPARE(*modal, opens);
    w.card.close();
}

void TestCardManager::backupRefusesAnEmptyTable()
{
    TestEnvironment env;
    CardWindows w;
    w.card.BackupClick();
    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("当前状态没有任何记录，无需保存!"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("信息提示"));
    QCOMPARE(env.dialogs.boxes.at(0).icon, MsgIcon::Question);
    QVERIFY(env.dialogs.fileDialogs.isEmpty());
}

void TestCardManager::backupWritesTheChosenFile()
{
    TestEnvironment env;
    env.clock.set(QDateTime(QDate(2026, 3, 7), QTime(9, 30)));
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    QDir(env.path(QStringLiteral("bak"))).removeRecursively();
    const QString target = env.path(QStringLiteral("bak/名片数据[20260307].Dat"));
    env.dialogs.setNextFileName(target);
    CardWindows w;
    w.card.BackupClick();

    QCOMPARE(env.dialogs.fileDialogs.size(), 1);
    const FileDialogOptions& o = env.dialogs.fileDialogs.at(0);
    QCOMPARE(o.title, QStringLiteral("保存数据"));
    QCOMPARE(o.initialDir, env.path(QStringLiteral("bak/")));
    QCOMPARE(o.fileName, QStringLiteral("名片数据[20260307].Dat"));
    QCOMPARE(o.defaultSuffix, QStringLiteral("Dat"));
    QVERIFY(o.filter.contains(QStringLiteral("名片通信录数据库")) && o.filter.contains(QStringLiteral("*.Dat")));
    QVERIFY(o.confirmOverwrite);
    QVERIFY(QFileInfo(env.path(QStringLiteral("bak"))).isDir());
    QVERIFY(CardFiles::isCardTable(target));
    QVERIFY(env.dialogs.boxes.isEmpty());
    QCOMPARE(treeLines(w.card.TreeView1).size(), 2);
}

void TestCardManager::restoreReplacesTheTable()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    const QString backup = env.path(QStringLiteral("bak/saved.Dat"));
    CardFiles::backup(backup);
    addCard(QStringLiteral("朋友"), QStringLiteral("李四"));
    CardWindows w;
    w.card.RefreshCardTree();

    // Cancel at the warning: no dialog, nothing restored.
    env.dialogs.setNextAnswer(MsgAnswer::Cancel);
    w.card.RestoreClick();
    QVERIFY(env.dialogs.fileDialogs.isEmpty());
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("恢复数据库会覆盖当前所有记录，\r\r你确认要恢复存档数据吗?"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("警告提示"));
    QCOMPARE(env.dialogs.boxes.at(0).buttons, MsgButtons::OkCancel);

    env.dialogs.boxes.clear();
    env.dialogs.setNextFileName(backup);
    w.card.RestoreClick();
    QCOMPARE(env.dialogs.fileDialogs.at(0).title, QStringLiteral("恢复数据"));
    QCOMPARE(env.dialogs.fileDialogs.at(0).initialDir, env.path(QStringLiteral("bak/")));
    QCOMPARE(env.dialogs.boxes.size(), 2);
    QCOMPARE(env.dialogs.boxes.at(1).text, QStringLiteral("成功读入：") + backup + QStringLiteral("!"));
    QCOMPARE(env.dialogs.boxes.at(1).caption, QStringLiteral("信息提示"));
    QCOMPARE(env.dialogs.boxes.at(1).icon, MsgIcon::Information);
    QCOMPARE(treeLines(w.card.TreeView1), (QStringList{ QStringLiteral("朋友"), QStringLiteral("朋友/张三") }));
}

void TestCardManager::restoreRefusesAForeignFile()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    env.writeFile(QStringLiteral("bak/notes.Dat"), "张三 13800001111\r\n");
    env.dialogs.setNextFileName(env.path(QStringLiteral("bak/notes.Dat")));
    CardWindows w;
    w.card.RestoreClick();
    QCOMPARE(env.dialogs.boxes.size(), 2);
    QCOMPARE(env.dialogs.boxes.at(1).text, QStringLiteral("读入失败，请检查是否文件损坏！"));
    QCOMPARE(env.dialogs.boxes.at(1).caption, QStringLiteral("错误提示"));
    QCOMPARE(env.dialogs.boxes.at(1).icon, MsgIcon::Error);
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
    QCOMPARE(treeLines(w.card.TreeView1).size(), 2);
}

void TestCardManager::exportWritesAndOpensTheFile()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    CardWindows w;
    w.card.ExportTextClick();
    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text,
             QStringLiteral("已成功导出文本文件:Card.Txt(与执行程序同目录)!\r\r          也可以另存到其它的地方。"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("信息提示"));
    QCOMPARE(env.dialogs.boxes.at(0).icon, MsgIcon::Information);
    QCOMPARE(env.shell.opened, QStringList{ env.path(QStringLiteral("Card.txt")) });
    QVERIFY(env.readFile(QStringLiteral("Card.txt")).endsWith("\t\r\n"));
}

QTEST_MAIN(TestCardManager)
#include "TestCardManager.moc"
