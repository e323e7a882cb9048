// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the window's artwork: the 562 x 163 header picture (8 bits per pixel) and the 32 x 32
// window icon (256 colours), and the desktop's icons at each size of the hicolor theme. Run:
// quilvoro-artwork RESOURCEDIR ICONDIR (src/app/resources and data/icons); the results are
// committed.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void DrawStars(QPainter& p, QSize size, int count, quint32 seed)
{
    QRandomGenerator rng(seed);
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
        const int level = 120 + rng.bounded(136);
        const double radius = rng.bounded(100) < 8 ? 1.3 : 0.6;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(level, level, qMin(255, level + 30)));
        p.drawEllipse(at, radius, radius);
    }
}

// A deep-space band: night gradient, a nebula, stars, a ringed planet and a ship's trail
// leaving toward the upper right.
QImage HeaderPicture()
{
    const QSize size(562, 163);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient night(0, 0, 0, size.height());
    night.setColorAt(0.0, QColor(4, 8, 36));
    night.setColorAt(0.55, QColor(14, 34, 92));
    night.setColorAt(1.0, QColor(52, 96, 168));
    p.fillRect(image.rect(), night);

    QRadialGradient nebula(QPointF(150, 70), 140);
    nebula.setColorAt(0.0, QColor(150, 90, 200, 120));
    nebula.setColorAt(0.5, QColor(60, 60, 170, 60));
    nebula.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(image.rect(), nebula);

    DrawStars(p, size, 260, 20261207);

    // The planet with its ring: the far half of the ring behind the body, the near half over it.
    const QPointF centre(440, 118);
    auto drawRing = [&](int startDegrees) {
        p.save();
        p.translate(centre);
        p.rotate(-14);
        p.setPen(QPen(QColor(230, 210, 170, 200), 5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-88, -18, 176, 36), startDegrees * 16, 180 * 16);
        p.restore();
    };
    drawRing(0);
    QRadialGradient body(centre + QPointF(-18, -18), 70);
    body.setColorAt(0.0, QColor(255, 226, 170));
    body.setColorAt(0.6, QColor(214, 120, 60));
    body.setColorAt(1.0, QColor(60, 20, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, 52, 52);
    drawRing(180);

    // A ship's trail, leaving.
    QPainterPath trail;
    trail.moveTo(20, 150);
    trail.cubicTo(160, 140, 260, 80, 330, 22);
    QLinearGradient glow(20, 150, 330, 22);
    glow.setColorAt(0.0, QColor(120, 200, 255, 0));
    glow.setColorAt(1.0, QColor(220, 245, 255, 230));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(glow), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(trail);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(330, 22), 2.6, 2.6);
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
}

// A silver "Q" with a deep navy shadow on a night-blue tile, drawn for a side of `size` pixels:
// the shadow keeps its depth in proportion but gains layers so it stays smooth, the border stays
// one device pixel or more, and from 64 pixels up the tile has room for a few stars.
QImage ProgramIcon(int size)
{
    const double s = size / 32.0;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, QColor(20, 40, 110));
    tile.setColorAt(1, QColor(4, 8, 36));
    const double border = std::max(1.0, std::round(s));
    p.setPen(QPen(QColor(90, 130, 220), border));
    p.setBrush(tile);
    const QRectF frame(border / 2, border / 2, size - border, size - border);
    p.drawRoundedRect(frame, 6 * s, 6 * s);
    if (size >= 64) {
        p.save();
        QPainterPath inside;
        inside.addRoundedRect(frame.adjusted(border, border, -border, -border), 6 * s, 6 * s);
        p.setClipPath(inside);
        DrawStars(p, QSize(size, size), size / 6, 20261207 + size);
        p.restore();
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(std::lround(26 * s)));
    font.setBold(true);
    QPainterPath q;
    q.addText(0, 0, font, QStringLiteral("Q"));
    const QRectF box = q.boundingRect();
    q.translate(size / 2.0 - box.center().x(), size / 2.0 - box.center().y());
    const double depth = 2.8 * s;
    const int layers = std::max(2, int(std::ceil(depth / 0.7)));
    for (int i = layers; i >= 1; --i) {
        const double d = depth * i / layers;
        p.fillPath(q.translated(d, d), QColor(0, 0, 60 + 60 * (layers - i) / (layers - 1)));
    }
    QLinearGradient silver(0, 4 * s, 0, 28 * s);
    silver.setColorAt(0, Qt::white);
    silver.setColorAt(1, QColor(150, 170, 200));
    p.fillPath(q, silver);
    p.end();
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quilvoro-artwork RESOURCEDIR ICONDIR\n");
        return 2;
    }
    const QString resources = QString::fromLocal8Bit(argv[1]);
    const QString icons = QString::fromLocal8Bit(argv[2]);
    bool ok = HeaderPicture().save(resources + QStringLiteral("/header.bmp"), "BMP")
        && ProgramIcon(32)
               .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
               .save(resources + QStringLiteral("/quilvoro.png"), "PNG");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = icons + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
        ok = ok && QDir().mkpath(dir)
            && ProgramIcon(size).save(dir + QStringLiteral("/quilvoro.png"), "PNG");
    }
    return ok ? 0 : 1;
}
