#pragma once

#include <QPlainTextEdit>

/// A multi-line edit whose limit counts the bytes of the program's code page (GBK, and GB18030 for what GBK lacks),
/// each line break as the two bytes CR LF. The limit holds for every change of the text, whatever made it (typing,
/// pasting, dropping, input methods, code, accessibility tools, edits of the document itself): what would not fit is
/// cut at a character boundary, and a character that does not fit at all is not entered.
class GbkTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit GbkTextEdit(QWidget* parent = nullptr);

    /// 0 means no limit. A text already longer loses its end.
    void setMaxBytes(int maxBytes);
    int maxBytes() const { return m_maxBytes; }

    /// Replaces the text; with a limit, only the start that fits is kept. Hides QPlainTextEdit::setPlainText, which
    /// is not virtual: a whole new text is cut at its end, not wherever it happens to differ from the old one.
    void setPlainText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    /// Bytes left for an insertion that replaces the characters [from, to).
    int roomReplacing(int from, int to) const;
    /// The last guard for changes that came in some other way: cuts what was inserted since the last good text.
    void enforceLimit();

    int m_maxBytes = 0;
    QString m_accepted; ///< the text after the last change that kept the limit
    bool m_trimming = false;
};
