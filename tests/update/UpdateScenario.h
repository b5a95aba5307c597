#pragma once

#include "LoopbackHttpServer.h"
#include "UpdateTestSupport.h"

#include <QTimer>

#include <functional>

/// Drives modal windows and the wizard's wait from inside their own event loops: the step runs every 20 ms until
/// the scenario ends, wherever the program is waiting.
class Autopilot
{
public:
    explicit Autopilot(std::function<void()> step)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [step = std::move(step)] { step(); });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

/// An information file announcing version 2.4 with the given addresses (url, url0, url3, url4, ...: after two
/// entries the numbered keys go on at 3).
inline QByteArray infoFile(const QStringList& urls, const QByteArray& message = QByteArray())
{
    QByteArray text = "#version=2.4\r\n";
    for (qsizetype i = 0; i < urls.size(); ++i) {
        const QByteArray key = i == 0 ? "url" : i == 1 ? "url0" : "url" + QByteArray::number(i + 1);
        text += "#" + key + "=" + urls.at(i).toUtf8() + "\r\n";
    }
    if (!message.isEmpty())
        text += "#message={" + message + "}\r\n";
    return text + "#method=0\r\n";
}

inline const QByteArray InfoPath = "/update/helper/helper.inf";
