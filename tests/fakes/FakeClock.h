#pragma once

#include "platform/Clock.h"

/// A clock that stands still until the test moves it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(8, 0)))
        : m_now(std::move(now))
    { }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void advanceSecond(int seconds = 1) { m_now = m_now.addSecs(seconds); }
    void advanceDay(int days = 1) { m_now = m_now.addDays(days); }

private:
    QDateTime m_now;
};
