// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/TApplication.h"
#include "framework/THintWindow.h"
#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QBrush>
#include <QObject>
#include <QPen>
#include <QRegion>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;

// Shape of the application's hints.
enum THintStyle : std::uint8_t {
    hsFukidashi = 0, // speech balloon with a pointer tab on top
    hsRoundRect = 1, // rounded rectangle
    hsLineString = 2, // text alone with a leader line, no box
    hsOwnerDraw = 3, // drawn by TAppHint::OnPaint
};

// The outline pen of the hints: colour, line style and width (0 and 1 are both one pixel).
class THintPen
{
public:
    enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value) { FStyle = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }

    QPen ToQPen() const;

private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

// The fill of the hints: colour and style (solid, none or a hatch).
class THintBrush
{
public:
    enum TBrushStyle : std::uint8_t {
        bsSolid,
        bsClear,
        bsHorizontal,
        bsVertical,
        bsFDiagonal,
        bsBDiagonal,
        bsCross,
        bsDiagCross,
    };

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value) { FStyle = value; }

    QBrush ToQBrush() const;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Draws an hsOwnerDraw hint: the text, the hint window's canvas and the window's size.
using THintPaintEvent =
    std::function<void(const QString& HintStr, QPainter* Canvas, int Width, int Height)>;

// The hint settings of the application. Placing one makes every hint appear in a THintEx
// window drawn with these settings; the last one made is the current one. The pauses are the
// application's own. Call Loaded() once the properties are set, as the form's loading does: it
// connects the application's hint events, which place every hint 8 pixels higher.
class TAppHint : public QObject
{
    Q_OBJECT

public:
    // At design time only one instance may exist; a second is refused.
    explicit TAppHint(QObject* owner = nullptr, bool designing = false);
    ~TAppHint() override;

    void Loaded();

    // The instance THintEx windows read their settings from, or null.
    static TAppHint* Current();

    TColor BGColor() const { return FBGColor; }
    void SetBGColor(TColor value) { FBGColor = value; }

    THintBrush* Brush() const { return FBrush.get(); }

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont& value);

    THintStyle HintStyle() const { return FHintStyle; }
    void SetHintStyle(THintStyle value);

    THintPen* Pen() const { return FPen.get(); }

    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value) { FShadowColor = value; }

    bool ShadowVisible() const { return FShadowVisible; }
    void SetShadowVisible(bool value) { FShadowVisible = value; }

    int HintPause() const;
    void SetHintPause(int value);
    int HintHidePause() const;
    void SetHintHidePause(int value);
    int HintShortPause() const;
    void SetHintShortPause(int value);

    // Handler of Font changes: the next hint is made with the new font.
    void FontChange();
    // The application's hint event: forwards to OnHint.
    void DoHint(QObject* Sender);
    // The application's show-hint event: lifts the hint 8 pixels, then calls OnShowHint.
    void ShowHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo);

    std::function<void(QObject* Sender)> OnHint;
    THintPaintEvent OnPaint;
    TApplication::TShowHintEvent OnShowHint;

private:
    void InstallHintWindow();

    bool FDesigning;
    TColor FBGColor = clBlack;
    std::unique_ptr<THintBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    THintStyle FHintStyle = hsFukidashi;
    std::unique_ptr<THintPen> FPen;
    TColor FShadowColor = clBlue;
    bool FShadowVisible = true;
};

// The hint window that TAppHint installs: borderless, shaped by the current TAppHint's style
// through the window mask, and painted with its colours, pen, font and text shadow.
class THintEx : public THintWindow
{
    Q_OBJECT

public:
    explicit THintEx(QWidget* parent = nullptr);

    void ActivateHint(QRect rect, const QString& hint) override;
    void DestroyWindowHandle() override;

    // The last activation's rectangle after the style's enlargement.
    QRect SavedRect() const { return FSavedRect; }
    // The shape given to the window; empty when it has none.
    QRegion WindowRegion() const { return FRegion; }
    // The balloon outline of hsFukidashi.
    const std::array<QPoint, 8>& BalloonPoints() const { return FBalloon; }

    // The shape of a hint window: its size after the style's enlargement, the window region
    // and, for the balloon, the outline.
    struct TShape
    {
        QSize Size;
        QRegion Region;
        std::array<QPoint, 8> Balloon {};
    };
    // The shape for a hint of `Style` in the framework's rectangle of size `Size`; none for an
    // owner-drawn hint, which keeps the plain window.
    static std::optional<TShape> ShapeFor(THintStyle Style, QSize Size);

protected:
    bool HasBorder() const override { return false; }
    void EraseBackground(QPainter& canvas) override;
    void Paint(QPainter& canvas) override;

private:
    void DrawHintText(QPainter& canvas, const TAppHint& hint, std::initializer_list<QPoint> shadows,
                      QPoint offset) const;
    void FillThenClear(QPainter& canvas, const QBrush& brush) const;
    void PaintBalloon(QPainter& canvas, const TAppHint& hint, const QBrush& brush,
                      const QPen& pen) const;
    void PaintRoundRect(QPainter& canvas, const TAppHint& hint, const QBrush& brush,
                        const QPen& pen) const;
    void PaintLineString(QPainter& canvas, const TAppHint& hint, const QPen& pen) const;

    QRect FSavedRect;
    QRegion FRegion;
    std::array<QPoint, 8> FBalloon {};
};
