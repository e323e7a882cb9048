#include "controls/ShineSpdBtn.h"

#include "controls/ShineGlyphEffects.h"
#include "framework/Property.h"
#include "platform/TextOutput.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>

namespace {

constexpr int kLeavePollMs = 200;
constexpr unsigned kCaptionFormat = DT_CENTER | DT_VCENTER;

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

// A one-pixel line from a up to but not including b; frame lines are all horizontal or vertical.
void Line(QPainter& canvas, QPoint a, QPoint b, TColor color)
{
    const QColor c = ToQColor(color);
    if (a.y() == b.y() && a.x() != b.x()) {
        const int left = a.x() < b.x() ? a.x() : b.x() + 1;
        canvas.fillRect(left, a.y(), std::abs(b.x() - a.x()), 1, c);
    } else if (a.x() == b.x() && a.y() != b.y()) {
        const int top = a.y() < b.y() ? a.y() : b.y() + 1;
        canvas.fillRect(a.x(), top, 1, std::abs(b.y() - a.y()), c);
    }
}

// The two lines of a frame corner, both starting at `corner`.
void Corner(QPainter& canvas, QPoint corner, QPoint horizontalEnd, QPoint verticalEnd, TColor color)
{
    Line(canvas, corner, horizontalEnd, color);
    Line(canvas, corner, verticalEnd, color);
}

void Outline(QPainter& canvas, int w, int h, TColor color)
{
    const QColor c = ToQColor(color);
    canvas.fillRect(0, 0, w, 1, c);
    canvas.fillRect(0, h - 1, w, 1, c);
    canvas.fillRect(0, 0, 1, h, c);
    canvas.fillRect(w - 1, 0, 1, h, c);
}

} // namespace

// ---- TShineSpeedButton: construction and properties -----------------------------------------

TShineSpeedButton::TShineSpeedButton(QWidget* Owner)
    : QWidget(Owner)
    , FColors(std::make_unique<TShineBtnColors>())
    , FPressedColors(std::make_unique<TShineBtnColors>())
    , FFont(std::make_unique<TFont>())
    , FActiveFont(std::make_unique<TFont>())
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    // Moves arrive without a held button too: they re-run tracking when an enter was missed.
    setMouseTracking(true);

    FColors->SetColor(clBtnFace);
    FColors->OnChange = [this](TShineBtnColors*) {
        FontsAndColorsOnChange();
    };
    FPressedColors->SetColor(clBtnHighlight);
    FPressedColors->OnChange = [this](TShineBtnColors*) {
        FontsAndColorsOnChange();
    };
    FFont->SetColor(clBtnText);
    FFont->OnChange = [this] {
        FontsAndColorsOnChange();
    };
    FActiveFont->SetColor(clHighlight);
    FActiveFont->OnChange = [this] {
        FontsAndColorsOnChange();
    };

    resize(25, 25);

    FActiveButtonTimer = new QTimer(this);
    FActiveButtonTimer->setInterval(kLeavePollMs);
    connect(FActiveButtonTimer, &QTimer::timeout, this,
            &TShineSpeedButton::ActiveButtonTimerOnTimer);
}

TShineSpeedButton::~TShineSpeedButton()
{
    FActiveButtonTimer->stop();
}

void TShineSpeedButton::SetClickDownHook(bool value)
{
    if (StoreIfChanged(FClickDownHook, value))
        update();
}

void TShineSpeedButton::SetAccelCharDown(bool value)
{
    if (StoreIfChanged(FAccelCharDown, value))
        update();
}

void TShineSpeedButton::SetFrameType(TFrameType value)
{
    if (StoreIfChanged(FFrameType, value))
        update();
}

void TShineSpeedButton::SetActiveFrame(bool value)
{
    if (StoreIfChanged(FActiveFrame, value))
        update();
}

void TShineSpeedButton::SetUpFrame(bool value)
{
    if (StoreIfChanged(FUpFrame, value))
        update();
}

void TShineSpeedButton::SetDownFrame(bool value)
{
    if (StoreIfChanged(FDownFrame, value))
        update();
}

