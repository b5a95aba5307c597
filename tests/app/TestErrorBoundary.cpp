#include "FakeDialogs.h"
#include "VantrelApplication.h"
#include "platform/AppError.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "widgets/CentredDialog.h"

#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <stdexcept>

namespace {

/// A window whose handlers fail the way a table or a file fails them.
class FailingWindow : public CentredDialog
{
    Q_OBJECT
public:
    FailingWindow()
    {
        button = new QPushButton(this);
        spin = new QSpinBox(this);
        connect(button, &QPushButton::clicked, this, guarded(this, &FailingWindow::ButtonClick));
        connect(spin, &QSpinBox::valueChanged, this, guarded(this, &FailingWindow::SpinChange));
    }
    void FormShow() override
    {
        if (!showError.isEmpty())
            throw AppError(showError);
    }
    void FormClose() override
    {
        if (!closeError.isEmpty())
            throw AppError(closeError);
    }
    void ButtonClick()
    {
        ++clicks;
        if (standardError)
            throw std::runtime_error("disk full");
        throw AppError(QStringLiteral("无法打开数据表。"));
    }
    void SpinChange(int value)
    {
        values << value;
        throw AppError(QStringLiteral("值 %1 无效。").arg(value));
    }

    QPushButton* button = nullptr;
    QSpinBox* spin = nullptr;
    QString showError;
    QString closeError;
    bool standardError = false;
    int clicks = 0;
    QList<int> values;
};

} // namespace

/// An error ends its handler where the handler started and comes up in the application's error box: one box at a
/// time, and a cause already waiting is not queued again. Nothing unwinds into Qt's event dispatch.
class TestErrorBoundary : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dialogs = FakeDialogs();
        Services::setDialogs(&m_dialogs);
    }
    void cleanup() { Services::setDialogs(nullptr); }

    void handlerErrorShowsOneBoxPerCause()
    {
        FailingWindow window;
        window.button->click();
        window.button->click(); // the same cause while its box is still waiting
        QCOMPARE(window.clicks, 2);
        QVERIFY(m_dialogs.boxes.isEmpty()); // never inside the handler that failed
        QTRY_COMPARE(m_dialogs.boxes.size(), 1);
        QTest::qWait(50);
        QCOMPARE(m_dialogs.texts(), QStringList{ QStringLiteral("无法打开数据表。") });
        QCOMPARE(m_dialogs.boxes.first().caption, QStringLiteral("Vantrel"));
        QCOMPARE(m_dialogs.boxes.first().icon, MsgIcon::Error);

        // Once answered, the same cause shows again.
        window.button->click();
        QTRY_COMPARE(m_dialogs.boxes.size(), 2);
    }

    void causesAreShownOneAfterTheOther()
    {
        FailingWindow window;
        window.spin->setValue(3);
        window.spin->setValue(4);
        window.standardError = true;
        window.button->click();
        QCOMPARE(window.values, (QList<int>{ 3, 4 })); // the slot gets the signal's argument
        QTRY_COMPARE(m_dialogs.boxes.size(), 3);
        QCOMPARE(
            m_dialogs.texts(),
            (QStringList{ QStringLiteral("值 3 无效。"), QStringLiteral("值 4 无效。"), QStringLiteral("disk full") }));
    }

    void showAndCloseHandlersAreBounded()
    {
        FailingWindow window;
        window.showError = QStringLiteral("读取失败。");
        window.closeError = QStringLiteral("刷新失败。");
        window.show();
        QVERIFY(window.isVisible()); // the window stays up; only its load failed
        window.reject();
        QVERIFY(!window.isVisible());
        QTRY_COMPARE(m_dialogs.boxes.size(), 2);
        QCOMPARE(m_dialogs.texts(), (QStringList{ QStringLiteral("读取失败。"), QStringLiteral("刷新失败。") }));
    }

    void runGuardedSaysWhetherTheHandlerWentThrough()
    {
        QVERIFY(runGuarded([] {}));
        QVERIFY(!runGuarded([] { throw AppError(QStringLiteral("x")); }));
        QTRY_COMPARE(m_dialogs.boxes.size(), 1);
    }

private:
    FakeDialogs m_dialogs;
};

int main(int argc, char** argv)
{
    VantrelApplication app(argc, argv);
    TestErrorBoundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestErrorBoundary.moc"
