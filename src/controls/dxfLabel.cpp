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

Tdxf3DEffect::Tdxf3DEffect(TdxfLabel* owner)
    : FOwner(owner)
{ }

void Tdxf3DEffect::SetStyle(TdxfEffectStyle value)
{
    if (StoreIfChanged(FStyle, value))
        Changed();
}

void Tdxf3DEffect::SetOrientation(TdxfOrientation value)
{
    if (StoreIfChanged(FOrientation, value))
        Changed();
}

void Tdxf3DEffect::SetDepth(std::uint16_t value)
{
    if (StoreIfChanged(FDepth, value))
        Changed();
}

void Tdxf3DEffect::SetShadowedColor(TColor value)
{
    if (StoreIfChanged(FShadowedColor, value))
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
    return ShadowOffset(FOrientation, FDepth);
}

void Tdxf3DEffect::Changed()
{
    if (FOwner)
        FOwner->update();
}

// ---------------------------------------------------------------------------------------------

TdxfLabel::TdxfLabel(QWidget* parent)
    : QWidget(parent)
    , FEffect3D(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    FEffect3D.SetOrientation(dxfRightBottom);
    FEffect3D.SetShadowedColor(0x808080);
    FEffect3D.SetStyle(dxfCool);
    FFont.OnChange = [this] {
        FontChanged();
    };
}

TdxfLabel::~TdxfLabel() = default;

void TdxfLabel::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FCaption, value))
        return;
    AdjustBounds();
    update();
}

TColor TdxfLabel::Color() const
{
    return FParentColor && parentWidget() ? ParentsColor() : FColor;
}

void TdxfLabel::SetColor(TColor value)
{
    if (FColor == value && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    update();
}

void TdxfLabel::SetParentColor(bool value)
{
    if (!StoreIfChanged(FParentColor, value))
        return;
    if (value && parentWidget())
        FColor = ParentsColor();
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
    FStyle = value;
    update();
}

void TdxfLabel::SetAngle(int value)
{
    // The face is checked before the range: an out-of-range value with a bitmap face still
    // beeps and explains.
    if (!AngleAllowed(value) || value < 0 || value > 360 || FAngle == value)
        return;
    FAngle = value;
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
    FGlyph = value.isNull() ? QImage() : value.copy();
    update();
}

void TdxfLabel::SetPenWidth(int value)
{
    if (!StoreIfChanged(FPenWidth, value))
        return;
    if (FStyle == dxfOutLine)
        update();
}

void TdxfLabel::SetWarp(TLogoWarp value)
{
    if (StoreIfChanged(FWarp, value))
        update();
}

void TdxfLabel::SetWarpAmount(int value)
{
    if (StoreIfChanged(FWarpAmount, value) && FWarp != TLogoWarp::None)
        update();
}

void TdxfLabel::SetDecorations(const LogoDecorations& value)
{
    if (StoreIfChanged(FDecorations, value))
        update();
}

void TdxfLabel::SetTagline(const LogoTagline& value)
{
    if (StoreIfChanged(FTagline, value))
        update();
}

void TdxfLabel::SetVertical(bool value)
{
    if (StoreIfChanged(FVertical, value))
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
    LogoLook look;
    look.caption = FCaption;
    look.font = FFont.ToQFont();
    look.textColor = FFont.Color();
    look.color = Color();
    // The engraved face always takes the parent's colour (painting it switches ParentColor on).
    look.engravedBase = parentWidget() ? ParentsColor() : FColor;
    look.style = FStyle;
    look.angle = FAngle;
    look.effectStyle = FEffect3D.Style();
    look.orientation = FEffect3D.Orientation();
    look.depth = FEffect3D.Depth();
    look.shadowColor = FEffect3D.ShadowedColor();
    look.texture = FGlyph;
    look.penWidth = FPenWidth;
    look.warp = FWarp;
    look.warpAmount = FWarpAmount;
    look.decorations = FDecorations;
    look.tagline = FTagline;
    look.vertical = FVertical;
    return look;
}

void TdxfLabel::SetLook(const LogoLook& look)
{
    SetCaption(look.caption);
    TFont font;
    font.SetName(look.font.family());
    const int pixels = look.font.pixelSize() > 0
        ? look.font.pixelSize()
        : FontInfo::PointsToPixels(qRound(look.font.pointSizeF()));
    font.SetHeight(-pixels);
    font.SetStyle(StylesOf(look.font));
    font.SetColor(look.textColor);
    FFont.Assign(font);
    if (look.color != Color())
        SetColor(look.color);
    // The style setter repaints whatever the value.
    if (FStyle != look.style)
        SetStyle(look.style);
    if (FAngle != look.angle) {
        FAngle = look.angle;
        update();
    }
    FEffect3D.SetStyle(look.effectStyle);
    FEffect3D.SetOrientation(look.orientation);
    FEffect3D.SetDepth(std::uint16_t(look.depth));
    FEffect3D.SetShadowedColor(look.shadowColor);
    // A texture handed back from Glyph() is the one shown; copying it again would cost a large
    // picture's memory on every change.
    if (look.texture.cacheKey() != FGlyph.cacheKey())
        SetGlyph(look.texture);
    SetPenWidth(look.penWidth);
    SetWarp(look.warp);
    SetWarpAmount(look.warpAmount);
    SetDecorations(look.decorations);
    SetTagline(look.tagline);
    SetVertical(look.vertical);
}

void TdxfLabel::PaintTo(QPainter& painter)
{
    const LogoLook look = Look();
    LogoPainter logo(look, size());
    logo.SetCompositeLayers(FCompositeLayers);
    logo.SetMaskCache(&FCaptionMask);
    // This paint's background keeps the earlier colour; the switch asks for one more paint.
    if (FStyle == dxfLowered && !FParentColor)
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
    resize(metrics.horizontalAdvance(FCaption), metrics.height());
}

TColor TdxfLabel::ParentsColor() const
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return FColor;
    // A framework container publishes its TColor; any other widget has its palette.
    const QVariant published = parent->property("Color");
    if (published.isValid() && published.canConvert<uint>())
        return TColor(published.toUInt());
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}
