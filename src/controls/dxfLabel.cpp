// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/dxfLabel.h"

#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "platform/FontInfo.h"
#include "platform/Property.h"
#include "platform/Sound.h"
#include "render/LogoPainter.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QVariant>

#include <algorithm>

namespace {

// The composed picture of every opaque label, and that of every transparent one with real alpha.
// Both are reused by every paint and only ever grow.
QImage& SharedDrawBmp()
{
    static QImage bitmap;
    return bitmap;
}

QImage& SharedKeyBmp()
{
    static QImage bitmap;
    return bitmap;
}

void GrowTo(QImage& bitmap, int width, int height, QImage::Format format)
{
    if (bitmap.width() >= width && bitmap.height() >= height)
        return;
    bitmap = QImage(std::max(bitmap.width(), width), std::max(bitmap.height(), height), format);
}

TFontStyles StylesOf(const QFont& font)
{
    return TFontStyles((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0)
                       | (font.underline() ? fsUnderline : 0)
                       | (font.strikeOut() ? fsStrikeOut : 0));
}

QString MessageCaption()
{
    if (TApplication* app = TApplication::Instance())
        return app->Title();
    return QCoreApplication::applicationName();
}

} // namespace

// ---------------------------------------------------------------------------------------------

Tdxf3DEffect::Tdxf3DEffect(TdxfLabel* owner, LogoLook& look)
    : FOwner(owner)
    , FLook(look)
{ }

void Tdxf3DEffect::SetStyle(TdxfEffectStyle value)
{
    if (StoreIfChanged(FLook.effectStyle, value))
        Changed();
}

void Tdxf3DEffect::SetOrientation(TdxfOrientation value)
{
    if (StoreIfChanged(FLook.orientation, value))
        Changed();
}

void Tdxf3DEffect::SetDepth(std::uint16_t value)
{
    if (StoreIfChanged(FLook.depth, int(value)))
        Changed();
}

void Tdxf3DEffect::SetShadowedColor(TColor value)
{
    if (StoreIfChanged(FLook.shadowColor, value))
        Changed();
}

void Tdxf3DEffect::Assign(const Tdxf3DEffect& other)
{
    SetStyle(other.Style());
    SetOrientation(other.Orientation());
    SetDepth(other.Depth());
    SetShadowedColor(other.ShadowedColor());
}

QPoint Tdxf3DEffect::Offset() const
{
    return ShadowOffset(FLook.orientation, FLook.depth);
}

void Tdxf3DEffect::Changed()
{
    if (FOwner)
        FOwner->update();
}

// ---------------------------------------------------------------------------------------------

TdxfLabel::TdxfLabel(QWidget* parent)
    : QWidget(parent)
    , FEffect3D(this, FLook)
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    FLook.color = clBtnFace;
    FLook.engravedBase = clBtnFace;
    FLook.font = FFont.ToQFont();
    FLook.textColor = FFont.Color();
    FLook.effectStyle = dxfCool;
    FLook.orientation = dxfRightBottom;
    FLook.shadowColor = 0x808080;
    FFont.OnChange = [this] {
        FLook.font = FFont.ToQFont();
        FLook.textColor = FFont.Color();
        FontChanged();
    };
}

TdxfLabel::~TdxfLabel() = default;

void TdxfLabel::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FLook.caption, value))
        return;
    AdjustBounds();
    update();
}

TColor TdxfLabel::Color() const
{
    return FParentColor && parentWidget() ? ParentsColor() : FLook.color;
}

void TdxfLabel::SetColor(TColor value)
{
    if (FLook.color == value && !FParentColor)
        return;
    FLook.color = value;
    FParentColor = false;
    update();
}

void TdxfLabel::SetParentColor(bool value)
{
    if (!StoreIfChanged(FParentColor, value))
        return;
    if (value && parentWidget())
        FLook.color = ParentsColor();
    update();
}

void TdxfLabel::SetParentFont(bool value)
{
    // Only remembered: the label always draws in its own font.
    FParentFont = value;
}