void TShineSpeedButton::SetActiveImage(TActiveImageType value)
{
    if (StoreIfChanged(FActiveImage, value))
        update();
}

void TShineSpeedButton::SetDisabledImage(TDisabledImageType value)
{
    if (StoreIfChanged(FDisabledImage, value))
        update();
}

void TShineSpeedButton::SetDisabledHighlight(TColor value)
{
    if (StoreIfChanged(FDisabledHighlight, value))
        update();
}

void TShineSpeedButton::SetDisabledShadow(TColor value)
{
    if (StoreIfChanged(FDisabledShadow, value))
        update();
}

void TShineSpeedButton::SetShineColor(TColor value)
{
    if (StoreIfChanged(FShineColor, value))
        update();
}

void TShineSpeedButton::SetLayout(TButtonLayout value)
{
    if (StoreIfChanged(FLayout, value))
        update();
}

void TShineSpeedButton::SetMargin(int value)
{
    if (StoreIfChanged(FMargin, value))
        update();
}

void TShineSpeedButton::SetSpacing(int value)
{
    if (StoreIfChanged(FSpacing, value))
        update();
}

void TShineSpeedButton::SetGroupIndex(int value)
{
    if (FGroupIndex != value)
        GroupUpdateStatus(value);
}

void TShineSpeedButton::SetAllowAllUp(bool value)
{
    if (StoreIfChanged(FAllowAllUp, value))
        GroupUpdateStatus(FGroupIndex);
}

void TShineSpeedButton::SetDown(bool value)
{
    if (value == FDown || FGroupIndex == 0)
        return;
    // The down member of an exclusive group is raised only by another member going down.
    if (!FAllowAllUp && FDown)
        return;
    FDown = value;
    GroupUpdateStatus(FGroupIndex);
    FDrawState = FDown ? shsDown : shsUp;
    repaint();
}

void TShineSpeedButton::SetTransparent(bool value)
{
    if (!StoreIfChanged(FTransparent, value))
        return;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TShineSpeedButton::SetColors(const TShineBtnColors* value)
{
    // The set notifies the button, which repaints, even when nothing differs.
    if (value)
        FColors->Assign(*value);
}

void TShineSpeedButton::SetPressedColors(const TShineBtnColors* value)
{
    if (value)
        FPressedColors->Assign(*value);
}

void TShineSpeedButton::SetFont(const TFont* value)
{
    // Repaints even when the font is the same.
    if (!value)
        return;
    FFont->Assign(*value);
    update();
}

void TShineSpeedButton::SetActiveFont(const TFont* value)
{
    if (!value)
        return;
    FActiveFont->Assign(*value);
    update();
}

void TShineSpeedButton::SetFontHighlight(TColor value)
{
    // Always repaints, as the fonts' changes do.
    FFontHighlight = value;
    update();
}

void TShineSpeedButton::SetFontShadow(TColor value)
{
    FFontShadow = value;
    update();
}

void TShineSpeedButton::SetGlyph(const QImage& value)
{
    // Pictures are not compared: a new glyph always repaints.
    FGlyph = value;
    GlyphOnChange();
}

void TShineSpeedButton::GlyphOnChange()
{
    // The effects read and write the glyph as 32-bit pixel words.
    if (!FGlyph.isNull() && FGlyph.format() != QImage::Format_RGB32)
        FGlyph = FGlyph.convertToFormat(QImage::Format_RGB32);
    update();
}

void TShineSpeedButton::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FCaption, value))
        return;
    UpdateAccelerator();
    update();
}

void TShineSpeedButton::UpdateAccelerator()
{
    delete FAccelShortcut;
    const QChar key = AcceleratorOf(FCaption);
    if (key.isNull())
        return;
    // Alt+letter anywhere in the window, as accelerator keys of captions work on the desktop.
    const auto qtKey = static_cast<Qt::Key>(key.toUpper().unicode());
    FAccelShortcut = new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, qtKey)), this);
    FAccelShortcut->setContext(Qt::WindowShortcut);
    connect(FAccelShortcut, &QShortcut::activated, this, [this, key] { CMDialogChar(key); });
}

