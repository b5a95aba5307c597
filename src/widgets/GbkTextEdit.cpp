#include "GbkTextEdit.h"

#include "EditSplit.h"
#include "text/Gbk.h"
#include "text/TextLines.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace {

/// The text a key press would enter, or an empty string for keys that enter nothing.
QString enteredText(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return QStringLiteral("\n");
    const QString text = event->text();
    for (const QChar c : text) {
        if (!c.isPrint() && c != QLatin1Char('\t'))
            return {};
    }
    return text;
}

} // namespace

GbkTextEdit::GbkTextEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChanged, this, &GbkTextEdit::enforceLimit);
}

void GbkTextEdit::setMaxBytes(int maxBytes)
{
    m_maxBytes = maxBytes;
    m_accepted.clear();
    enforceLimit();
}

void GbkTextEdit::setPlainText(const QString& text)
{
    const QString normalised = withLineFeeds(text);
    QPlainTextEdit::setPlainText(m_maxBytes > 0 ? Gbk::truncate(normalised, m_maxBytes, true) : normalised);
}

int GbkTextEdit::roomReplacing(int from, int to) const
{
    const QString all = toPlainText();
    const QString rest = all.left(from) + all.mid(to);
    return m_maxBytes - Gbk::byteLength(rest, true);
}

void GbkTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QString entered = m_maxBytes > 0 && !isReadOnly() ? enteredText(event) : QString();
    if (entered.isEmpty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QTextCursor cursor = textCursor();
    const int room = roomReplacing(cursor.selectionStart(), cursor.selectionEnd());
    const QString kept = room > 0 ? Gbk::truncate(entered, room, true) : QString();
    if (kept == entered) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // A key whose character does not fit enters nothing (the selection it would replace stays).
    event->accept();
    if (kept.isEmpty())
        return;
    cursor.insertText(kept);
    setTextCursor(cursor);
}

void GbkTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (m_maxBytes <= 0 || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // The commit replaces either the range the input method names (relative to the cursor) or the selection.
    const QTextCursor cursor = textCursor();
    int from = cursor.selectionStart();
    int to = cursor.selectionEnd();
    if (event->replacementLength() > 0) {
        from = cursor.position() + event->replacementStart();
        to = from + event->replacementLength();
    }
    const QString commit = withLineFeeds(event->commitString());
    const int room = roomReplacing(from, to);
    const QString kept = room > 0 ? Gbk::truncate(commit, room, true) : QString();
    if (kept == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    event->accept();
}

void GbkTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (m_maxBytes <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const QString text = withLineFeeds(source->text());
    QTextCursor cursor = textCursor();
    const int room = roomReplacing(cursor.selectionStart(), cursor.selectionEnd());
    const QString kept = room > 0 ? Gbk::truncate(text, room, true) : QString();
    cursor.insertText(kept);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void GbkTextEdit::enforceLimit()
{
    if (m_trimming)
        return;
    const QString text = toPlainText();
    if (m_maxBytes <= 0 || Gbk::byteLength(text, true) <= m_maxBytes) {
        m_accepted = text;
        return;
    }
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    splitEdit(m_accepted, text, textCursor().position(), prefix, suffix);
    const QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    const int room = m_maxBytes - Gbk::byteLength(text.left(prefix), true) - Gbk::byteLength(text.right(suffix), true);
    const QString kept = room > 0 ? Gbk::truncate(inserted, room, true) : QString();
    m_trimming = true;
    QTextCursor cursor(document());
    cursor.setPosition(int(prefix + kept.size()));
    cursor.setPosition(int(text.size() - suffix), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    // Unchanged ends that do not fit on their own (a limit lowered under the text) lose their end.
    const QString rest = toPlainText();
    const qsizetype fits = Gbk::truncate(rest, m_maxBytes, true).size();
    if (fits < rest.size()) {
        cursor.setPosition(int(fits));
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    m_trimming = false;
    m_accepted = toPlainText();
    QTextCursor visible = textCursor();
    visible.setPosition(int(qMin<qsizetype>(prefix + kept.size(), m_accepted.size())));
    setTextCursor(visible);
}
