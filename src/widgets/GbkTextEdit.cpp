#include "GbkTextEdit.h"

#include "storage/Gbk.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

GbkTextEdit::GbkTextEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, &GbkTextEdit::onContentsChange);
}

void GbkTextEdit::onContentsChange(int position, int /*charsRemoved*/, int charsAdded)
{
    if (m_trimming || m_maxBytes <= 0 || charsAdded <= 0)
        return;
    const QString all = toPlainText();
    if (Gbk::byteLength(all, true) <= m_maxBytes)
        return;
    // The document's positions count a paragraph break as one character, as toPlainText() does.
    const QString inserted = all.mid(position, charsAdded);
    const QString rest = all.left(position) + all.mid(position + charsAdded);
    const int room = m_maxBytes - Gbk::byteLength(rest, true);
    const QString kept = room > 0 ? Gbk::truncate(inserted, room, true) : QString();
    m_trimming = true;
    QTextCursor cursor(document());
    cursor.setPosition(position + int(kept.size()));
    cursor.setPosition(position + charsAdded, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_trimming = false;
    QTextCursor visible = textCursor();
    visible.setPosition(position + int(kept.size()));
    setTextCursor(visible);
}
