#include "ButtonPictures.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace platform::qt {
namespace {

using Painter = std::function<void(QPainter &)>; // draws on a 16 x 16 canvas

// Paints the picture at whatever pixel size Qt asks for, so nothing is ever scaled up.
class DrawnIconEngine : public QIconEngine
{
public:
    explicit DrawnIconEngine(Painter draw) : draw_(std::move(draw)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        draw_(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    // The sizes worth drawing ahead: a window icon is drawn at each size listed here, and an
    // empty list makes the platform draw six sizes up to 128 pixels at start-up. A button asks
    // for its own size whatever this says.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }

    QIconEngine *clone() const override { return new DrawnIconEngine(draw_); }

private:
    Painter draw_;
};

QIcon drawn(Painter draw) { return QIcon(new DrawnIconEngine(std::move(draw))); }

const QColor ink(0, 0, 128);
const QColor paper(255, 255, 255);

void page(QPainter &p, QRectF r)
{
    p.setPen(QPen(ink, 1.0));
    p.setBrush(paper);
    p.drawRect(r);
}

// Navy ink stands at about 2:1 on a dark theme's button face: a picture drawn straight on the
// face gets a white plate of its own there (the others are drawn on white paper already).
void plateOnDarkFace(QPainter &p)
{
    if (QGuiApplication::palette().color(QPalette::Button).lightnessF() >= 0.5f)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
}

} // namespace

QIcon backspacePicture()
{
    return drawn([](QPainter &p) {
        QPainterPath arrow;
        arrow.moveTo(1.5, 8);
        arrow.lineTo(6, 3.5);
        arrow.lineTo(14.5, 3.5);
        arrow.lineTo(14.5, 12.5);
        arrow.lineTo(6, 12.5);
        arrow.closeSubpath();
        p.setPen(QPen(ink, 1.2));
        p.setBrush(paper);
        p.drawPath(arrow);
        p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 6), QPointF(12, 10));
        p.drawLine(QPointF(12, 6), QPointF(8, 10));
    });
}

QIcon sendResultPicture()
{
    return drawn([](QPainter &p) {
        plateOnDarkFace(p);
        // An arrow turning down and left: the result goes back into the expression box.
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath bend;
        bend.moveTo(13, 2.5);
        bend.lineTo(13, 9.5);
        bend.lineTo(4, 9.5);
        p.drawPath(bend);
        QPainterPath head;
        head.moveTo(6.5, 6.5);
        head.lineTo(3, 9.5);
        head.lineTo(6.5, 12.5);
        p.drawPath(head);
    });
}

QIcon copyResultPicture()
{
    return drawn([](QPainter &p) {
        page(p, QRectF(1.5, 1.5, 9, 10));
        page(p, QRectF(5.5, 4.5, 9, 10));
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(7.5, 8), QPointF(12.5, 8));
        p.drawLine(QPointF(7.5, 11), QPointF(12.5, 11));
    });
}

QIcon copyExpressionAndResultPicture()
{
    return drawn([](QPainter &p) {
        page(p, QRectF(1.5, 1.5, 9, 10));
        page(p, QRectF(5.5, 4.5, 9, 10));
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(7, 7.5), QPointF(9, 7.5)); // a small "+"
        p.drawLine(QPointF(8, 6.5), QPointF(8, 8.5));
        p.drawLine(QPointF(10.5, 7), QPointF(13, 7)); // "="
        p.drawLine(QPointF(10.5, 9), QPointF(13, 9));
        p.drawLine(QPointF(7, 12), QPointF(13, 12));
    });
}

QIcon applicationIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(QPen(ink, 1.0));
        p.setBrush(QColor(236, 240, 250));
        p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
        p.setBrush(QColor(255, 255, 225));
        p.drawRect(QRectF(4.5, 2.5, 7, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(4.5 + col * 2.5, 7.5 + row * 2.5, 1.8, 1.6));
    });
}

} // namespace platform::qt
