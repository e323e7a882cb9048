// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineSpdBtn.h"

#include "platform/Property.h"
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

TShineColorSet ColorSetOf(const TShineBtnColors& colors)
{
    return {colors.Color(),     colors.GradColor(), colors.Gradation(), colors.GradVertical(),
            colors.Highlight(), colors.Shadow(),    colors.DarkShadow()};
}

TShineCaptionFont CaptionFontOf(const TFont& font)
{
    return {font.ToQFont(), font.Color()};
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
    if (StoreIfChanged(FLook.FrameType, value))
        update();
}

void TShineSpeedButton::SetActiveFrame(bool value)
{
    if (StoreIfChanged(FLook.ActiveFrame, value))
        update();
}

void TShineSpeedButton::SetUpFrame(bool value)
{
    if (StoreIfChanged(FLook.UpFrame, value))
        update();
}

void TShineSpeedButton::SetDownFrame(bool value)
{
    if (StoreIfChanged(FLook.DownFrame, value))
        update();
}

void TShineSpeedButton::SetActiveImage(TActiveImageType value)
{
    if (StoreIfChanged(FLook.ActiveImage, value))
        update();
}

void TShineSpeedButton::SetDisabledImage(TDisabledImageType value)
{
    if (StoreIfChanged(FLook.DisabledImage, value))
        update();
}

void TShineSpeedButton::SetDisabledHighlight(TColor value)
{
    if (StoreIfChanged(FLook.DisabledHighlight, value))
        update();
}

void TShineSpeedButton::SetDisabledShadow(TColor value)
{
    if (StoreIfChanged(FLook.DisabledShadow, value))
        update();
}

void TShineSpeedButton::SetShineColor(TColor value)
{
    if (StoreIfChanged(FLook.ShineColor, value))
        update();
}

void TShineSpeedButton::SetLayout(TButtonLayout value)
{
    if (StoreIfChanged(FLook.Layout, value))
        update();
}

void TShineSpeedButton::SetMargin(int value)
{
    if (StoreIfChanged(FLook.Margin, value))
        update();
}

void TShineSpeedButton::SetSpacing(int value)
{
    if (StoreIfChanged(FLook.Spacing, value))
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
    if (!StoreIfChanged(FLook.Transparent, value))
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
    FLook.FontHighlight = value;
    update();
}

void TShineSpeedButton::SetFontShadow(TColor value)
{
    FLook.FontShadow = value;
    update();
}

void TShineSpeedButton::SetGlyph(const QImage& value)
{
    // Pictures are not compared: a new glyph always repaints.
    FLook.Glyph = value;
    GlyphOnChange();
}

void TShineSpeedButton::GlyphOnChange()
{
    // The effects read and write the glyph as 32-bit pixel words.
    if (!FLook.Glyph.isNull() && FLook.Glyph.format() != QImage::Format_RGB32)
        FLook.Glyph = FLook.Glyph.convertToFormat(QImage::Format_RGB32);
    update();
}

void TShineSpeedButton::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FLook.Caption, value))
        return;
    UpdateAccelerator();
    update();
}

void TShineSpeedButton::UpdateAccelerator()
{
    delete FAccelShortcut;
    const QChar key = AcceleratorOf(FLook.Caption);
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
    const QChar accel = AcceleratorOf(FLook.Caption);
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
    TShineButtonPainter(Look()).Paint(Canvas);
}

TShineButtonLook TShineSpeedButton::Look() const
{
    TShineButtonLook look = FLook;
    look.Size = size();
    look.State = FDrawState;
    look.Colors = ColorSetOf(*FColors);
    look.PressedColors = ColorSetOf(*FPressedColors);
    look.Font = CaptionFontOf(*FFont);
    look.ActiveFont = CaptionFontOf(*FActiveFont);
    return look;
}
