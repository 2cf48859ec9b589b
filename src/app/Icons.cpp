#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QIcon MakeIcon(IconKind kind) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 60, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (kind) {
        case IconKind::Play:
            p.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
            break;
        case IconKind::Stop: p.drawRect(8, 8, 16, 16); break;
        case IconKind::SelectAll:
            p.drawRect(14, 6, 4, 20);
            p.drawRect(6, 14, 20, 4);
            break;
        case IconKind::DeselectAll: p.drawRect(6, 14, 20, 4); break;
        case IconKind::Options: {
            p.setPen(QPen(ink, 4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(16, 16), 8, 8);
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(16, 16);
                p.rotate(45.0 * i);
                p.drawLine(QPointF(0, 10), QPointF(0, 14));
                p.restore();
            }
            break;
        }
        case IconKind::Program: {
            // Seven lanes with falling notes.
            p.setBrush(QColor(20, 20, 30));
            p.drawRoundedRect(1, 1, 30, 30, 5, 5);
            const QColor notes[] = {QColor(255, 90, 90), QColor(90, 200, 255), QColor(255, 210, 70)};
            for (int lane = 0; lane < 7; ++lane) {
                p.setBrush(notes[lane % 3]);
                p.drawRect(3 + lane * 4, 6 + (lane * 7) % 18, 3, 5);
            }
            break;
        }
    }
    return QIcon(pixmap);
}
