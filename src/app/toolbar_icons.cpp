#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace torvane {

namespace {

// Every picture is drawn on a 32 x 32 grid and scaled to the size asked for.
using Drawing = std::function<void(QPainter&)>;

const QColor kInk(45, 45, 60);

void outline(QPainter& p, const QColor& fill, qreal width = 1.5) {
    p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void glyph(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, int px) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void page(QPainter& p, const QColor& fill) {
    QPainterPath path;
    path.moveTo(7, 3);
    path.lineTo(20, 3);
    path.lineTo(26, 9);
    path.lineTo(26, 29);
    path.lineTo(7, 29);
    path.closeSubpath();
    outline(p, fill);
    p.drawPath(path);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

Drawing documentWith(const QString& text, const QColor& colour) {
    return [=](QPainter& p) {
        page(p, Qt::white);
        glyph(p, QRectF(7, 10, 19, 18), text, colour, 13);
    };
}

Drawing listOf(const QColor& colour) {
    return [=](QPainter& p) {
        page(p, QColor(250, 250, 245));
        p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int y = 12; y <= 25; y += 4) {
            p.drawPoint(QPointF(11, y));
            p.drawLine(QPointF(14, y), QPointF(23, y));
        }
    };
}

void person(QPainter& p, const QColor& colour, qreal dx = 0, qreal scale = 1) {
    outline(p, colour);
    p.drawEllipse(QPointF(16 + dx, 10 * scale + (1 - scale) * 16), 5.5 * scale, 5.5 * scale);
    QPainterPath body;
    body.moveTo(6 + dx, 29);
    body.cubicTo(6 + dx, 18, 26 + dx, 18, 26 + dx, 29);
    body.closeSubpath();
    p.drawPath(body);
}

void truckBody(QPainter& p, const QColor& colour) {
    outline(p, colour);
    p.drawRect(QRectF(3, 9, 16, 13));
    QPainterPath cab;
    cab.moveTo(19, 13);
    cab.lineTo(25, 13);
    cab.lineTo(29, 18);
    cab.lineTo(29, 22);
    cab.lineTo(19, 22);
    cab.closeSubpath();
    p.drawPath(cab);
    p.setBrush(QColor(190, 225, 250));
    p.drawRect(QRectF(21, 15, 4, 3));
    outline(p, QColor(60, 60, 60));
    p.drawEllipse(QPointF(9, 24), 3, 3);
    p.drawEllipse(QPointF(24, 24), 3, 3);
}

void carBody(QPainter& p, const QColor& colour) {
    outline(p, colour);
    QPainterPath body;
    body.moveTo(3, 22);
    body.lineTo(3, 17);
    body.lineTo(8, 16);
    body.lineTo(12, 10);
    body.lineTo(22, 10);
    body.lineTo(26, 16);
    body.lineTo(29, 17);
    body.lineTo(29, 22);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(190, 225, 250));
    p.drawRect(QRectF(12.5, 12, 4, 4));
    p.drawRect(QRectF(18, 12, 4, 4));
    outline(p, QColor(60, 60, 60));
    p.drawEllipse(QPointF(9, 22), 3.2, 3.2);
    p.drawEllipse(QPointF(23, 22), 3.2, 3.2);
}

void coin(QPainter& p, const QPointF& c, qreal r) {
    outline(p, QColor(245, 200, 60));
    p.drawEllipse(c, r, r);
    glyph(p, QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), QStringLiteral("€"), QColor(120, 80, 0),
          static_cast<int>(r * 1.3));
}