// ---- groups ----------------------------------------------------------------------------------

void TShineSpeedButton::GroupUpdateStatus(int Index)
{
    FGroupIndex = Index;
    QWidget* parent = parentWidget();
    if (Index == 0 || !parent)
        return;
    // The notice carries this button's group index, Down and AllowAllUp to every shine button
    // of the same parent; the sender ignores its own notice.
    const auto siblings = parent->findChildren<TShineSpeedButton*>(Qt::FindDirectChildrenOnly);
    for (TShineSpeedButton* sibling : siblings)
        sibling->CMButtonPressed(Index, this);
}

void TShineSpeedButton::CMButtonPressed(int Index, const TShineSpeedButton* Sender)
{
    if (Index != FGroupIndex || !Sender || Sender == this)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FDrawState = shsUp;
        update();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

// ---- mouse and state machine ------------------------------------------------------------------

TShiftState TShineSpeedButton::CurrentShiftState()
{
    return ShiftOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

void TShineSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    if (Button != mbLeft || !isEnabled())
        return;
    FDrawState = shsDownActive;
    // A down button under the mouse already shows this look.
    if (!FDown)
        update();
    FMouseHeld = true;
}

void TShineSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
    if (FMouseHeld) {
        const TShineDrawState wanted = ClientContains(X, Y) ? shsDownActive
            : FDown                                         ? shsDown
                                                            : shsUp;
        if (wanted != FDrawState) {
            FDrawState = wanted;
            update();
        }
    } else if (!FMouseInside) {
        UpdateTracking();
    }
}

void TShineSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    if (!FMouseHeld)
        return;
    const bool inside = ClientContains(X, Y);
    if (FGroupIndex == 0) {
        FDrawState = shsUp;
        FMouseInside = false;
        FDown = false;
        if (inside)
            repaint();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            repaint();
    } else {
        FDrawState = FDown ? shsDownActive : shsUpActive;
        repaint();
    }
    FMouseHeld = false;
    // The click handler may close the window and take the button with it.
    const QPointer<TShineSpeedButton> alive(this);
    if (inside)
        Click();
    if (alive)
        UpdateTracking();
}

void TShineSpeedButton::Click()
{
    const TShineDrawState remembered = FDrawState;
    const QPointer<TShineSpeedButton> alive(this);
    // Restores the look however the handler ends, so a failing handler leaves no pressed look.
    struct Restore
    {
        TShineSpeedButton* button;
        const QPointer<TShineSpeedButton>& alive;
        TShineDrawState state;
        ~Restore()
        {
            if (alive && button->FClickDownHook) {
                button->FDrawState = state;
                button->repaint();
            }
        }
    };
    if (FClickDownHook) {
        FDrawState = shsDownActive;
        repaint();
    }
    const Restore restore {this, alive, remembered};
    if (OnClick)
        OnClick(this);
}

void TShineSpeedButton::WMLButtonDblClick(TShiftState Shift, int X, int Y)
{
    MouseDown(mbLeft, Shift | ssDouble, X, Y);
    if (FDown && OnDblClick)
        OnDblClick(this);
}

void TShineSpeedButton::UpdateTracking()
{
    if (!isEnabled())
        return;
    const QPoint global = QCursor::pos();
    const bool over = QApplication::widgetAt(global) == this;
    // The opposite first, so that the notification's handler does its work.
    FMouseInside = !over;
    if (over)
        CMMouseEnter();
    else
        CMMouseLeave();
}

void TShineSpeedButton::CMMouseEnter()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    MouseEnter(CurrentShiftState(), p.x(), p.y());
}

void TShineSpeedButton::CMMouseLeave()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    MouseLeave(CurrentShiftState(), p.x(), p.y());
}

void TShineSpeedButton::MouseEnter(TShiftState Shift, int X, int Y)
{
    if (OnMouseEnter)
        OnMouseEnter(this, Shift, X, Y);
    if (FMouseInside || !isEnabled() || QWidget::mouseGrabber())
        return;
    FMouseInside = true;
    if (FDrawState == shsUp)
        FDrawState = shsUpActive;
    else if (FDrawState == shsDown)
        FDrawState = shsDownActive;
    repaint();
    FActiveButtonTimer->start();
}

