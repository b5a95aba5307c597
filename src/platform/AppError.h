#pragma once

#include <QString>
#include <exception>

/// The one error type of the program. A handler that cannot go on throws it; the application object catches it
/// and shows its text in the error box, and the program carries on.
class AppError : public std::exception
{
public:
    explicit AppError(QString text)
        : m_text(std::move(text))
        , m_utf8(m_text.toUtf8())
    { }
    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
