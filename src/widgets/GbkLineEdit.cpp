#include "GbkLineEdit.h"

#include "storage/Gbk.h"

namespace {

/// Splits an edit's result into head + inserted + tail, where head and tail are unchanged from `before`. The caret
/// stands at the end of what was inserted, which settles where the insertion was when the text repeats itself
/// (typing "ba" into "a|b" gives "abab": the insertion is "ba", not the trailing "ab").
void splitEdit(const QString& before, const QString& after, qsizetype caret, qsizetype& head, qsizetype& tail)
{
    tail = after.size() - caret;
    const bool caretFits = caret >= 0 && tail >= 0 && tail <= before.size()
        && QStringView(after).right(tail) == QStringView(before).right(tail);
    if (!caretFits) {
        tail = 0;
        while (tail < before.size() && tail < after.size()
               && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
            ++tail;
    }
    const qsizetype headLimit = qMin(after.size(), before.size()) - tail;
    head = 0;
    while (head < headLimit && before.at(head) == after.at(head))
        ++head;
    if (head > 0 && after.at(head - 1).isHighSurrogate())
        --head;
    if (tail > 0 && after.at(after.size() - tail).isLowSurrogate())
        --tail;
}

} // namespace

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
