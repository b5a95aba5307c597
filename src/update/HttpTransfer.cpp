#include "HttpTransfer.h"
#include "TransferWorker.h"

#include "text/Gbk.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr quint8 LoginInfoConstant = 0xA5;

QString leftTrimmed(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

/// Takes the text before the next separator off the front of rest; leading blanks of what remains are dropped.
QString takeToken(QString& rest, QChar separator)
{
    const qsizetype at = rest.indexOf(separator);
    QString token = at < 0 ? rest : rest.left(at);
    rest = at < 0 ? QString() : leftTrimmed(rest.mid(at + 1));
    return token;
}

int monthNumber(const QString& token)
{
    static const QStringList months
        = { QStringLiteral("JAN"), QStringLiteral("FEB"), QStringLiteral("MAR"), QStringLiteral("APR"),
            QStringLiteral("MAY"), QStringLiteral("JUN"), QStringLiteral("JUL"), QStringLiteral("AUG"),
            QStringLiteral("SEP"), QStringLiteral("OCT"), QStringLiteral("NOV"), QStringLiteral("DEC") };
    return int(months.indexOf(token.toUpper())) + 1;
}

} // namespace

int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return int(floor) + 1;
    if (fraction < 0.5)
        return int(floor);
    return std::fmod(floor, 2.0) == 0 ? int(floor) : int(floor) + 1;
}

TransferFigures ComputeTransferFigures(qint64 contentLength, qint64 bytesTransferred, qint64 elapsedMs)
{
    TransferFigures f;
    if (contentLength > 0)
        f.PercentsDone
            = quint8(std::clamp(RoundHalfEven(double(bytesTransferred) * 100.0 / double(contentLength)), 0, 255));
    f.ElapsedTime = int(elapsedMs / 1000);
    if (bytesTransferred > 0 && contentLength > 0)
        f.EstimatedTimeLeft = std::max(
            0, RoundHalfEven(double(contentLength) / double(bytesTransferred) * f.ElapsedTime) - f.ElapsedTime);
    f.TransferRate = float(double(bytesTransferred) / 1024.0);
    if (f.ElapsedTime != 0)
        f.TransferRate /= float(f.ElapsedTime);
    return f;
}

QDateTime ParseHTTPDate(const QString& input)
{
    QString rest = input.trimmed();
    if (rest.isEmpty())
        return {};

    static const QStringList weekdays
        = { QStringLiteral("SUN"), QStringLiteral("MON"), QStringLiteral("TUE"), QStringLiteral("WED"),
            QStringLiteral("THU"), QStringLiteral("FRI"), QStringLiteral("SAT") };
    if (weekdays.contains(rest.left(3).toUpper())) {
        const qsizetype blank = rest.indexOf(QLatin1Char(' '));
        rest = blank < 0 ? QString() : leftTrimmed(rest.mid(blank + 1));
    }

    const qsizetype firstBlank = rest.indexOf(QLatin1Char(' '));
    const qsizetype dash = rest.indexOf(QLatin1Char('-'));
    const QChar separator = (dash >= 1 && (firstBlank < 0 || dash < firstBlank)) ? QLatin1Char('-') : QLatin1Char(' ');

    bool ok = false;
    int day = 1;
    int month = 0;
    const QString first = takeToken(rest, separator);
    if (monthNumber(first) > 0) {
        month = monthNumber(first);
        day = takeToken(rest, separator).toInt(&ok);
        if (!ok)
            day = 1;
    } else {
        day = first.toInt(&ok);
        if (!ok)
            day = 1;
        month = monthNumber(takeToken(rest, separator));
    }

    const QString yearToken = takeToken(rest, QLatin1Char(' '));
    int year = yearToken.toInt(&ok);
    if (!ok || year == 1900) {
        year = rest.trimmed().toInt(&ok);
        if (!ok)
            year = 1900;
        rest = yearToken;
    }
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;

    const QDate date(year, month, day);
    qint64 seconds = 0;
    if (rest.contains(QLatin1Char(':'))) {
        const QStringList parts = takeToken(rest, QLatin1Char(' ')).split(QLatin1Char(':'));
        const int factors[3] = { 3600, 60, 1 };
        for (int i = 0; i < 3 && i < parts.size(); ++i)
            seconds += qint64(parts.at(i).toInt()) * factors[i]; // not a number counts as 0
    }
    if (!date.isValid())
        return {};

    qint64 offsetSeconds = 0;
    const QString zone = leftTrimmed(rest);
    if (zone.size() > 4 && (zone.at(0) == QLatin1Char('+') || zone.at(0) == QLatin1Char('-'))) {
        const int hours = zone.mid(1, 2).toInt();
        const int minutes = zone.mid(3, 2).toInt();
        offsetSeconds = (qint64(hours) * 60 + minutes) * 60 * (zone.at(0) == QLatin1Char('-') ? -1 : 1);
    }
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(seconds - offsetSeconds).toLocalTime();
}

QByteArray EncodeLoginInfo(const QString& username, const QString& password)
{
    if (username.isEmpty() && password.isEmpty())
        return {};
    const QByteArray user = Gbk::encode(username);
    const QByteArray pass = Gbk::encode(password);
    const qsizetype n = 1 + user.size() + pass.size();
    if (user.size() > 255 || n > 255)
        return {};
    QByteArray plain;
    plain.append(char(user.size())).append(user).append(pass);
    const quint8 key = quint8(n) ^ LoginInfoConstant;
    QByteArray result(1, char(n));
    for (char c : plain)
        result.append(char(quint8(c) ^ key));
    return result;
}

bool DecodeLoginInfo(const QByteArray& data, QString& username, QString& password)
{
    username.clear();
    password.clear();
    if (data.isEmpty())
        return false;
    const int n = quint8(data.at(0));
    if (n < 1 || data.size() < 1 + n)
        return false;
    const quint8 key = quint8(n) ^ LoginInfoConstant;
    QByteArray plain;
    for (int i = 1; i <= n; ++i)
        plain.append(char(quint8(data.at(i)) ^ key));
    const int userLength = quint8(plain.at(0));
    if (userLength > n - 1)
        return false;
    username = Gbk::decode(plain.mid(1, userLength));
    password = Gbk::decode(plain.mid(1 + userLength));
    return true;
}

THttpTransfer::THttpTransfer(QObject* parent)
    : THttpLoginComponent(parent)
{ }

THttpTransfer::~THttpTransfer()
{
    AbortTransfer();
}

void THttpTransfer::setTransferBufferSize(int value)
{
    m_bufferSize = std::max(255, value);
}

bool THttpTransfer::StartTransfer()
{
    if (IsBusy())
        return false;
    m_results = Results();
    auto* worker = new TransferWorker(this);
    m_worker = worker;
    worker->start();
    return true;
}

void THttpTransfer::AbortTransfer()
{
    if (TransferWorker* worker = m_worker.data()) {
        m_worker = nullptr;
        worker->abort();
    }
}

bool THttpTransfer::IsBusy() const
{
    return m_worker && m_worker->running();
}
