#include "CardSeed.h"
#include "CardWindows.h"
#include "TestEnvironment.h"
#include "cards/CardFieldPanel.h"
#include "cards/VCard.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

using namespace CardSeed;
using namespace Qt::StringLiterals;

namespace {

/// The entries of a menu as shown, separators as empty texts.
QStringList entries(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* a : menu->actions())
        texts << (a->isSeparator() ? QString() : a->text());
    return texts;
}

Card named(const QString& classify, const QString& name)
{
    Card c;
    c.classify = classify;
    c.name = name;
    return c;
}

} // namespace

class TestVCardMenus : public QObject
{
    Q_OBJECT
private slots:
    void entriesFollowTheTextExport();
    void exportGoesThroughTheSaveDialog();
    void exportOfAnEmptyBookIsRefused();
    void cancelledDialogsDoNothing();
    void importGoesThroughTheOpenDialog_data();
    void importGoesThroughTheOpenDialog();
    void importCutsWhereTheEditorsDo();
};

void TestVCardMenus::entriesFollowTheTextExport()
{
    TestEnvironment env;
    CardWindows w;
    auto* data = w.card.MainMenu1->findChild<QMenu*>(u"N7"_s);
    QVERIFY(data);
    QCOMPARE(data->accessibleName(), u"数据管理"_s);
    QCOMPARE(entries(data),
             (QStringList{ u"数据库导出"_s, u"数据库导入"_s, QString(), u"另存为文本"_s, QString(), u"导出vCard…"_s,
                           u"导入vCard…"_s }));
    QCOMPARE(w.card.findChild<QAction*>(u"N19"_s), w.card.N19);
    QCOMPARE(w.card.findChild<QAction*>(u"N20"_s), w.card.N20);
    QCOMPARE(w.card.N19->text(), u"导出vCard…"_s);
    QCOMPARE(w.card.N20->text(), u"导入vCard…"_s);

    // The other menus and the tool bar stay as they were.
    QStringList menus;
    for (const QAction* a : w.card.MainMenu1->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{ u"  名片管理  "_s, u"数据管理"_s, u"  分类设置  "_s }));
    QStringList tools;
    for (const QToolButton* b : w.card.ToolBar1->findChildren<QToolButton*>())
        tools << b->toolTip();
    QCOMPARE(tools,
             (QStringList{ u"名片增加"_s, u"名片修改"_s, u"名片删除"_s, u"数据导出"_s, u"数据导入"_s, u"存为文本"_s,
                           u"分类设置"_s, u"关闭"_s }));
}

void TestVCardMenus::exportGoesThroughTheSaveDialog()
{
    TestEnvironment env;
    const QList<Card> cards{ named(u"朋友"_s, u"张三"_s), named(u"同事"_s, u"O'Brien"_s) };
    for (const Card& c : cards)
        addCard(c);
    QDir(env.path(u"bak"_s)).removeRecursively();
    const QString target = env.path(u"bak/名片.vcf"_s);
    env.dialogs.setNextFileName(target);
    CardWindows w;
    w.card.N19->trigger();

    QCOMPARE(env.dialogs.fileDialogs.size(), 1);
    const FileDialogOptions& o = env.dialogs.fileDialogs.at(0);
    QCOMPARE(o.title, u"导出vCard"_s);
    QCOMPARE(o.initialDir, env.path(u"bak/"_s));
    QVERIFY(QFileInfo(o.initialDir).isDir());
    QCOMPARE(o.fileName, u"名片.vcf"_s);
    QCOMPARE(o.defaultSuffix, u"vcf"_s);
    QVERIFY(o.filter.contains(u"*.vcf"_s));
    QVERIFY(o.confirmOverwrite);
    QCOMPARE(env.readFile(u"bak/名片.vcf"_s), VCard::write(cards));
    QCOMPARE(env.dialogs.texts(), QStringList{ u"已导出 2 张名片到："_s + target });
    QCOMPARE(env.dialogs.boxes.at(0).caption, u"信息提示"_s);
}

