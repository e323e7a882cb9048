// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;

// The edge or corner being dragged, by compass point; SelM moves the whole rectangle.
enum TSelMode : std::uint8_t {
    SelM = 0,
    SelN = 1,
    SelS = 2,
    SelW = 3,
    SelE = 4,
    SelNE = 5,
    SelNW = 6,
    SelSE = 7,
    SelSW = 8,
};

enum TSelOptSet : std::uint8_t {
    ResizeX = 0,
    ResizeY = 1,
    MoveX = 2,
    MoveY = 3,
};

// Set of TSelOptSet, one bit per member (bit value 1 << member).
using TSelOpt = std::uint8_t;

constexpr TSelOpt SelOpt(TSelOptSet member)
{
    return TSelOpt(1u << member);
}
constexpr TSelOpt kAllSelOptions =
    SelOpt(ResizeX) | SelOpt(ResizeY) | SelOpt(MoveX) | SelOpt(MoveY);

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

// A rectangle the user moves and resizes with the mouse inside its parent: eight grips along
// the border, a move zone inside, bounds and minimum sizes. Window-less: it paints its outline
// over whatever its parent shows beneath.
class TSelShape : public QWidget
{
    Q_OBJECT

public:
    using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent =
        std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    explicit TSelShape(QWidget* parent = nullptr);

    // The published fields act at the next mouse event and never repaint.
    int SizeSense() const { return FSizeSense; }
    void SetSizeSense(int value) { FSizeSense = value; }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value) { FMinWidth = value; }
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value) { FMinHeight = value; }
    int MinTop() const { return FMinTop; }
    void SetMinTop(int value) { FMinTop = value; }
    int MinLeft() const { return FMinLeft; }
    void SetMinLeft(int value) { FMinLeft = value; }
    int MaxBottom() const { return FMaxBottom; }
    void SetMaxBottom(int value) { FMaxBottom = value; }
    int MaxRight() const { return FMaxRight; }
    void SetMaxRight(int value) { FMaxRight = value; }
    TSelOpt SelOption() const { return FSelOption; }
    void SetSelOption(TSelOpt value) { FSelOption = value; }

    // Shape settings of the outline; these repaint.
    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor value);
    TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(TPenStyle value);
    int PenWidth() const { return FPenWidth; }
    void SetPenWidth(int value);
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor value);
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle value);

    bool Dragging() const { return FDragging; }
    TSelMode Mode() const { return FMode; }
    QPoint Anchor() const { return {FAnchorX, FAnchorY}; }

    // The zone under a point in the shape's own coordinates, before the option filters.
    TSelMode ZoneAt(QPoint pos) const;
    // The zone with the resizes that `options` forbids turned into moves or single edges.
    static TSelMode FilterMode(TSelMode mode, TSelOpt options);
    static Qt::CursorShape CursorFor(TSelMode mode);

    // Bottom and right limits: the Max bound when it is in force, else the parent's client area.
    int BottomLimit() const;
    int RightLimit() const;

    // Mouse handlers in the shape's own coordinates, as the framework calls them.
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

    // Edge and move changes with the bounds and minimum sizes applied.
    void SelChgTop(int d);
    void SelChgBot(int d);
    void SelChgLft(int d);
    void SelChgRit(int d);
    void SelChgMov(int dx, int dy);

    // Draws the outline in the shape's own coordinates (origin at its top-left pixel).
    void PaintTo(QPainter& painter) const;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint ConfinedPosition(QPoint pos) const;

    int FSizeSense = 5;
    int FMinWidth = 5;
    int FMinHeight = 5;
    int FMinTop = 0;
    int FMinLeft = 0;
    int FMaxBottom = 0;
    int FMaxRight = 0;
    TSelOpt FSelOption = kAllSelOptions;
    bool FDragging = false;
    TSelMode FMode = SelM;
    int FAnchorX = 0;
    int FAnchorY = 0;

    TColor FPenColor = clBlack;
    TPenStyle FPenStyle = psSolid;
    int FPenWidth = 1;
    TColor FBrushColor = clWhite;
    TBrushStyle FBrushStyle = bsClear;
};
