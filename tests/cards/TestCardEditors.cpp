#include "CardSeed.h"
#include "CardWindows.h"
#include "TestEnvironment.h"
#include "cards/CardFieldPanel.h"
#include "text/Gbk.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace CardSeed;

namespace {

void commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
}

QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    // The category box takes the focus through its line edit.
    if (w && qobject_cast<QComboBox*>(w->parentWidget()))
        w = w->parentWidget();
    return w ? w->objectName() : QString();
}

void showActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestCardEditors : public QObject
{
    Q_OBJECT
private slots:
    void fieldLimitsCountGbkBytes_data();
    void fieldLimitsCountGbkBytes();
    void nameHoldsFourChineseCharacters();
    void noteLineBreaksCountTwoBytes();
    void enterMovesAlongTheFields();
    void tabOrderRunsDownThenToTheButtons();
    void addSavesAndStaysOpenForTheNext();
    void addWithNoCategories();
    void addKeepsATypedCategory();
    void modifyRefusesAnEmptyName();
};

void TestCardEditors::fieldLimitsCountGbkBytes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("maxBytes");
    const struct
    {
        const char* field;
        int max;
    } rows[] = { { "Edit1", 8 },  { "Edit2", 20 }, { "Edit3", 15 }, { "Edit4", 30 },  { "Edit5", 15 }, { "Edit6", 30 },
                 { "Edit7", 15 }, { "Edit8", 15 }, { "Edit9", 30 }, { "Edit10", 40 }, { "Memo1", 100 } };
    for (const auto& r : rows)
        QTest::newRow(r.field) << QString::fromLatin1(r.field) << r.max;
}

void TestCardEditors::fieldLimitsCountGbkBytes()
{
    QFETCH(QString, field);
    QFETCH(int, maxBytes);
    TestEnvironment env;
    CardWindows w;
    for (QDialog* window : { static_cast<QDialog*>(&w.addcard), static_cast<QDialog*>(&w.editcard) }) {
        QWidget* input = window->findChild<QWidget*>(field);
        QVERIFY(input);
        QTest::keyClicks(input, QString(maxBytes + 3, QLatin1Char('7')));
        const QString text = qobject_cast<QLineEdit*>(input) ? qobject_cast<QLineEdit*>(input)->text()
                                                             : qobject_cast<GbkTextEdit*>(input)->toPlainText();
        QCOMPARE(Gbk::byteLength(text, true), maxBytes);
    }
}

void TestCardEditors::nameHoldsFourChineseCharacters()
{
    TestEnvironment env;
    CardWindows w;
    GbkLineEdit* name = w.addcard.Panel1->Edit1;
    commit(name, QStringLiteral("张三李四"));
    QCOMPARE(name->text(), QStringLiteral("张三李四"));
    commit(name, QStringLiteral("a"));
    QCOMPARE(name->text(), QStringLiteral("张三李四"));

    name->setText(QStringLiteral("abcdefg"));
    name->setCursorPosition(7);
    commit(name, QStringLiteral("王"));
    QCOMPARE(name->text(), QStringLiteral("abcdefg"));
}

void TestCardEditors::noteLineBreaksCountTwoBytes()
{
    TestEnvironment env;
    CardWindows w;
    GbkTextEdit* memo = w.addcard.Panel1->Memo1;
    QTest::keyClicks(memo, QString(97, QLatin1Char('x')));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("yz"));
    QCOMPARE(memo->toPlainText(), QString(97, QLatin1Char('x')) + QStringLiteral("\ny"));
}

void TestCardEditors::enterMovesAlongTheFields()
{
    TestEnvironment env;
    CardWindows w;
    showActive(w.addcard);
    w.addcard.Panel1->Edit1->setText(QStringLiteral("张三"));
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visited << focusName();
    }
    QCOMPARE(visited,
             (QStringList{ QStringLiteral("Edit2"), QStringLiteral("Edit3"), QStringLiteral("Edit4"),
                           QStringLiteral("Edit5"), QStringLiteral("Edit6"), QStringLiteral("Edit7"),
                           QStringLiteral("Edit8"), QStringLiteral("Edit9"), QStringLiteral("Edit10"),
                           QStringLiteral("Memo1") }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(focusName(), QStringLiteral("Memo1"));
    QCOMPARE(w.addcard.Panel1->Memo1->toPlainText(), QStringLiteral("\n"));
    // Enter never pressed OK.
    QVERIFY(cardNames().isEmpty());
    QVERIFY(w.addcard.isVisible());
}

void TestCardEditors::tabOrderRunsDownThenToTheButtons()
{
    TestEnvironment env;
    CardWindows w;
    for (QDialog* window : { static_cast<QDialog*>(&w.addcard), static_cast<QDialog*>(&w.editcard) }) {
        showActive(*window);
        window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setFocus();
        QStringList order{ focusName() };
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << focusName();
        }
        QStringList expected{ QStringLiteral("ComboBox1") };
        for (int i = 1; i <= 10; ++i)
            expected << QStringLiteral("Edit%1").arg(i);
        expected << QStringLiteral("Memo1") << QStringLiteral("Button1") << QStringLiteral("Button2");
        QCOMPARE(order, expected);
        window->close();
    }
}

