#pragma once

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

// One look's colours of a shine button: a flat or gradient background and three frame colours.
class TShineBtnColors
{
public:
    TShineBtnColors() = default;
    TShineBtnColors(const TShineBtnColors&) = delete;
    TShineBtnColors& operator=(const TShineBtnColors&) = delete;
    ~TShineBtnColors();

    TColor Highlight() const { return FHighlight; }
    void SetHighlight(TColor Value) { Store(FHighlight, Value); }
    TColor Shadow() const { return FShadow; }
    void SetShadow(TColor Value) { Store(FShadow, Value); }
    TColor DarkShadow() const { return FDarkShadow; }
    void SetDarkShadow(TColor Value) { Store(FDarkShadow, Value); }
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor Value) { Store(FGradColor, Value); }
    bool GradVertical() const { return FGradVertical; }
    void SetGradVertical(bool Value) { Store(FGradVertical, Value); }
    bool Gradation() const { return FGradation; }
    void SetGradation(bool Value) { Store(FGradation, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Store(FColor, Value); }

    // Copies all seven values from Source, then notifies.
    void Assign(const TShineBtnColors& Source);
    // Copies all seven values into Dest, which notifies.
    void AssignTo(TShineBtnColors& Dest) const { Dest.Assign(*this); }

    std::function<void(TShineBtnColors* Sender)> OnChange;

private:
    template<class T> void Store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed();

    TColor FColor = clBtnFace;
    TColor FHighlight = clBtnHighlight;
    TColor FShadow = clBtnShadow;
    TColor FDarkShadow = clWindowFrame;
    TColor FGradColor = clBlue;
    bool FGradVertical = false;
    bool FGradation = false;
};

// The glyph in the form one look draws it.
struct TStateGlyph
{
    QImage Image; // RGB32; for the disabled edge mask black and white
    std::uint32_t TransparentColor; // pixel word left out when drawing
    bool EdgeMask = false; // drawn through the disabled colours, not copied
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
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool ClickDownHook() const { return FClickDownHook; }
    void SetClickDownHook(bool Value) { StoreAndUpdate(FClickDownHook, Value); }
    bool AccelCharDown() const { return FAccelCharDown; }
    void SetAccelCharDown(bool Value) { StoreAndUpdate(FAccelCharDown, Value); }
    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType Value) { StoreAndUpdate(FFrameType, Value); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(bool Value) { StoreAndUpdate(FActiveFrame, Value); }
    bool UpFrame() const { return FUpFrame; }
    void SetUpFrame(bool Value) { StoreAndUpdate(FUpFrame, Value); }
    bool DownFrame() const { return FDownFrame; }
    void SetDownFrame(bool Value) { StoreAndUpdate(FDownFrame, Value); }
    TActiveImageType ActiveImage() const { return FActiveImage; }
    void SetActiveImage(TActiveImageType Value) { StoreAndUpdate(FActiveImage, Value); }
    TDisabledImageType DisabledImage() const { return FDisabledImage; }
    void SetDisabledImage(TDisabledImageType Value) { StoreAndUpdate(FDisabledImage, Value); }
    TColor DisabledHighlight() const { return FDisabledHighlight; }
    void SetDisabledHighlight(TColor Value) { StoreAndUpdate(FDisabledHighlight, Value); }
    TColor DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(TColor Value) { StoreAndUpdate(FDisabledShadow, Value); }
    TShineBtnColors* Colors() const { return FColors.get(); }
    void SetColors(const TShineBtnColors* Value);
    TShineBtnColors* PressedColors() const { return FPressedColors.get(); }
    void SetPressedColors(const TShineBtnColors* Value);
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor Value) { StoreAndUpdate(FShineColor, Value); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    TColor FontHighlight() const { return FFontHighlight; }
    void SetFontHighlight(TColor Value);
    TColor FontShadow() const { return FFontShadow; }
    void SetFontShadow(TColor Value);
    TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(const TFont* Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value) { StoreAndUpdate(FLayout, Value); }
    int Margin() const { return FMargin; }
    void SetMargin(int Value) { StoreAndUpdate(FMargin, Value); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value) { StoreAndUpdate(FSpacing, Value); }
    const QImage& Glyph() const { return FGlyph; }
    // A null image empties the glyph.
    void SetGlyph(const QImage& Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);

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
    // Glyph top-left and caption rectangle in client coordinates, the caption measured in
    // `CanvasFont`.
    void CalcDrawPosition(const QFont& CanvasFont, QPoint& GlyphPos, QRect& TextRect) const;

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
    template<class T> void StoreAndUpdate(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        update();
    }
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
