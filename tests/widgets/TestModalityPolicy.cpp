#include "widgets/ModalityPolicy.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

/// What exec() does before it runs its loop: the dialog becomes modal (application-modal, unless said otherwise)
/// and is shown.
void showModal(QDialog& dialog)
{
    dialog.setAttribute(Qt::WA_ShowModal, true);
    dialog.show();
}

} // namespace

/// Which windows a modal window blocks: the ones it was opened from, never the windows that come up after it.
class TestModalityPolicy : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ownerOfAModalWindow_data();
    void ownerOfAModalWindow();
    void windowsShownLaterAreNotBlocked();

private:
    ModalityPolicy* m_policy = nullptr;
    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<QWidget> m_wizard; ///< a plain window that came up on its own
    std::unique_ptr<QWidget> m_hidden;
    std::unique_ptr<QDialog> m_list; ///< a dialog opened from the main window's bar
};

void TestModalityPolicy::init()
{
    m_policy = new ModalityPolicy(qApp);
    qApp->installEventFilter(m_policy);
    m_main = std::make_unique<QWidget>();
    m_main->setObjectName(QStringLiteral("main"));
    m_wizard = std::make_unique<QWidget>();
    m_wizard->setObjectName(QStringLiteral("wizard"));
    m_hidden = std::make_unique<QWidget>();
    m_hidden->setObjectName(QStringLiteral("hidden"));
    m_hidden->winId();
    m_list = std::make_unique<QDialog>();
    m_list->setObjectName(QStringLiteral("list"));
    m_policy->setMainWindow(m_main.get());
}

void TestModalityPolicy::cleanup()
{
    m_list.reset();
    m_hidden.reset();
    m_wizard.reset();
    m_main.reset();
    delete m_policy;
}

void TestModalityPolicy::ownerOfAModalWindow_data()
{
    QTest::addColumn<bool>("mainShown");
    QTest::addColumn<bool>("listOpen");
    QTest::addColumn<QString>("parent"); // the new modal window's parent widget
    QTest::addColumn<QString>("owner"); // the window it blocks; empty for none

    QTest::newRow("opened from the main window's bar") << true << false << QString() << u"main"_s;
    QTest::newRow("opened from the tray, main window hidden") << false << false << QString() << QString();
    QTest::newRow("opened from an open dialog") << true << true << QString() << u"list"_s;
    QTest::newRow("box of a window that came up later") << true << true << u"wizard"_s << u"wizard"_s;
    QTest::newRow("box of a window that is blocked") << true << true << u"main"_s << u"list"_s;
    QTest::newRow("box of a hidden window") << true << false << u"hidden"_s << u"main"_s;
    QTest::newRow("box of a hidden window, dialog open") << true << true << u"hidden"_s << u"list"_s;
}

void TestModalityPolicy::ownerOfAModalWindow()
{
    QFETCH(bool, mainShown);
    QFETCH(bool, listOpen);
    QFETCH(QString, parent);
    QFETCH(QString, owner);
    if (mainShown)
        m_main->show();
    m_wizard->show();
    if (listOpen) {
        showModal(*m_list);
        QCOMPARE(m_list->windowHandle()->transientParent(), m_main->windowHandle());
        QCOMPARE(m_list->windowHandle()->modality(), Qt::WindowModal);
    }
    QWidget* parentWidget = parent == u"wizard" ? m_wizard.get()
        : parent == u"main"                     ? m_main.get()
        : parent == u"hidden"                   ? m_hidden.get()
                                                : nullptr;
    QDialog box(parentWidget);
    box.winId();
    const QWindow* expected = owner == u"main" ? m_main->windowHandle()
        : owner == u"list"                     ? m_list->windowHandle()
        : owner == u"wizard"                   ? m_wizard->windowHandle()
                                               : nullptr;
    QCOMPARE(ModalityPolicy::ownerFor(&box, m_main.get()), expected);

    // Shown modally, it is made window-modal to that owner, so Qt blocks the owner's chain and nothing else.
    showModal(box);
    QCOMPARE(box.windowHandle()->modality(), Qt::WindowModal);
    QCOMPARE(box.windowHandle()->transientParent(), expected);
    if (expected)
        QVERIFY(ModalityPolicy::isBlocked(expected));
    QVERIFY(!ModalityPolicy::isBlocked(m_wizard->windowHandle()) || owner == u"wizard");
    box.close();
}

void TestModalityPolicy::windowsShownLaterAreNotBlocked()
{
    m_main->show();
    showModal(*m_list);
    // A reminder pop-up, the update wizard or today's plan, shown while the dialog is open.
    QWidget later;
    later.show();
    QDialog nested; // opened from the dialog: blocks the dialog and, through it, the main window
    showModal(nested);
    QVERIFY(ModalityPolicy::isBlocked(m_main->windowHandle()));
    QVERIFY(ModalityPolicy::isBlocked(m_list->windowHandle()));
    QVERIFY(!ModalityPolicy::isBlocked(later.windowHandle()));
    QVERIFY(!ModalityPolicy::isBlocked(m_wizard->windowHandle()));
    QVERIFY(!ModalityPolicy::isBlocked(nested.windowHandle()));
    nested.close();
    QVERIFY(!ModalityPolicy::isBlocked(m_list->windowHandle()));
    m_list->close();
    QVERIFY(!ModalityPolicy::isBlocked(m_main->windowHandle()));
}

QTEST_MAIN(TestModalityPolicy)
#include "TestModalityPolicy.moc"
