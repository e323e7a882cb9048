// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineButtonPainter.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cstdlib>

Q_DECLARE_METATYPE(TShineDrawState)

namespace {

constexpr TColor kBack = 0x00404040;

// A look with its own colour for every frame line and caption ink, so that a pixel tells which
// one was drawn.
TShineButtonLook DistinctLook(TShineDrawState state)
{
    TShineButtonLook look;
    look.Size = QSize(60, 24);
    look.State = state;
    look.FrameType = ftFlatFrame;
    look.Colors = {kBack, clBlue, false, false, clRed, clLime, clBlue};
    look.PressedColors = {kBack, clBlue, false, false, clYellow, clAqua, clFuchsia};
    look.Font.Color = clWhite;
    look.ActiveFont.Color = clYellow;
    return look;
}

QImage Painted(const TShineButtonLook& look)
{
    QImage shot(look.Size, QImage::Format_RGB32);
    shot.fill(Qt::magenta);
    QPainter painter(&shot);
    TShineButtonPainter(look).Paint(painter);
    return shot;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// Whether some pixel is close to `colour`; text edges are antialiased.
bool Shows(const QImage& image, TColor colour)
{
    const QRgb want = ColorToPixel(colour);
    auto near = [](int a, int b) {
        return std::abs(a - b) < 40;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (near(qRed(p), qRed(want)) && near(qGreen(p), qGreen(want))
                && near(qBlue(p), qBlue(want)))
                return true;
        }
    }
    return false;
}

} // namespace

// Paints looks that a live button reaches only through mouse and focus, straight from values.
class tst_ShineButtonPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void eachStateAsksItsOwnFrameSwitch_data()
    {
        QTest::addColumn<TShineDrawState>("state");
        QTest::addColumn<bool>("upFrame");
        QTest::addColumn<bool>("downFrame");
        QTest::addColumn<bool>("activeFrame");
        QTest::addColumn<TColor>("corner");
        QTest::newRow("up, up frame") << shsUp << true << false << false << clRed;
        QTest::newRow("up, others only") << shsUp << false << true << true << kBack;
        QTest::newRow("disabled follows the up frame")
            << shsDisabled << true << false << false << clRed;
        QTest::newRow("disabled, no up frame") << shsDisabled << false << true << true << kBack;
        QTest::newRow("up active, active frame") << shsUpActive << false << false << true << clRed;
        QTest::newRow("up active ignores the up frame")
            << shsUpActive << true << true << false << kBack;
        QTest::newRow("down, down frame") << shsDown << false << true << false << clAqua;
        QTest::newRow("down ignores the up frame") << shsDown << true << false << true << kBack;
        QTest::newRow("down active, active frame")
            << shsDownActive << false << false << true << clAqua;
        QTest::newRow("down active ignores the down frame")
            << shsDownActive << true << true << false << kBack;
    }

    void eachStateAsksItsOwnFrameSwitch()
    {
        QFETCH(TShineDrawState, state);
        QFETCH(bool, upFrame);
        QFETCH(bool, downFrame);
        QFETCH(bool, activeFrame);
        QFETCH(TColor, corner);
        TShineButtonLook look = DistinctLook(state);
        look.UpFrame = upFrame;
        look.DownFrame = downFrame;
        look.ActiveFrame = activeFrame;
        QCOMPARE(At(Painted(look), 0, 0), ColorToPixel(corner) & 0xFFFFFF);
    }

    void captionInksFollowTheState_data()
    {
        QTest::addColumn<TShineDrawState>("state");
        QTest::addColumn<QList<TColor>>("shown");
        QTest::addColumn<QList<TColor>>("absent");
        const TColor shadow = clMaroon;
        const TColor highlight = clGreen;
        const TColor disabledShadow = clNavy;
        const TColor disabledHighlight = clTeal;
        QTest::newRow("up: plain font with its shadow and highlight")
            << shsUp << QList<TColor> {clWhite, shadow, highlight}
            << QList<TColor> {clYellow, disabledShadow, disabledHighlight};
        QTest::newRow("active: the active font")
            << shsUpActive << QList<TColor> {clYellow, shadow, highlight}
            << QList<TColor> {clWhite, disabledShadow};
        QTest::newRow("down active: the active font")
            << shsDownActive << QList<TColor> {clYellow} << QList<TColor> {clWhite};
        QTest::newRow("disabled: embossed in the disabled colours alone")
            << shsDisabled << QList<TColor> {disabledShadow, disabledHighlight}
            << QList<TColor> {clWhite, clYellow, shadow, highlight};
    }

    void captionInksFollowTheState()
    {
        QFETCH(TShineDrawState, state);
        QFETCH(QList<TColor>, shown);
        QFETCH(QList<TColor>, absent);
        TShineButtonLook look = DistinctLook(state);
        look.UpFrame = look.DownFrame = look.ActiveFrame = false;
        look.Caption = QStringLiteral("HIH");
        look.Font.Font.setPixelSize(16);
        look.Font.Font.setBold(true);
        look.ActiveFont.Font = look.Font.Font;
        look.FontShadow = clMaroon;
        look.FontHighlight = clGreen;
        look.DisabledShadow = clNavy;
        look.DisabledHighlight = clTeal;
        const QImage shot = Painted(look);
        for (TColor colour : shown)
            QVERIFY2(Shows(shot, colour), qPrintable(QString::number(colour, 16)));
        for (TColor colour : absent)
            QVERIFY2(!Shows(shot, colour), qPrintable(QString::number(colour, 16)));
    }
};

QUILVORO_APP_TEST_MAIN(tst_ShineButtonPainter)
#include "tst_ShineButtonPainter.moc"
