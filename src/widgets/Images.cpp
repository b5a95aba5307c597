#include "Images.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Images {

QPixmap pixmap(const QString& name, const QSize& size)
{
    QSvgRenderer renderer(QStringLiteral(":/images/%1.svg").arg(name));
    QPixmap result(size);
    result.fill(Qt::transparent);
    if (!renderer.isValid())
        return result;
    QPainter painter(&result);
    renderer.render(&painter);
    return result;
}

QIcon icon(const QString& name)
{
    QIcon result;
    for (const int side : { 16, 32, 48 })
        result.addPixmap(pixmap(name, QSize(side, side)));
    return result;
}

} // namespace Images