void TestVCardMenus::exportOfAnEmptyBookIsRefused()
{
    TestEnvironment env;
    CardWindows w;
    w.card.N19->trigger();
    QVERIFY(env.dialogs.fileDialogs.isEmpty());
    QCOMPARE(env.dialogs.texts(), QStringList{ u"当前状态没有任何记录，无需保存!"_s });
}

void TestVCardMenus::cancelledDialogsDoNothing()
{
    TestEnvironment env;
    addCard(named(u"朋友"_s, u"张三"_s));
    CardWindows w;
    w.card.N19->trigger();
    w.card.N20->trigger();
    QCOMPARE(env.dialogs.fileDialogs.size(), 2);
    QCOMPARE(env.dialogs.fileDialogs.at(1).title, u"导入vCard"_s);
    QCOMPARE(env.dialogs.fileDialogs.at(1).initialDir, env.path(u"bak/"_s));
    QVERIFY(env.dialogs.boxes.isEmpty());
    QVERIFY(QDir(env.path(u"bak"_s)).isEmpty());
    QCOMPARE(cardNames(), QStringList{ u"张三"_s });
}

void TestVCardMenus::importGoesThroughTheOpenDialog_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("tree");
    QTest::newRow("cards") << VCard::write({ named(u"朋友"_s, u"李四"_s), named(u"新分类"_s, u"王五"_s) })
                           << u"共导入 2 张名片。"_s << int(MsgIcon::Information)
                           << QStringList{ u"朋友"_s, u"朋友/李四"_s, u"朋友/张三"_s, u"新分类"_s, u"新分类/王五"_s };
    QTest::newRow("not a vCard") << QByteArray("hello") << u"所选文件不是vCard名片文件，没有导入任何名片。"_s
                                 << int(MsgIcon::Warning) << QStringList{ u"朋友"_s, u"朋友/张三"_s };
}

void TestVCardMenus::importGoesThroughTheOpenDialog()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(QStringList, tree);
    TestEnvironment env;
    addCategory(u"朋友"_s);
    addCard(named(u"朋友"_s, u"张三"_s));
    env.writeFile(u"bak/来自手机.vcf"_s, bytes);
    env.dialogs.setNextFileName(env.path(u"bak/来自手机.vcf"_s));
    CardWindows w;
    w.card.RefreshCardTree();
    w.card.N20->trigger();

    QCOMPARE(env.dialogs.texts(), QStringList{ message });
    QCOMPARE(int(env.dialogs.boxes.at(0).icon), icon);
    QCOMPARE(env.dialogs.boxes.at(0).buttons, MsgButtons::Ok);
    QCOMPARE(treeLines(w.card.TreeView1), tree);
}

void TestVCardMenus::importCutsWhereTheEditorsDo()
{
    // The import's limits are the editors' limits, field by field.
    TestEnvironment env;
    CardFieldPanel panel;
    const QList<GbkLineEdit*> edits{ panel.Edit1, panel.Edit2, panel.Edit3, panel.Edit4, panel.Edit5,
                                     panel.Edit6, panel.Edit7, panel.Edit8, panel.Edit9, panel.Edit10 };
    const QStringList columns = Card::columns().mid(1, 10);
    const QList<int> limits{ 8, 20, 15, 30, 15, 30, 15, 15, 30, 40 };
    for (int i = 0; i < edits.size(); ++i) {
        QCOMPARE(edits.at(i)->maxBytes(), limits.at(i));
        QCOMPARE(Card::byteLimit(columns.at(i)), limits.at(i));
    }
    QCOMPARE(panel.Memo1->maxBytes(), 100);
    QCOMPARE(Card::byteLimit(u"memo"_s), 100);
    QCOMPARE(Card::byteLimit(u"classify"_s), 0);
}

QTEST_MAIN(TestVCardMenus)
#include "TestVCardMenus.moc"
