#include "PhraseChooser.h"

#include "platform/Guarded.h"
#include "reminders/PhraseFile.h"
#include "widgets/GbkTextEdit.h"

#include <QEvent>
#include <QListWidget>
#include <QShowEvent>
#include <QVBoxLayout>

PhraseChooser::PhraseChooser(GbkTextEdit& target, const QString& listName, QWidget* parent)
    : QDialog(parent)
    , m_target(target)
{
    setWindowTitle(QStringLiteral("请选择提示内容"));
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    setFont(f);
    m_list = new QListWidget(this);
    m_list->setObjectName(listName);
    m_list->setAccessibleName(windowTitle());
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click counts anywhere in the list, on an entry or on the empty space below the last one.
    m_list->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
}

void PhraseChooser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { onShow(); });
}

bool PhraseChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        runGuarded([this] { onDoubleClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PhraseChooser::loadPhrases()
{
    if (const std::optional<QStringList> phrases = PhraseFile::read()) {
        m_list->clear();
        m_list->addItems(*phrases);
    }
}

void PhraseChooser::takePhrase()
{
    const QListWidgetItem* item = m_list->currentItem();
    const QString phrase = (item && item->isSelected()) ? item->text() : QString();
    m_target.setPlainText(phrase + QLatin1Char('\n'));
    close();
}
