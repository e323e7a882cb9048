// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor a whole-process render is held to: the least a Qt program does to draw text into a
// picture file. It starts Qt Gui without a display, loads the face the logo uses, draws one glyph
// and writes a 1 x 1 PNG.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.setFont(QFont(QStringLiteral("IPAPGothic"), 40));
        painter.setPen(Qt::white);
        painter.drawText(0, 1, QStringLiteral("T"));
    }
    return picture.save(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("floor.png"))
        ? 0
        : 1;
}
