#pragma once

#include <QObject>
#include <QString>

/// Slides small notification windows into the desktop corner beside the taskbar.
class TNotifyPopup : public QObject
{
    Q_OBJECT
public:
    explicit TNotifyPopup(QObject* parent = nullptr);

    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString Text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    int TimeOut() const { return m_timeOut; }
    void setTimeOut(int seconds) { m_timeOut = seconds; }
    int Width() const { return m_width; }
    void setWidth(int width) { m_width = width; }
    int Height() const { return m_height; }
    void setHeight(int height) { m_height = height; }

    /// Shows a new pop-up with the current values; false when a stacked one would not fit.
    bool ShowNotification();

private:
    QString m_title = QStringLiteral("title");
    QString m_text = QStringLiteral("text");
    int m_timeOut = 10;
    int m_width = 148;
    int m_height = 121;
};
