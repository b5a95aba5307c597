#include "TFrmabout.h"

#include "MakerInfo.h"
#include "widgets/Images.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmabout::TFrmabout(QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Frmabout"));
    setWindowTitle(QStringLiteral("关于"));
    setAccessibleName(QStringLiteral("关于"));
    setFixedSize(282, 228);

    auto* strip = new QLabel(this);
    strip->setObjectName(QStringLiteral("Image1"));
    Images::setPicture(strip, QStringLiteral("about-strip"), QSize(64, 200));
    strip->setFixedSize(64, 200);

    auto* product = new QLabel(QStringLiteral("Vantrel"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont productFont = product->font();
    productFont.setPixelSize(14);
    productFont.setBold(true);
    product->setFont(productFont);

    auto* version = new QLabel(QStringLiteral("Version: 2.3"), this);
    version->setObjectName(QStringLiteral("Version"));
    QFont versionFont = version->font();
    versionFont.setBold(true);
    version->setFont(versionFont);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    // Engraved text: plain lines in a sunken panel, with no link behaviour.
    auto* contact = new QLabel(
        QStringLiteral("主页：%1\n信箱：%2\nQQ：10000001").arg(MakerInfo::homePage(), MakerInfo::mailAddress()), this);
    contact->setObjectName(QStringLiteral("Contact"));
    contact->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    contact->setTextInteractionFlags(Qt::NoTextInteraction);
    contact->setEnabled(false);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setAccessibleName(QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* right = new QVBoxLayout;
    right->addWidget(product);
    right->addWidget(version);
    right->addWidget(rule);
    right->addWidget(contact);
    right->addStretch(1);
    right->addWidget(ok, 0, Qt::AlignRight);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(strip);
    layout->addLayout(right, 1);
}
