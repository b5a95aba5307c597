#pragma once

#include <QColor>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTime>

/// The geometry of the desktop clock's face, kept apart from the window so that it can be checked point by point.
/// Every point is rounded to the nearest pixel, halves to even.
namespace ClockFace {

constexpr int kSize = 115; ///< client width and height
constexpr int kDialRadius = 50;

/// The window is cut to the ellipse with corners (4, 4) and (111, 111), the right and bottom edges excluded.
QRect shapeRect();

/// Nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
int roundHalfEven(double value);

/// The centre of the face for a client area of the given size (integer halves).
QPoint centre(int width = kSize, int height = kSize);

/// The point at distance r from the centre in direction theta (radians, 0 up, clockwise), rounded.
QPoint pointAt(QPoint centre, double r, double theta);

/// The centre of the hour dot k (0 to 12; 0 and 12 are both the top).
QPoint dotCentre(QPoint centre, int k);

/// A numeral written beside hour dot k: its text and the top-left corner of the text. Empty text for k that get
/// no numeral.
struct Numeral
{
    QString text;
    QPoint topLeft;
};
Numeral numeral(QPoint centre, int k);

struct Hand
{
    QPoint tip;
    QPoint tail;
    int width;
    QColor colour;
};
/// The second, minute and hour hands, in the order they are drawn (the hour hand on top).
QList<Hand> hands(QPoint centre, const QTime& time);

/// Where a left click released at the cursor's screen position puts the window's top-left corner.
QPoint dropPosition(QPoint cursor);

/// The top-right corner of the screen for a window of the given width.
QPoint topRight(const QRect& screen, int windowWidth);

} // namespace ClockFace
