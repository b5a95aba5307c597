#include "GbkLineEdit.h"

#include "EditSplit.h"
#include "storage/Gbk.h"

GbkLineEdit::GbkLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &GbkLineEdit::onTextEdited);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_maxBytes <= 0 || Gbk::byteLength(text) <= m_maxBytes)
            m_accepted = text;
    });
}

void GbkLineEdit::setMaxBytes(int maxBytes)
{
    m_maxBytes = maxBytes;
    m_accepted = text();
}

void GbkLineEdit::onTextEdited(const QString& text)
{
    if (m_maxBytes <= 0 || Gbk::byteLength(text) <= m_maxBytes) {
        m_accepted = text;
        return;
    }
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    splitEdit(m_accepted, text, cursorPosition(), prefix, suffix);
    const QString head = text.left(prefix);
    const QString tail = text.right(suffix);
    const QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    const int room = m_maxBytes - Gbk::byteLength(head) - Gbk::byteLength(tail);
    const QString kept = room > 0 ? Gbk::truncate(inserted, room) : QString();
    const QString result = head + kept + tail;
    m_accepted = result;
    setText(result);
    setCursorPosition(int(head.size() + kept.size()));
}
