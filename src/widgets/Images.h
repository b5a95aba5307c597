#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

/// The program's own pictures, drawn from the SVG files among its resources (":/images/<name>.svg").
namespace Images {
QIcon icon(const QString& name);
QPixmap pixmap(const QString& name, const QSize& size);
} // namespace Images
