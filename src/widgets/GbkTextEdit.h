#pragma once

#include <QPlainTextEdit>

/// A multi-line edit whose limit counts GBK bytes, each line break as the two bytes CR LF. The limit holds for
/// typing, pasting, dropping and input methods alike: what would not fit is cut at a character boundary.
class GbkTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit GbkTextEdit(QWidget* parent = nullptr);

    /// 0 means no limit.
    void setMaxBytes(int maxBytes) { m_maxBytes = maxBytes; }
    int maxBytes() const { return m_maxBytes; }

private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);

    int m_maxBytes = 0;
    bool m_trimming = false;
};
