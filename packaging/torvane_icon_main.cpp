// Build step: draws the program's icon (a car on a workshop-blue tile with a spanner) as
// PNG files of the usual hicolor sizes: torvane-icon OUTDIR writes OUTDIR/NxN/torvane.png.
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kInk(35, 40, 55);

// Drawn on a 256 x 256 grid and scaled to the size asked for.
void draw(QPainter& p) {
    // The tile.
    QLinearGradient sky(0, 0, 0, 256);
    sky.setColorAt(0, QColor(52, 120, 196));
    sky.setColorAt(1, QColor(24, 68, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The car, from the side.
    QPainterPath body;
    body.moveTo(28, 170);
    body.lineTo(28, 140);
    body.cubicTo(28, 128, 36, 122, 52, 120);
    body.lineTo(78, 116);
    body.lineTo(104, 84);
    body.cubicTo(110, 78, 116, 76, 126, 76);
    body.lineTo(172, 76);
    body.cubicTo(182, 76, 188, 80, 194, 88);
    body.lineTo(214, 116);
    body.cubicTo(226, 118, 230, 126, 230, 138);
    body.lineTo(230, 170);
    body.closeSubpath();
    p.setPen(QPen(kInk, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(245, 245, 240));
    p.drawPath(body);
    // Windows.
    p.setBrush(QColor(150, 200, 235));
    QPainterPath front;
    front.moveTo(112, 114);
    front.lineTo(130, 90);
    front.lineTo(150, 90);
    front.lineTo(150, 114);
    front.closeSubpath();
    QPainterPath rear;
    rear.moveTo(164, 114);
    rear.lineTo(164, 90);
    rear.lineTo(178, 90);
    rear.lineTo(196, 114);
    rear.closeSubpath();
    p.drawPath(front);
    p.drawPath(rear);
    // Wheels.
    for (const qreal x : {74.0, 186.0}) {
        p.setBrush(kInk);
        p.drawEllipse(QPointF(x, 172), 26, 26);
        p.setBrush(QColor(200, 200, 205));
        p.drawEllipse(QPointF(x, 172), 10, 10);
    }

    // The spanner across the lower corner.
    p.save();
    p.translate(180, 208);
    p.rotate(-35);
    QPainterPath spanner;
    spanner.addRoundedRect(QRectF(-58, -9, 100, 18), 9, 9);
    QPainterPath jaw;
    jaw.addEllipse(QPointF(50, 0), 24, 24);
    QPainterPath mouth;
    mouth.addRect(QRectF(52, -9, 30, 18));
    spanner = spanner.united(jaw).subtracted(mouth);
    p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(244, 160, 40));
    p.drawPath(spanner);
    p.restore();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Uso: torvane-icon CARPETA\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / 256.0, size / 256.0);
            draw(p);
        }
        const QString folder = QStringLiteral("%1x%1").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/torvane.png"));
        if (!out.mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "No se puede escribir %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
