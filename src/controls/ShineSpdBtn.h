#pragma once

#include "controls/ShineBtnColors.h"
#include "controls/ShineTypes.h"
#include "framework/TFont.h"
#include "platform/Colors.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QShortcut;
class QTimer;

// The glyph in the form one look draws it.
struct TStateGlyph
{
    QImage Image; // RGB32; for the disabled edge mask black and white
    std::uint32_t TransparentColor; // pixel word left out when drawing
    bool EdgeMask = false; // drawn through the disabled colours, not copied
};

// Where a shine button puts its glyph and caption, in client coordinates.
struct TDrawPosition
{
    QPoint GlyphPos;
    QRect TextRect;
    bool operator==(const TDrawPosition&) const = default;
};

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
    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(bool value);
    bool UpFrame() const { return FUpFrame; }
    void SetUpFrame(bool value);
    bool DownFrame() const { return FDownFrame; }
    void SetDownFrame(bool value);
    TActiveImageType ActiveImage() const { return FActiveImage; }
    void SetActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return FDisabledImage; }
    void SetDisabledImage(TDisabledImageType value);
    TColor DisabledHighlight() const { return FDisabledHighlight; }
    void SetDisabledHighlight(TColor value);
    TColor DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(TColor value);
    TShineBtnColors* Colors() const { return FColors.get(); }
    void SetColors(const TShineBtnColors* value);
    TShineBtnColors* PressedColors() const { return FPressedColors.get(); }
    void SetPressedColors(const TShineBtnColors* value);
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value);
    TColor FontHighlight() const { return FFontHighlight; }
    void SetFontHighlight(TColor value);
    TColor FontShadow() const { return FFontShadow; }
    void SetFontShadow(TColor value);
    TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(const TFont* value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    const QImage& Glyph() const { return FGlyph; }
    // A null image empties the glyph.
    void SetGlyph(const QImage& value);
    QString Caption() const { return FCaption; }
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
    void BackDraw(QPainter& Canvas) const;
    void ImageDraw(QPainter& Canvas) const;
    void FrameDraw(QPainter& Canvas) const;
    // The glyph as the current look draws it, or none for an empty glyph.
    std::optional<TStateGlyph> CreateStateGlyph() const;
    // The caption's extent in `CanvasFont`; 0 x 0 without a caption.
    QSize MeasureCaption(const QFont& CanvasFont) const;
    // The glyph's extent; 0 x 0 without a glyph.
    QSize GlyphSize() const;
    // Glyph top-left and caption rectangle in a client area of size `Client`. The parts (a part
    // of size 0 x 0 takes no part) are stacked along `Layout` with `Spacing` between them, each
    // centred across the block; the block is centred, or held `Margin` pixels from the glyph's
    // side when Margin is 0 or more. Pure arithmetic: no font, no widget.
    static TDrawPosition CalcDrawPosition(QSize Client, QSize Glyph, QSize Text,
                                          TButtonLayout Layout, int Margin, int Spacing);

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

    bool FDown = false;
    TFrameType FFrameType = ftNormalFrame;
    bool FAllowAllUp = false;
    bool FClickDownHook = false;
    bool FAccelCharDown = false;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = false;
    bool FActiveFrame = true;
    bool FUpFrame = true;
    bool FDownFrame = true;
    TActiveImageType FActiveImage = aiFrameLight;
    TDisabledImageType FDisabledImage = diDefault;
    TColor FDisabledShadow = clBtnShadow;
    TColor FDisabledHighlight = clBtnHighlight;
    std::unique_ptr<TShineBtnColors> FColors;
    std::unique_ptr<TShineBtnColors> FPressedColors;
    TColor FShineColor = clYellow;
    std::unique_ptr<TFont> FFont;
    TColor FFontHighlight = clNone;
    TColor FFontShadow = clNone;
    std::unique_ptr<TFont> FActiveFont;
    QImage FGlyph;
    QString FCaption;
    bool FMouseInside = false;
    bool FMouseHeld = false;
    TShineDrawState FDrawState = shsUp;
    QTimer* FActiveButtonTimer = nullptr;
    QPointer<QShortcut> FAccelShortcut;
};
