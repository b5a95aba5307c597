#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStyle>

class QLabel;

/// The program's own pictures, drawn from the SVG files among its resources (":/images/<name>.svg").
namespace Images {
/// An icon at 16, 32 and 48 pixels. Each size is drawn the first time something asks for it: most icons sit in
/// windows that stay hidden for a long time, or for good, and drawing them all at start-up took a quarter of it.
QIcon icon(const QString& name);
QPixmap pixmap(const QString& name, const QSize& size);
/// The application style's standard icon, taken from the style when it is first drawn.
QIcon standardIcon(QStyle::StandardPixmap which);
/// Gives the label the picture at the given size before the label is first shown (at once when it is shown now).
void setPicture(QLabel* label, const QString& name, const QSize& size);
} // namespace Images
