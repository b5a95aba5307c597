#include "ClockFace.h"

#include <cmath>

namespace ClockFace {

namespace {
// The face is drawn with these approximations of pi and of a full turn, not with exact constants, so the pixels
// land where they always have.
constexpr double kPi = 3.14159;
constexpr double kFullTurn = 6.28318;
} // namespace

QRect shapeRect()
{
    return QRect(QPoint(4, 4), QPoint(110, 110));
}

int roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return int(lower) + 1;
    if (fraction < 0.5)
        return int(lower);
    return std::fmod(lower, 2.0) == 0.0 ? int(lower) : int(lower) + 1;
}

QPoint centre(int width, int height)
{
    return QPoint(width / 2, height / 2);
}

QPoint pointAt(QPoint c, double r, double theta)
{
    return QPoint(roundHalfEven(c.x() + r * std::sin(theta)), roundHalfEven(c.y() - r * std::cos(theta)));
}

QPoint dotCentre(QPoint c, int k)
{
    return pointAt(c, kDialRadius, 30.0 * k * kPi / 180.0);
}

Numeral numeral(QPoint c, int k)
{
    const QPoint dot = dotCentre(c, k);
    switch (30 * k) {
    case 90:
        return { QStringLiteral("3"), dot + QPoint(-10, -5) };
    case 180:
        return { QStringLiteral("6"), dot + QPoint(-5, -20) };
    case 270:
        return { QStringLiteral("9"), dot + QPoint(5, -5) };
    case 360:
        return { QStringLiteral("12"), dot + QPoint(-7, 5) };
    default:
        return {};
    }
}

QList<Hand> hands(QPoint c, const QTime& time)
{
    const double h = time.hour();
    const double m = time.minute();
    const double s = time.second();
    auto hand = [c](double theta, double length, double tail, int width, const QColor& colour) {
        // The tail is the point at distance tail in the opposite direction.
        return Hand{ pointAt(c, length, theta), pointAt(c, -tail, theta), width, colour };
    };
    return {
        hand(s * kFullTurn / 60.0, 50, 5, 2, QColor(255, 0, 0)),
        hand(m * kFullTurn / 60.0, 40, 4, 3, QColor(0, 128, 0)),
        hand((h + m / 60.0) * kFullTurn / 12.0, 30, 2, 4, QColor(0, 0, 255)),
    };
}

QPoint dropPosition(QPoint cursor)
{
    return cursor - QPoint(50, 50);
}

QPoint topRight(const QRect& screen, int windowWidth)
{
    return QPoint(screen.x() + screen.width() - windowWidth, screen.y());
}

} // namespace ClockFace
