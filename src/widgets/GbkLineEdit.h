#pragma once

#include <QLineEdit>

/// A one-line edit whose limit counts GBK bytes, as the program's stored text does. The limit holds for typing,
/// pasting, dropping and input methods alike: what would not fit is cut at a character boundary.
class GbkLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit GbkLineEdit(QWidget* parent = nullptr);

    /// 0 means no limit.
    void setMaxBytes(int maxBytes);
    int maxBytes() const { return m_maxBytes; }

private:
    void onTextEdited(const QString& text);

    int m_maxBytes = 0;
    QString m_accepted;
};
