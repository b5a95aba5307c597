#include "CategoryNameDialog.h"

#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CategoryNameDialog::CategoryNameDialog(const QString& objectName, const QString& title, const QSize& size,
                                       QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setAccessibleName(title);
    setFixedSize(size);

    Label1 = new QLabel(QStringLiteral("分类名称："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(Label1->text());
    Label1->move(40, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(Label1->text());
    Edit1->setGeometry(40, 40, 185, 21);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    Button1->setGeometry(40, 80, 75, 25);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(Button2->text());
    Button2->setGeometry(149, 80, 75, 25);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    connect(Button1, &QPushButton::clicked, this, guarded(this, &CategoryNameDialog::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &CategoryNameDialog::Button2Click));
}

void CategoryNameDialog::Button2Click()
{
    close();
}

bool CategoryNameDialog::requireName(bool refocus)
{
    if (!Edit1->text().isEmpty())
        return true;
    Services::dialogs().messageBox(this, QStringLiteral("请 输 入 分 类 名 称!"), QStringLiteral("提示"),
                                   MsgIcon::Warning, MsgButtons::Ok);
    if (refocus)
        Edit1->setFocus();
    return false;
}
