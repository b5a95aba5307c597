#include "GbkLineEdit.h"

#include "EditSplit.h"
#include "text/Gbk.h"

GbkLineEdit::GbkLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // Typing, pasting and input methods report textEdited first, with the caret at the end of what went in.
    connect(this, &QLineEdit::textEdited, this, [this] { keepLimit(cursorPosition()); });
    // Everything else (text set from code, insert(), accessibility tools) reports only textChanged; there the caret
    // tells nothing, and what stayed the same at both ends shows where the change was.
    connect(this, &QLineEdit::textChanged, this, [this] { keepLimit(-1); });
}

void GbkLineEdit::setMaxBytes(int maxBytes)
{
    m_maxBytes = maxBytes;
    m_accepted.clear();
    keepLimit(-1);
}

void GbkLineEdit::keepLimit(qsizetype caret)
{
    // The signals carry the text of the change, which a cut made meanwhile may have replaced: read it afresh.
    const QString text = this->text();
    if (m_maxBytes <= 0 || Gbk::byteLength(text) <= m_maxBytes) {
        m_accepted = text;
        return;
    }
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    splitEdit(m_accepted, text, caret, prefix, suffix);
    const QString head = text.left(prefix);
    const QString tail = text.right(suffix);
    const QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    const int room = m_maxBytes - Gbk::byteLength(head) - Gbk::byteLength(tail);
    const QString kept = room > 0 ? Gbk::truncate(inserted, room) : QString();
    // Unchanged ends that do not fit on their own (a limit lowered under the text) lose their end.
    const QString result = Gbk::truncate(head + kept + tail, m_maxBytes);
    const int caretAfter = int(qMin(result.size(), head.size() + kept.size()));
    m_accepted = result;
    setText(result);
    setCursorPosition(caretAfter);
}