void TestCardEditors::addSavesAndStaysOpenForTheNext()
{
    TestEnvironment env;
    addCategory(QStringLiteral("同事"));
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    CardFieldPanel* p = w.addcard.Panel1;
    p->Edit1->setText(QStringLiteral("old"));
    showActive(w.addcard);
    QVERIFY(p->Edit1->text().isEmpty());
    QCOMPARE(p->ComboBox1->count(), 2);
    QCOMPARE(p->ComboBox1->itemText(0), QStringLiteral("同事"));
    QCOMPARE(p->ComboBox1->currentText(), QStringLiteral("同事"));

    p->Edit1->setText(QStringLiteral("O'Brien"));
    p->Edit7->setText(QStringLiteral("13800001111"));
    p->Memo1->setPlainText(QStringLiteral("一\n二"));
    w.addcard.Button1->click();

    const Card saved = [] {
        TableQuery q;
        CardTables::setStatement(q, CardTables::selectAllCards());
        q.open();
        return Card::fromQuery(q);
    }();
    QCOMPARE(saved.classify, QStringLiteral("同事"));
    QCOMPARE(saved.name, QStringLiteral("O'Brien"));
    QCOMPARE(saved.mobile, QStringLiteral("13800001111"));
    QCOMPARE(saved.memo, QStringLiteral("一\r\n二"));
    QVERIFY(p->Edit1->text().isEmpty() && p->Edit7->text().isEmpty() && p->Memo1->toPlainText().isEmpty());
    QCOMPARE(p->ComboBox1->currentText(), QStringLiteral("同事"));
    QVERIFY(w.addcard.isVisible());
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QVERIFY(treeLines(w.card.TreeView1).contains(QStringLiteral("同事/O'Brien")));

    // The second press finds the name empty.
    w.addcard.Button1->click();
    QCOMPARE(env.dialogs.boxes.size(), 1);
    QCOMPARE(env.dialogs.boxes.at(0).text, QStringLiteral("请 输 入 姓 名!"));
    QCOMPARE(env.dialogs.boxes.at(0).caption, QStringLiteral("提示"));
    QCOMPARE(env.dialogs.boxes.at(0).icon, MsgIcon::Warning);
    QCOMPARE(cardNames().size(), 1);
    QCOMPARE(focusName(), QStringLiteral("Edit1"));

    // A name of blanks is a name.
    p->Edit1->setText(QStringLiteral(" "));
    w.addcard.Button1->click();
    QCOMPARE(cardNames().size(), 2);
    w.addcard.Button2->click();
    QVERIFY(!w.addcard.isVisible());
}

void TestCardEditors::addWithNoCategories()
{
    TestEnvironment env;
    CardWindows w;
    w.addcard.show();
    QCOMPARE(w.addcard.Panel1->ComboBox1->count(), 0);
    QVERIFY(w.addcard.Panel1->ComboBox1->currentText().isEmpty());
    w.addcard.Panel1->Edit1->setText(QStringLiteral("张三"));
    w.addcard.Button1->click();
    QCOMPARE(cardClasses(), QStringList{ QString() });
}

void TestCardEditors::addKeepsATypedCategory()
{
    TestEnvironment env;
    addCategory(QStringLiteral("朋友"));
    CardWindows w;
    w.addcard.show();
    w.addcard.Panel1->ComboBox1->setEditText(QStringLiteral("x' or '1'='1"));
    w.addcard.Panel1->Edit1->setText(QStringLiteral("张三"));
    w.addcard.Button1->click();
    QCOMPARE(cardClasses(), QStringList{ QStringLiteral("x' or '1'='1") });
    QCOMPARE(treeLines(w.card.TreeView1), QStringList{ QStringLiteral("朋友") });
}

void TestCardEditors::modifyRefusesAnEmptyName()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    CardWindows w;
    w.editcard.Edit11->setText(column(CardTables::selectAllCards(), QStringLiteral("num")).constFirst());
    w.editcard.show();
    w.editcard.Panel1->Edit1->clear();
    w.editcard.Button1->click();
    QCOMPARE(env.dialogs.texts(), QStringList{ QStringLiteral("请 输 入 姓 名!") });
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
}

QTEST_MAIN(TestCardEditors)
#include "TestCardEditors.moc"
