// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LogoPainter.h"
#include "render/TextPlacement.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QImage Noise(QSize size, unsigned seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = random() | 0xFF000000u;
    }
    return image;
}

// `placement` drawn inside `area` of a black picture, white letters.
QImage Drawn(const TextPlacement& placement, QSize size, const QRect& area)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setClipRect(area);
    painter.setFont(placement.font);
    placement.Draw(painter, {}, Qt::white);
    return image;
}

QString Repeated(const QString& piece, int length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

} // namespace

class tst_LargeInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // A corner of a scaled texture is the same pixels as that corner of the whole scaled.
    void textureCornerMatchesTheWholeScaled_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("texture");
        QTest::addColumn<QSize>("corner");
        QTest::newRow("2, a small corner") << 2 << QSize(301, 257) << QSize(75, 41);
        QTest::newRow("3, odd scale") << 3 << QSize(301, 257) << QSize(200, 333);
        QTest::newRow("5, corner on a pixel edge") << 5 << QSize(120, 90) << QSize(250, 100);
        QTest::newRow("7, one pixel") << 7 << QSize(64, 64) << QSize(1, 1);
        QTest::newRow("8, wider than the texture") << 8 << QSize(40, 300) << QSize(900, 64);
        QTest::newRow("1, the texture itself") << 1 << QSize(40, 30) << QSize(10, 10);
    }

    void textureCornerMatchesTheWholeScaled()
    {
        QFETCH(int, scale);
        QFETCH(QSize, texture);
        QFETCH(QSize, corner);
        const QImage source = Noise(texture, 7);
        const QImage whole =
            source.scaled(texture * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage part = LogoPainter::ScaledCorner(source, scale, corner);
        const QRect wanted = QRect(QPoint(), corner).intersected(whole.rect());
        QVERIFY(part.rect().contains(wanted));
        QCOMPARE(part.copy(wanted), whole.copy(wanted));
        // a texture far larger than the corner is not scaled whole
        QVERIFY(part.width() <= corner.width() + 3 * scale || part.width() == whole.width());
    }

    // A long caption cut to what can show draws the same pixels there as the whole caption.
    void longCaptionsDrawOnlyWhatShowsTheSame_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("shift");
        QTest::newRow("latin, upright")
            << Repeated(u"Tamrin Quilvoro "_s, 5000) << u"DejaVu Sans"_s << 40 << 0 << 0;
        QTest::newRow("latin, turned")
            << Repeated(u"AVAWAY To. "_s, 4000) << u"DejaVu Serif"_s << 31 << 33 << 200;
        QTest::newRow("kana and kanji, upside down")
            << Repeated(u"ロゴ漢字のテスト"_s, 3000) << u"IPAPGothic"_s << 53 << 180 << -900;
        QTest::newRow("combining marks")
            << Repeated(u"e\u0301a\u0308o\u0327 "_s, 6000) << u"DejaVu Sans"_s << 24 << 90 << 77;
        QTest::newRow("short: drawn whole") << u"Tamrin"_s << u"DejaVu Sans"_s << 40 << 10 << 0;
    }

    void longCaptionsDrawOnlyWhatShowsTheSame()
    {
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(int, pixels);
        QFETCH(int, angle);
        QFETCH(int, shift);
        QFont font(face);
        font.setPixelSize(pixels);
        TextPlacement whole;
        whole.text = text;
        whole.font = font;
        whole.baseline = QFontMetrics(font).ascent();
        whole.escapement = angle;
        // the caption centred on the picture, as a label places it
        const QSize size(592, 360);
        const int width = QFontMetrics(font).horizontalAdvance(text);
        whole.origin =
            LogoPainter::TextOrigin(size, QSize(width, QFontMetrics(font).height()), angle)
            + QPoint(shift, 0);
        const QRect area(10, 10, 572, 340);
        const TextPlacement part = whole.Within(area, 0);
        if (text.size() > TextPlacement::kDrawnWhole)
            QVERIFY2(part.text.size() < text.size() / 4,
                     qPrintable(QString::number(part.text.size())));
        QCOMPARE(Drawn(part, size, area), Drawn(whole, size, area));
    }
};

QUILVORO_APP_TEST_MAIN(tst_LargeInputs)
#include "tst_LargeInputs.moc"
