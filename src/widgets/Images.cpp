#include "Images.h"

#include <QApplication>
#include <QEvent>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

namespace Images {

namespace {

constexpr std::array<int, 3> kIconSides{ 16, 32, 48 };

/// An icon drawn from its SVG one size at a time, when a size is first asked for. It answers as an icon holding the
/// 16, 32 and 48 pixel pictures would: a request is served from the smallest of them that is at least as large
/// (else the largest), scaled down to fit and turned into the disabled or selected look by the same code, so a
/// drawn icon looks the same as one made of all three pictures at once.
class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString& name)
        : m_name(name)
    { }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).pixmap(size, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return iconFor(size * scale).pixmap(size, scale, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : kIconSides)
            sizes.append(QSize(side, side));
        return sizes;
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("VantrelSvgIcon"); }
    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

private:
    const QIcon& iconFor(const QSize& size)
    {
        const qint64 wanted = qint64(size.width()) * size.height();
        std::size_t chosen = kIconSides.size() - 1;
        for (std::size_t i = 0; i < kIconSides.size(); ++i) {
            if (qint64(kIconSides[i]) * kIconSides[i] >= wanted) {
                chosen = i;
                break;
            }
        }
        QIcon& icon = m_drawn[chosen];
        if (icon.isNull())
            icon = QIcon(Images::pixmap(m_name, QSize(kIconSides[chosen], kIconSides[chosen])));
        return icon;
    }

    QString m_name;
    std::array<QIcon, kIconSides.size()> m_drawn; ///< each holding the one picture of its size, once drawn
};

/// A standard icon of the style, fetched when first asked for: the style reads every size of it at once.
class StyleIconEngine : public QIconEngine
{
public:
    explicit StyleIconEngine(QStyle::StandardPixmap which)
        : m_which(which)
    { }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new StyleIconEngine(*this); }

private:
    const QIcon& icon()
    {
        if (!m_fetched) {
            m_icon = QApplication::style()->standardIcon(m_which);
            m_fetched = true;
        }
        return m_icon;
    }

    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_fetched = false;
};

/// Puts the picture on its label when the label is about to be shown for the first time, then goes away.
class PictureOnShow : public QObject
{
public:
    PictureOnShow(QLabel* label, const QString& name, const QSize& size)
        : QObject(label)
        , m_name(name)
        , m_size(size)
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Polish comes before the first show and before the label's size is worked out for a layout.
        if (event->type() == QEvent::Polish || event->type() == QEvent::Show) {
            auto* label = static_cast<QLabel*>(watched);
            label->removeEventFilter(this);
            label->setPixmap(Images::pixmap(m_name, m_size));
            deleteLater();
        }
        return false;
    }

private:
    QString m_name;
    QSize m_size;
};

} // namespace

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
    return QIcon(new SvgIconEngine(name));
}

QIcon standardIcon(QStyle::StandardPixmap which)
{
    return QIcon(new StyleIconEngine(which));
}

void setPicture(QLabel* label, const QString& name, const QSize& size)
{
    if (label->isVisible())
        label->setPixmap(pixmap(name, size));
    else
        new PictureOnShow(label, name, size);
}

} // namespace Images