void TdxfLabel::SetTransparent(bool value)
{
    if (!StoreIfChanged(FTransparent, value))
        return;
    // Transparent, the parent's drawing must be there before the label paints over it.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TdxfLabel::SetAutoSize(bool value)
{
    if (StoreIfChanged(FAutoSize, value))
        AdjustBounds();
}

void TdxfLabel::SetStyle(TdxfLabelStyle value)
{
    // Repaints even when the style is unchanged: intended, do not add an early return.
    FLook.style = value;
    update();
}

void TdxfLabel::SetAngle(int value)
{
    // The face is checked before the range: an out-of-range value with a bitmap face still
    // beeps and explains.
    if (!AngleAllowed(value) || value < 0 || value > 360 || FLook.angle == value)
        return;
    FLook.angle = value;
    update();
}

bool TdxfLabel::AngleAllowed(int value)
{
    if (value == 0 || FontInfo::IsTrueType(FFont.ToQFont()))
        return true;
    Sound::MessageBeep(Sound::MB_ICONHAND);
    TDialogs::Current().MessageBox(
        this, QStringLiteral("The Angle property is applicable for the TrueType fonts only"),
        MessageCaption(), MB_OK);
    return false;
}

void TdxfLabel::SetGlyph(const QImage& value)
{
    FLook.texture = value.isNull() ? QImage() : value.copy();
    update();
}

void TdxfLabel::SetPenWidth(int value)
{
    if (!StoreIfChanged(FLook.penWidth, value))
        return;
    if (FLook.style == dxfOutLine)
        update();
}

void TdxfLabel::SetWarp(TLogoWarp value)
{
    if (StoreIfChanged(FLook.warp, value))
        update();
}

void TdxfLabel::SetWarpAmount(int value)
{
    if (StoreIfChanged(FLook.warpAmount, value) && FLook.warp != TLogoWarp::None)
        update();
}

void TdxfLabel::SetDecorations(const LogoDecorations& value)
{
    if (StoreIfChanged(FLook.decorations, value))
        update();
}

void TdxfLabel::SetTagline(const LogoTagline& value)
{
    if (StoreIfChanged(FLook.tagline, value))
        update();
}

void TdxfLabel::SetVertical(bool value)
{
    if (StoreIfChanged(FLook.vertical, value))
        update();
}

TColor TdxfLabel::GetColor(TColor a, TColor b, int s, int n)
{
    return LogoPainter::GetColor(a, b, s, n);
}

QPoint TdxfLabel::TextOrigin(QSize area, QSize text, int angle)
{
    return LogoPainter::TextOrigin(area, text, angle);
}

const QImage& TdxfLabel::DrawBmp()
{
    return SharedDrawBmp();
}

LogoLook TdxfLabel::Look() const
{
    LogoLook look = FLook;
    look.color = Color();
    // The engraved face always takes the parent's colour (painting it switches ParentColor on).
    look.engravedBase = parentWidget() ? ParentsColor() : FLook.color;
    return look;
}

void TdxfLabel::SetLook(const LogoLook& look)
{
    const LogoLook shown = Look();
    LogoLook given = look;
    given.engravedBase = shown.engravedBase;
    if (given == shown)
        return;
    const bool resized = look.caption != FLook.caption || look.font != FLook.font;
    const bool parentColor = FParentColor && look.color == shown.color;
    const TColor ownColor = FLook.color;
    FLook = look;
    if (parentColor)
        FLook.color = ownColor;
    FParentColor = parentColor;
    // The font object follows the look's face; the look keeps the face it was given.
    TFont font;
    font.SetName(look.font.family());
    const int pixels = look.font.pixelSize() > 0
        ? look.font.pixelSize()
        : FontInfo::PointsToPixels(qRound(look.font.pointSizeF()));
    font.SetHeight(-pixels);
    font.SetStyle(StylesOf(look.font));
    font.SetColor(look.textColor);
    FFont.Assign(font);
    FLook.font = look.font;
    FLook.textColor = look.textColor;
    if (resized)
        AdjustBounds();
    update();
}

void TdxfLabel::PaintTo(QPainter& painter)
{
    const LogoLook look = Look();
    LogoPainter logo(look, size());
    logo.SetCompositeLayers(FCompositeLayers);
    logo.SetMaskCache(&FCaptionMask);
    // This paint's background keeps the earlier colour; the switch asks for one more paint.
    if (FLook.style == dxfLowered && !FParentColor)
        SetParentColor(true);

    const int W = width();
    const int H = height();
    const QRect area(0, 0, std::max(0, W), std::max(0, H));
    if (!FTransparent) {
        QImage& bmp = SharedDrawBmp();
        GrowTo(bmp, W, H, QImage::Format_RGB32);
        if (bmp.isNull())
            return;
        {
            // The whole shared bitmap holds this paint's background, not an earlier label's.
            QPainter fill(&bmp);
            const QColor background = ToQColor(look.color);
            fill.fillRect(QRect(W, 0, bmp.width() - W, bmp.height()), background);
            fill.fillRect(QRect(0, H, W, bmp.height() - H), background);
        }
        logo.PaintOpaque(bmp, {}, area);
        if (!area.isEmpty())
            painter.drawImage(QPoint(0, 0), bmp, area);
        return;
    }
    if (area.isEmpty())
        return;
    // Real alpha: the parent's drawing shows where the picture has the background colour, and
    // blends with the antialiased edges instead of meeting a fringe of that colour.
    QImage& keyed = SharedKeyBmp();
    GrowTo(keyed, W, H, QImage::Format_ARGB32_Premultiplied);
    QImage& bmp = SharedDrawBmp();
    GrowTo(bmp, W, H, QImage::Format_RGB32);
    logo.PaintKeyed(keyed, {}, area, &bmp);
    painter.drawImage(QPoint(0, 0), keyed, area);
}

void TdxfLabel::PaintTo(QImage& image)
{
    QPainter painter(&image);
    PaintTo(painter);
}

void TdxfLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TdxfLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}

void TdxfLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (FParentColor
        && (event->type() == QEvent::ParentChange || event->type() == QEvent::PaletteChange))
        update();
}

void TdxfLabel::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    if (OnMouseDown) {
        const QPoint at = event->position().toPoint();
        OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    }
}

void TdxfLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove) {
        const QPoint at = event->position().toPoint();
        OnMouseMove(this, event->modifiers(), at.x(), at.y());
    }
}

void TdxfLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(at);
    FPressed = false;
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    if (click && OnClick)
        OnClick(this);
}

void TdxfLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

void TdxfLabel::FontChanged()
{
    AdjustBounds();
    update();
}

void TdxfLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    const QFontMetrics metrics(FFont.ToQFont());
    resize(metrics.horizontalAdvance(FLook.caption), metrics.height());
}

TColor TdxfLabel::ParentsColor() const
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return FLook.color;
    // A framework container publishes its TColor; any other widget has its palette.
    const QVariant published = parent->property("Color");
    if (published.isValid() && published.canConvert<uint>())
        return TColor(published.toUInt());
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}
