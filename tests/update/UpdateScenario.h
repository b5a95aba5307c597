#pragma once

#include "LoopbackHttpServer.h"
#include "SignedUpdates.h"
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

/// A file the information file lists: its address and the content its size and SHA-256 are taken from.
struct Listed
{
    QString url;
    QByteArray content;
};

/// An information file announcing version 2.4 with the given files (url, url0, url3, url4, ...: after two entries
/// the numbered keys go on at 3), each with its size and SHA-256.
inline QByteArray infoFile(const QList<Listed>& files, const QByteArray& message = QByteArray())
{
    QByteArray text = "#version=2.4\r\n";
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QByteArray number = i == 0 ? "" : i == 1 ? "0" : QByteArray::number(i + 1);
        text += "#url" + number + "=" + files.at(i).url.toUtf8() + "\r\n" + fileChecks(number, files.at(i).content);
    }
    if (!message.isEmpty())
        text += "#message={" + message + "}\r\n";
    return text + "#method=0\r\n";
}

inline const QByteArray InfoPath = "/update/helper/helper.inf";