void TShineSpeedButton::MouseLeave(TShiftState Shift, int X, int Y)
{
    if (OnMouseLeave)
        OnMouseLeave(this, Shift, X, Y);
    // While held the look follows the moves instead.
    if (!FMouseInside || !isEnabled() || FMouseHeld)
        return;
    FActiveButtonTimer->stop();
    FMouseInside = false;
    if (FDrawState == shsUpActive)
        FDrawState = shsUp;
    else if (FDrawState == shsDownActive)
        FDrawState = shsDown;
    repaint();
}

void TShineSpeedButton::ActiveButtonTimerOnTimer()
{
    if (!FMouseInside || !isEnabled() || FMouseHeld) {
        FActiveButtonTimer->stop();
        return;
    }
    const QPoint p = mapFromGlobal(QCursor::pos());
    if (!ClientContains(p.x(), p.y()))
        MouseLeave(CurrentShiftState(), p.x(), p.y());
}

void TShineSpeedButton::CMEnabledChanged()
{
    // Enabling or disabling releases the button, without a group notice.
    FDown = false;
    FDrawState = isEnabled() ? shsUp : shsDisabled;
    UpdateTracking();
    update();
}

bool TShineSpeedButton::CMDialogChar(QChar Key)
{
    const QChar accel = AcceleratorOf(FCaption);
    if (accel.isNull() || accel != Key.toLower() || !isEnabled() || !isVisible() || !parentWidget()
        || !parentWidget()->isVisible())
        return false;
    if (FAccelCharDown)
        SetDown(!FDown);
    Click();
    return true;
}

// ---- Qt events -------------------------------------------------------------------------------

void TShineSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    PaintTo(canvas);
}

void TShineSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (const auto button = ButtonOf(event->button())) {
        const QPoint p = event->position().toPoint();
        MouseDown(*button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (const auto button = ButtonOf(event->button())) {
        const QPoint p = event->position().toPoint();
        MouseUp(*button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void TShineSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    const auto button = ButtonOf(event->button());
    if (!button)
        return;
    const QPoint p = event->position().toPoint();
    const TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
    if (*button == mbLeft)
        WMLButtonDblClick(shift, p.x(), p.y());
    else
        MouseDown(*button, shift | ssDouble, p.x(), p.y());
}

void TShineSpeedButton::enterEvent(QEnterEvent*)
{
    CMMouseEnter();
}

void TShineSpeedButton::leaveEvent(QEvent*)
{
    CMMouseLeave();
}

void TShineSpeedButton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        CMEnabledChanged();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// ---- painting --------------------------------------------------------------------------------

void TShineSpeedButton::PaintTo(QPainter& Canvas)
{
    if (!isEnabled()) {
        FDrawState = shsDisabled;
        FMouseHeld = false;
    }
    Canvas.save();
    if (FTransparent) {
        BackDraw(Canvas);
        ImageDraw(Canvas);
        FrameDraw(Canvas);
    } else {
        // Composed off-screen and copied in one step, so the button never flickers.
        QImage offscreen(width(), height(), QImage::Format_RGB32);
        offscreen.fill(Qt::black);
        {
            QPainter off(&offscreen);
            BackDraw(off);
            ImageDraw(off);
            FrameDraw(off);
        }
        Canvas.drawImage(0, 0, offscreen);
    }
    Canvas.restore();
}

void TShineSpeedButton::BackDraw(QPainter& Canvas) const
{
    if (FTransparent)
        return;
    const TShineBtnColors& set = IsDownLook(FDrawState) ? *FPressedColors : *FColors;
    if (!set.Gradation()) {
        Canvas.fillRect(0, 0, width(), height(), ToQColor(set.Color()));
        return;
    }
    const ShineGlyph::TRamp ramp =
        ShineGlyph::MakeRamp(ColorToPixel(set.Color()), ColorToPixel(set.GradColor()));
    // Whole rows or columns of the ramp, repeated or dropped, no blending.
    const bool vertical = set.GradVertical();
    const int extent = vertical ? height() : width();
    for (int d = 0; d < extent; ++d) {
        const QColor c =
            QColor::fromRgb(ramp[static_cast<std::size_t>(ShineGlyph::RampIndex(d, extent))]);
        if (vertical)
            Canvas.fillRect(0, d, width(), 1, c);
        else
            Canvas.fillRect(d, 0, 1, height(), c);
    }
}

void TShineSpeedButton::ImageDraw(QPainter& Canvas) const
{
    const bool downLook = IsDownLook(FDrawState);
    const TFont& font = IsActiveLook(FDrawState) ? *FActiveFont : *FFont;
    const QFont canvasFont = font.ToQFont();

    const std::optional<TStateGlyph> glyph = CreateStateGlyph();
    const TDrawPosition at = CalcDrawPosition(size(), GlyphSize(), MeasureCaption(canvasFont),
                                              FLayout, FMargin, FSpacing);
    QPoint glyphPos = at.GlyphPos;
    QRect textRect = at.TextRect;

    if (glyph) {
        if (downLook)
            glyphPos += QPoint(1, 1);
        if (glyph->EdgeMask) {
            // Embossed: light one pixel down-right, dark on top.
            Canvas.drawImage(glyphPos + QPoint(1, 1),
                             ShineGlyph::MaskBrush(glyph->Image, ToQColor(FDisabledHighlight)));
            Canvas.drawImage(glyphPos,
                             ShineGlyph::MaskBrush(glyph->Image, ToQColor(FDisabledShadow)));
        } else {
            Canvas.drawImage(glyphPos,
                             ShineGlyph::WithoutColor(glyph->Image, glyph->TransparentColor));
        }
    }

    if (FCaption.isEmpty())
        return;
    if (downLook)
        textRect.translate(1, 1);
    auto drawCaption = [&](TColor color, QRect rect) {
        Canvas.setPen(ToQColor(color));
        DrawText(&Canvas, canvasFont, FCaption, rect, kCaptionFormat);
    };
    TColor color = font.Color();
    if (FDrawState == shsDisabled) {
        drawCaption(FDisabledHighlight, textRect.translated(1, 1));
        color = FDisabledShadow;
    } else {
        if (FFontShadow != clNone)
            drawCaption(FFontShadow, textRect.translated(1, 1));
        if (FFontHighlight != clNone)
            drawCaption(FFontHighlight, textRect.translated(-1, -1));
    }
    drawCaption(color, textRect);
}

void TShineSpeedButton::FrameDraw(QPainter& Canvas) const
{
    const bool downLook = IsDownLook(FDrawState);
    const bool drawn = downLook
        ? (FDownFrame && FDrawState == shsDown) || (FActiveFrame && FDrawState == shsDownActive)
        : (FUpFrame && FDrawState != shsUpActive) || (FActiveFrame && FDrawState == shsUpActive);
    if (!drawn)
        return;
    const TShineBtnColors& set = downLook ? *FPressedColors : *FColors;
    const int w = width();
    const int h = height();
    const QPoint topLeft(0, 0);
    const QPoint bottomRight(w - 1, h - 1);
    switch (FFrameType) {
    case ftFlatFrame: {
        const TColor first = downLook ? set.Shadow() : set.Highlight();
        const TColor second = downLook ? set.Highlight() : set.Shadow();
        Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, first);
        Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, second);
        break;
    }
    case ftNormalFrame:
        if (downLook) {
            Corner(Canvas, {1, 1}, {w - 1, 1}, {1, h - 1}, set.Shadow());
            Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, set.DarkShadow());
            Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, set.Highlight());
        } else {
            Corner(Canvas, {w - 2, h - 2}, {0, h - 2}, {w - 2, 0}, set.Shadow());
            Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, set.DarkShadow());
            Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, set.Highlight());
        }
        break;
    case ftEnclosedFrame: {
        const TColor first = downLook ? set.Shadow() : set.Highlight();
        const TColor second = downLook ? set.Highlight() : set.Shadow();
        Corner(Canvas, {1, 1}, {w - 2, 1}, {1, h - 2}, first);
        Corner(Canvas, {w - 2, h - 2}, {1, h - 2}, {w - 2, 1}, second);
        // The enclosing rectangle always takes the up colours.
        Outline(Canvas, w, h, FColors->DarkShadow());
        break;
    }
    }
}

