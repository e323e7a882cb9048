// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controls/ShineBtnColors.h"
#include "controls/ShineButtonPainter.h"
#include "controls/ShineTypes.h"
#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QShortcut;
class QTimer;

// The skinned push and toggle button: a window-less child painted on its parent, with up, down,
// mouse-over (active) and disabled looks, gradient backgrounds, three frame styles, glyph
// effects and exclusive or all-up groups among the shine buttons of one parent.
class TShineSpeedButton : public QWidget
{
    Q_OBJECT

public:
    explicit TShineSpeedButton(QWidget* Owner = nullptr);
    ~TShineSpeedButton() override;

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool ClickDownHook() const { return FClickDownHook; }
    void SetClickDownHook(bool value);
    bool AccelCharDown() const { return FAccelCharDown; }
    void SetAccelCharDown(bool value);
    TFrameType FrameType() const { return FLook.FrameType; }
    void SetFrameType(TFrameType value);
    bool Transparent() const { return FLook.Transparent; }
    void SetTransparent(bool value);
    bool ActiveFrame() const { return FLook.ActiveFrame; }
    void SetActiveFrame(bool value);
    bool UpFrame() const { return FLook.UpFrame; }
    void SetUpFrame(bool value);
    bool DownFrame() const { return FLook.DownFrame; }
    void SetDownFrame(bool value);
    TActiveImageType ActiveImage() const { return FLook.ActiveImage; }
    void SetActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return FLook.DisabledImage; }
    void SetDisabledImage(TDisabledImageType value);
    TColor DisabledHighlight() const { return FLook.DisabledHighlight; }
    void SetDisabledHighlight(TColor value);
    TColor DisabledShadow() const { return FLook.DisabledShadow; }
    void SetDisabledShadow(TColor value);
    TShineBtnColors* Colors() const { return FColors.get(); }
    void SetColors(const TShineBtnColors* value);
    TShineBtnColors* PressedColors() const { return FPressedColors.get(); }
    void SetPressedColors(const TShineBtnColors* value);
    TColor ShineColor() const { return FLook.ShineColor; }
    void SetShineColor(TColor value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value);
    TColor FontHighlight() const { return FLook.FontHighlight; }
    void SetFontHighlight(TColor value);
    TColor FontShadow() const { return FLook.FontShadow; }
    void SetFontShadow(TColor value);
    TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(const TFont* value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TButtonLayout Layout() const { return FLook.Layout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FLook.Margin; }
    void SetMargin(int value);
    int Spacing() const { return FLook.Spacing; }
    void SetSpacing(int value);
    const QImage& Glyph() const { return FLook.Glyph; }
    // A null image empties the glyph.
    void SetGlyph(const QImage& value);
    QString Caption() const { return FLook.Caption; }
    void SetCaption(const QString& value);

    TShineDrawState DrawState() const { return FDrawState; }
    bool MouseInside() const { return FMouseInside; }
    bool MouseHeld() const { return FMouseHeld; }
    QTimer* ActiveButtonTimer() const { return FActiveButtonTimer; }

    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseDown;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseUp;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseEnter;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseLeave;

    // Paints the whole button onto `Canvas` (origin at the button's top-left), as a paint event
    // does; a transparent button paints over what the canvas holds.
    void PaintTo(QPainter& Canvas);
    // What the paint draws, as a value.
    TShineButtonLook Look() const;
    // The glyph as the current look draws it, or none for an empty glyph.
    std::optional<TStateGlyph> CreateStateGlyph() const
    {
        return TShineButtonPainter(Look()).CreateStateGlyph();
    }
    // The caption's extent in `CanvasFont` at the button's width; 0 x 0 without a caption.
    QSize MeasureCaption(const QFont& CanvasFont) const
    {
        return TShineButtonPainter(Look()).MeasureCaption(CanvasFont);
    }
    // The painter's layout arithmetic, for callers that know only the button.
    static TDrawPosition CalcDrawPosition(QSize Client, QSize Glyph, QSize Text,
                                          TButtonLayout Layout, int Margin, int Spacing)
    {
        return TShineButtonPainter::CalcDrawPosition(Client, Glyph, Text, Layout, Margin, Spacing);
    }

    virtual void Click();
    virtual void MouseEnter(TShiftState Shift, int X, int Y);
    virtual void MouseLeave(TShiftState Shift, int X, int Y);
    // Re-evaluates whether the pointer is over the button and sends itself enter or leave.
    void UpdateTracking();
    // The 200 ms poll that catches a lost mouse-leave.
    void ActiveButtonTimerOnTimer();
    // An accelerator character; true when it was the caption's and the button took it.
    bool CMDialogChar(QChar Key);

    // Keys and mouse buttons held right now.
    static TShiftState CurrentShiftState();

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool ClientContains(int X, int Y) const
    {
        return X >= 0 && Y >= 0 && X < width() && Y < height();
    }
    void GroupUpdateStatus(int Index);
    void CMButtonPressed(int Index, const TShineSpeedButton* Sender);
    void CMEnabledChanged();
    void CMMouseEnter();
    void CMMouseLeave();
    void WMLButtonDblClick(TShiftState Shift, int X, int Y);
    void GlyphOnChange();
    void FontsAndColorsOnChange() { update(); }
    void UpdateAccelerator();

    // The look's own values; size, state, colours and fonts join them when it is painted.
    TShineButtonLook FLook;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FClickDownHook = false;
    bool FAccelCharDown = false;
    int FGroupIndex = 0;
    std::unique_ptr<TShineBtnColors> FColors;
    std::unique_ptr<TShineBtnColors> FPressedColors;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FActiveFont;
    bool FMouseInside = false;
    bool FMouseHeld = false;
    TShineDrawState FDrawState = shsUp;
    QTimer* FActiveButtonTimer = nullptr;
    QPointer<QShortcut> FAccelShortcut;
};