const std::map<QString, Drawing>& drawings() {
    static const std::map<QString, Drawing> all = {
        {QStringLiteral("btnNuevo"),
         [](QPainter& p) {
             page(p, Qt::white);
             glyph(p, QRectF(8, 12, 18, 16), QStringLiteral("+"), QColor(30, 140, 50), 20);
         }},
        {QStringLiteral("btnAbrir"),
         [](QPainter& p) {
             outline(p, QColor(230, 180, 60));
             p.drawRect(QRectF(3, 8, 24, 19));
             p.drawRect(QRectF(3, 5, 10, 3));
             QPainterPath flap;
             flap.moveTo(3, 27);
             flap.lineTo(8, 14);
             flap.lineTo(30, 14);
             flap.lineTo(27, 27);
             flap.closeSubpath();
             outline(p, QColor(250, 210, 90));
             p.drawPath(flap);
         }},
        {QStringLiteral("btnClientes"), [](QPainter& p) { person(p, QColor(70, 130, 210)); }},
        {QStringLiteral("btnProveedores"), [](QPainter& p) { truckBody(p, QColor(210, 140, 60)); }},
        {QStringLiteral("btnOperarios"),
         [](QPainter& p) {
             person(p, QColor(240, 150, 40));
             outline(p, QColor(250, 210, 40));
             p.drawChord(QRectF(9.5, 2.5, 13, 10), 0, 180 * 16);
         }},
        {QStringLiteral("btnAlmacen"),
         [](QPainter& p) {
             outline(p, QColor(150, 110, 70));
             p.drawRect(QRectF(3, 3, 26, 26));
             p.drawLine(QPointF(3, 16), QPointF(29, 16));
             outline(p, QColor(220, 180, 120));
             p.drawRect(QRectF(6, 8, 8, 8));
             p.drawRect(QRectF(16, 10, 9, 6));
             p.drawRect(QRectF(7, 21, 11, 8));
         }},
        {QStringLiteral("btnFamilias"),
         [](QPainter& p) {
             outline(p, QColor(120, 190, 120));
             p.drawRect(QRectF(4, 4, 10, 8));
             p.drawLine(QPointF(9, 12), QPointF(9, 25));
             p.drawLine(QPointF(9, 17), QPointF(17, 17));
             p.drawLine(QPointF(9, 25), QPointF(17, 25));
             outline(p, QColor(160, 210, 240));
             p.drawRect(QRectF(17, 13, 11, 8));
             p.drawRect(QRectF(17, 21, 11, 8));
         }},
        {QStringLiteral("btnArticulos"),
         [](QPainter& p) {
             outline(p, QColor(170, 175, 190));
             QPainterPath gear;
             for (int i = 0; i < 8; ++i) {
                 QTransform t;
                 t.translate(16, 16);
                 t.rotate(i * 45);
                 gear.addPolygon(t.map(QPolygonF(QRectF(-3, -14, 6, 8))));
             }
             gear.addEllipse(QPointF(16, 16), 10, 10);
             gear.setFillRule(Qt::WindingFill);
             p.drawPath(gear.simplified());
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(16, 16), 4, 4);
         }},
        {QStringLiteral("btnCobros"),
         [](QPainter& p) {
             coin(p, QPointF(12, 19), 9);
             coin(p, QPointF(20, 12), 9);
         }},
        {QStringLiteral("btnOrdTrabajo"),
         [](QPainter& p) {
             carBody(p, QColor(200, 60, 60));
             outline(p, QColor(170, 175, 190), 1.2);
             p.drawRect(QRectF(21, 1, 4, 9));
             p.drawEllipse(QPointF(23, 3), 4, 3);
         }},
        {QStringLiteral("btnListOdt"), listOf(QColor(200, 60, 60))},
        {QStringLiteral("btnVRecambios"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(QColor(110, 170, 230));
             QPainterPath cart;
             cart.moveTo(2, 5);
             cart.lineTo(7, 5);
             cart.lineTo(10, 20);
             cart.lineTo(26, 20);
             cart.lineTo(29, 9);
             cart.lineTo(8, 9);
             p.drawPath(cart);
             p.setBrush(kInk);
             p.drawEllipse(QPointF(12, 26), 2.2, 2.2);
             p.drawEllipse(QPointF(24, 26), 2.2, 2.2);
         }},
        {QStringLiteral("btnLVRecambios"), listOf(QColor(60, 120, 200))},
        {QStringLiteral("btnCompras"),
         [](QPainter& p) {
             outline(p, QColor(210, 170, 110));
             p.drawRect(QRectF(4, 14, 24, 15));
             p.drawLine(QPointF(4, 19), QPointF(28, 19));
             p.setPen(QPen(QColor(30, 140, 50), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawLine(QPointF(16, 2), QPointF(16, 13));
             p.drawLine(QPointF(11, 8), QPointF(16, 13));
             p.drawLine(QPointF(21, 8), QPointF(16, 13));
         }},
        {QStringLiteral("btnLCompras"), listOf(QColor(150, 110, 70))},
        {QStringLiteral("btnFacturasLibres"),
         documentWith(QStringLiteral("F"), QColor(120, 60, 170))},
        {QStringLiteral("btnLFacLibres"), listOf(QColor(120, 60, 170))},
        {QStringLiteral("btnAseguradoras"),
         [](QPainter& p) {
             QPainterPath shield;
             shield.moveTo(16, 3);
             shield.lineTo(28, 7);
             shield.cubicTo(28, 19, 23, 25, 16, 30);
             shield.cubicTo(9, 25, 4, 19, 4, 7);
             shield.closeSubpath();
             outline(p, QColor(60, 150, 110));
             p.drawPath(shield);
             glyph(p, QRectF(4, 6, 24, 20), QStringLiteral("✓"), Qt::white, 16);
         }},
        {QStringLiteral("btnPartesGrua"),
         [](QPainter& p) {
             truckBody(p, QColor(230, 190, 40));
             p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 9), QPointF(1, 3));
             p.drawLine(QPointF(1, 3), QPointF(1, 10));
             p.drawArc(QRectF(-1, 9, 4, 4), 0, -180 * 16);
         }},
        {QStringLiteral("btnRecibos"),
         [](QPainter& p) {
             outline(p, QColor(200, 205, 215));
             QPolygonF roof({QPointF(3, 11), QPointF(16, 3), QPointF(29, 11)});
             p.drawPolygon(roof);
             for (int x = 6; x <= 24; x += 6) p.drawRect(QRectF(x, 12, 3, 12));
             p.drawRect(QRectF(3, 25, 26, 4));
         }},
        {QStringLiteral("btnListaRecibos"), listOf(QColor(40, 150, 150))},
        {QStringLiteral("btnFacturasComisiones"),
         documentWith(QStringLiteral("%"), QColor(220, 120, 30))},
        {QStringLiteral("btnLFComisiones"), listOf(QColor(220, 120, 30))},
        {QStringLiteral("btnVentaVehiculos"),
         [](QPainter& p) {
             carBody(p, QColor(60, 140, 200));
             coin(p, QPointF(24, 8), 7);
         }},
        {QStringLiteral("btnOtros"),
         [](QPainter& p) {
             outline(p, QColor(200, 60, 60));
             p.drawRect(QRectF(3, 12, 26, 16));
             p.drawRect(QRectF(11, 7, 10, 5));
             p.drawLine(QPointF(3, 18), QPointF(29, 18));
             outline(p, QColor(230, 230, 230));
             p.drawRect(QRectF(14, 16, 4, 4));
         }},
        {QStringLiteral("btnSalir"),
         [](QPainter& p) {
             outline(p, QColor(160, 110, 70));
             p.drawRect(QRectF(5, 3, 15, 26));
             p.setBrush(kInk);
             p.drawEllipse(QPointF(16, 17), 1.2, 1.2);
             p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawLine(QPointF(19, 16), QPointF(30, 16));
             p.drawLine(QPointF(25, 11), QPointF(30, 16));
             p.drawLine(QPointF(25, 21), QPointF(30, 16));
         }},
    };
    return all;
}

QPixmap render(const Drawing& draw, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pm;
}

}  // namespace

QIcon toolbarIcon(const QString& buttonName) {
    const auto& all = drawings();
    const auto it = all.find(buttonName);
    if (it == all.end()) return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(render(it->second, size));
    return icon;
}

QPixmap toolbarBackgroundTile() {
    // A soft diagonal weave, light enough for the button texts to stay readable.
    QPixmap tile(16, 16);
    tile.fill(QColor(232, 236, 243));
    QPainter p(&tile);
    p.setPen(QColor(220, 226, 236));
    p.drawLine(0, 15, 15, 0);
    p.drawLine(0, 7, 7, 0);
    p.drawLine(8, 15, 15, 8);
    return tile;
}

}  // namespace torvane