std::optional<TStateGlyph> TShineSpeedButton::CreateStateGlyph() const
{
    if (FGlyph.isNull() || FGlyph.width() == 0 || FGlyph.height() == 0)
        return std::nullopt;
    TStateGlyph result {FGlyph.copy(), 0, false};
    switch (FDrawState) {
    case shsDownActive:
    case shsUpActive:
        result.Image = ShineGlyph::ActiveGlyph(FGlyph, FActiveImage, ColorToPixel(FShineColor));
        break;
    case shsDisabled:
        result.Image =
            ShineGlyph::DisabledGlyph(FGlyph, FDisabledImage, ColorToPixel(FColors->Color()));
        result.EdgeMask = FDisabledImage == diDefault;
        break;
    case shsDown:
    case shsUp:
        break;
    }
    // An effect that reached the bottom-left corner moves the transparent colour with it.
    result.TransparentColor = result.EdgeMask ? 0 : ShineGlyph::KeyColor(result.Image);
    return result;
}

QSize TShineSpeedButton::MeasureCaption(const QFont& CanvasFont) const
{
    if (FCaption.isEmpty())
        return {0, 0};
    QRect measured(0, 0, width(), 0);
    DrawText(nullptr, CanvasFont, FCaption, measured, DT_CALCRECT);
    return measured.size();
}

QSize TShineSpeedButton::GlyphSize() const
{
    if (FGlyph.isNull() || FGlyph.width() == 0 || FGlyph.height() == 0)
        return {0, 0};
    return FGlyph.size();
}

TDrawPosition TShineSpeedButton::CalcDrawPosition(QSize Client, QSize Glyph, QSize Text,
                                                  TButtonLayout Layout, int Margin, int Spacing)
{
    auto takesPart = [](QSize size) {
        return size.width() > 0 || size.height() > 0;
    };
    const bool glyph = takesPart(Glyph);
    const bool text = takesPart(Text);
    const QSize textSize = text ? Text : QSize(0, 0);
    const bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
    const bool glyphFirst = Layout == blGlyphLeft || Layout == blGlyphTop;
    // Worked out side by side (x along the stack, y across it); a top or bottom glyph swaps the
    // axes going in and coming out.
    auto oriented = [across](QSize size) {
        return across ? size : size.transposed();
    };
    const QSize g = glyph ? oriented(Glyph) : QSize(0, 0);
    const QSize t = oriented(textSize);
    const int gap = glyph && text ? Spacing : 0;

    // Measure: the parts one after the other, each centred across the taller one.
    const int along = g.width() + gap + t.width();
    const int thick = std::max(g.height(), t.height());
    const QPoint glyphAt(glyphFirst ? 0 : t.width() + gap, glyph ? (thick - g.height()) / 2 : 0);
    const QPoint textAt(glyphFirst ? g.width() + gap : 0, text ? (thick - t.height()) / 2 : 0);
    const QSize block = oriented(QSize(along, thick));

    // Arrange: the block centred, or held at the margin on the glyph's side.
    int mx = (Client.width() - block.width()) / 2;
    int my = (Client.height() - block.height()) / 2;
    if (Margin >= 0) {
        switch (Layout) {
        case blGlyphLeft:
            mx = Margin;
            break;
        case blGlyphRight:
            mx = Client.width() - block.width() - Margin;
            break;
        case blGlyphTop:
            my = Margin;
            break;
        case blGlyphBottom:
            my = Client.height() - block.height() - Margin;
            break;
        }
    }
    const QPoint origin(mx, my);
    auto place = [&](QPoint at) {
        return origin + (across ? at : at.transposed());
    };
    return {place(glyphAt), QRect(place(textAt), textSize)};
}
