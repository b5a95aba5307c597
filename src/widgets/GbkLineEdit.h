#pragma once

#include <QLineEdit>

/// A one-line edit whose limit counts the bytes of the program's code page (GBK, and GB18030 for what GBK lacks), as
/// the program's stored text does. The limit holds for every change of the text, whatever made it (typing, pasting,
/// dropping, input methods, code, accessibility tools): what would not fit is cut at a character boundary, and what
/// was there before stays.
class GbkLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit GbkLineEdit(QWidget* parent = nullptr);

    /// 0 means no limit. A text already longer loses its end.
    void setMaxBytes(int maxBytes);
    int maxBytes() const { return m_maxBytes; }

private:
    /// Cuts what the last change put in so that the text fits. caret: where the insertion ended, or -1 if unknown.
    void keepLimit(qsizetype caret);

    int m_maxBytes = 0;
    QString m_accepted;
};
