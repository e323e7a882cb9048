#include "render/dxfLabel.h"

#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "platform/FontInfo.h"
#include "platform/Sound.h"
#include "render/LayerCompositor.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

// The composed picture of every label, and the keyed copy of it for transparent labels. Both
// are reused by every paint and only ever grow.
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

// Round to nearest, ties to even (the default floating-point rounding mode).
int RoundEven(double value)
{
    return int(std::nearbyint(value));
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Where and how the caption is drawn: the cell's top-left corner (the pivot of the rotation)
// and the rotation, shared by every layer of one paint.
struct Placement
{
    QString text;
    QFont font;
    int ascent = 0;
    int escapement = 0; // degrees, counter-clockwise
    QPoint origin;

    QTransform TransformAt(QPoint offset) const
    {
        QTransform transform;
        transform.translate(origin.x() + offset.x(), origin.y() + offset.y());
        transform.rotate(-escapement);
        return transform;
    }

    void Draw(QPainter& painter, QPoint offset, const QColor& colour) const
    {
        painter.setWorldTransform(TransformAt(offset));
        painter.setPen(colour);
        painter.drawText(QPointF(0, ascent), text);
    }

    // The outline of the letters in device coordinates.
    QPainterPath Path(QPoint offset) const
    {
        QPainterPath path;
        path.addText(QPointF(0, ascent), font, text);
        return TransformAt(offset).map(path);
    }

    // The letters' extent in device coordinates, generously rounded out.
    QRect Bounds(QPoint offset) const
    {
        const QFontMetrics metrics(font);
        const QRect cell(0, 0, metrics.horizontalAdvance(text), metrics.height());
        QRect ink = metrics.boundingRect(text).translated(0, ascent).united(cell);
        ink.adjust(-2, -2, 2, 2);
        return TransformAt(offset).mapRect(QRectF(ink)).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
};

// Draws layers k = n .. 1 one text draw each, at (sx * k, sy * k).
void DrawLayers(QPainter& painter, const Placement& placement, QPoint step,
                const std::vector<std::uint32_t>& colours)
{
    for (int k = int(colours.size()); k >= 1; --k)
        placement.Draw(painter, step * k, QColor::fromRgb(colours[std::size_t(k) - 1]));
}

// The same layers from one rendering of the caption.
void CompositeFromMask(QImage& target, const QRect& area, const Placement& placement, QPoint step,
                       const std::vector<std::uint32_t>& colours)
{
    const int depth = int(colours.size());
    const QRect region =
        placement.Bounds({}).intersected(LayerCompositor::SourceRegion(area, step, depth));
    if (region.isEmpty())
        return;
    QImage mask(region.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setFont(placement.font);
        // An integer shift keeps the rasterised coverage identical to a draw in place.
        placement.Draw(painter, -region.topLeft(), Qt::white);
    }
    LayerCompositor::Composite(target, area, mask, region.topLeft(), step, colours);
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
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void Tdxf3DEffect::SetOrientation(TdxfOrientation value)
{
    if (FOrientation == value)
        return;
    FOrientation = value;
    Changed();
}

void Tdxf3DEffect::SetDepth(std::uint16_t value)
{
    if (FDepth == value)
        return;
    FDepth = value;
    Changed();
}

void Tdxf3DEffect::SetShadowedColor(TColor value)
{
    if (FShadowedColor == value)
        return;
    FShadowedColor = value;
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
    const int d = FDepth;
    switch (FOrientation) {
    case dxfLeft:
        return {-d, 0};
    case dxfRight:
        return {d, 0};
    case dxfTop:
        return {0, -d};
    case dxfBottom:
        return {0, d};
    case dxfLeftTop:
        return {-d, -d};
    case dxfLeftBottom:
        return {-d, d};
    case dxfRightTop:
        return {d, -d};
    case dxfRightBottom:
        return {d, d};
    }
    return {0, 0};
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
    if (FCaption == value)
        return;
    FCaption = value;
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
    if (FParentColor == value)
        return;
    FParentColor = value;
    if (value && parentWidget())
        FColor = ParentsColor();
    update();
}

void TdxfLabel::SetParentFont(bool value)
{
    FParentFont = value;
}

void TdxfLabel::SetTransparent(bool value)
{
    if (FTransparent == value)
        return;
    FTransparent = value;
    // Transparent, the parent's drawing must be there before the label paints over it.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TdxfLabel::SetAutoSize(bool value)
{
    if (FAutoSize == value)
        return;
    FAutoSize = value;
    AdjustBounds();
}

void TdxfLabel::SetStyle(TdxfLabelStyle value)
{
    FStyle = value;
    update();
}

void TdxfLabel::SetAngle(int value)
{
    // The face is checked before the range: an out-of-range value with a bitmap face still
    // beeps and explains.
    if (value != 0 && !FontInfo::IsTrueType(FFont.ToQFont())) {
        Sound::MessageBeep(Sound::MB_ICONHAND);
        TDialogs::Current().MessageBox(
            this, QStringLiteral("The Angle property is applicable for the TrueType fonts only"),
            MessageCaption(), MB_OK);
        return;
    }
    if (value < 0 || value > 360 || FAngle == value)
        return;
    FAngle = value;
    update();
}

void TdxfLabel::SetGlyph(const QImage& value)
{
    FGlyph = value.isNull() ? QImage() : value.copy();
    update();
}

void TdxfLabel::SetPenWidth(int value)
{
    if (FPenWidth == value)
        return;
    FPenWidth = value;
    if (FStyle == dxfOutLine)
        update();
}

TColor TdxfLabel::GetColor(TColor a, TColor b, int s, int n)
{
    if (n == 0)
        return a & 0x00FFFFFFu;
    auto channel = [&](int shift) {
        const int from = int((a >> shift) & 0xFF);
        const int to = int((b >> shift) & 0xFF);
        const double step = double(std::int64_t(s) * (to - from)) / double(n);
        return int(std::trunc(double(from) + step));
    };
    return RGB(channel(0), channel(8), channel(16));
}

QPoint TdxfLabel::TextOrigin(QSize area, QSize text, int angle)
{
    const int cx = area.width() / 2;
    const int cy = area.height() / 2;
    const double t = angle * std::numbers::pi / 180.0;
    const double c = std::cos(t);
    const double s = std::sin(t);
    return {cx - RoundEven(c * text.width() / 2.0) - RoundEven(s * text.height() / 2.0),
            cy + RoundEven(s * text.width() / 2.0) - RoundEven(c * text.height() / 2.0)};
}

const QImage& TdxfLabel::DrawBmp()
{
    return SharedDrawBmp();
}

TColor TdxfLabel::Compose()
{
    const int W = width();
    const int H = height();
    QImage& bmp = SharedDrawBmp();
    GrowTo(bmp, W, H, QImage::Format_RGB32);

    TColor background = Color();
    if (bmp.isNull())
        return background;

    Placement placement;
    placement.text = FCaption;
    placement.font = FFont.ToQFont();
    const bool trueType = FontInfo::IsTrueType(placement.font);
    const bool textureFill = !FGlyph.isNull() && trueType;

    const TColor fade = IsSystemColor(background) ? clSilver : background;

    const QFontMetrics metrics(placement.font);
    const int tw = metrics.horizontalAdvance(FCaption);
    const int th = metrics.height();
    placement.ascent = metrics.ascent();
    placement.escapement = ((FAngle % 360) + 360) % 360;
    placement.origin = TextOrigin(QSize(W, H), QSize(tw, th), FAngle);

    QPainter painter(&bmp);
    painter.fillRect(bmp.rect(), ToQColor(background));
    const QRect area(0, 0, W, H);
    // Only the label's own part of the shared bitmap is ever shown.
    painter.setClipRect(area);
    painter.setFont(placement.font);
    painter.setBrush(Qt::NoBrush);

    // Shadow layers.
    const QPoint offset = FEffect3D.Offset();
    const TColor shadow = FEffect3D.ShadowedColor();
    if (FEffect3D.Depth() > 0) {
        if (FEffect3D.Style() == dxfCool) {
            placement.Draw(painter, offset, ToQColor(shadow));
        } else if (FEffect3D.Style() == dxfExtrude || FEffect3D.Style() == dxfFun) {
            const int n = std::max(std::abs(offset.x()), std::abs(offset.y()));
            const QPoint step(Sign(offset.x()), Sign(offset.y()));
            std::vector<std::uint32_t> colours(std::size_t(n), ColorToPixel(shadow));
            if (FEffect3D.Style() == dxfFun) {
                for (int k = 1; k <= n; ++k)
                    colours[std::size_t(k) - 1] = ColorToPixel(GetColor(shadow, fade, k - 1, n));
            }
            if (FCompositeLayers && n > 1) {
                painter.end();
                CompositeFromMask(bmp, area, placement, step, colours);
                painter.begin(&bmp);
                painter.setClipRect(area);
                painter.setFont(placement.font);
            } else {
                DrawLayers(painter, placement, step, colours);
            }
        }
    }

    // Face.
    const QColor face = ToQColor(FFont.Color());
    switch (FStyle) {
    case dxfNormal:
        if (!textureFill)
            placement.Draw(painter, {}, face);
        break;
    case dxfRaised:
        placement.Draw(painter, {}, ToQColor(clBtnHighlight));
        if (FontInfo::PixelsToPoints(std::abs(FFont.Height())) >= 12)
            placement.Draw(painter, {2, 2}, ToQColor(clBtnShadow));
        if (!textureFill)
            placement.Draw(painter, {1, 1}, face);
        break;
    case dxfLowered: {
        placement.Draw(painter, {2, 2}, ToQColor(clBtnHighlight));
        if (!FParentColor)
            SetParentColor(true);
        const TColor now = Color();
        const TColor engraved = IsSystemColor(now) ? clBtnShadow : GetColor(now, clBlack, 1, 3);
        if (!textureFill)
            placement.Draw(painter, {1, 1}, ToQColor(engraved));
        break;
    }
    case dxfOutLine:
        if (trueType) {
            painter.resetTransform();
            painter.setRenderHint(QPainter::Antialiasing, true);
            QPen pen(face, std::max(0, FPenWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.strokePath(placement.Path({}), pen);
            painter.setRenderHint(QPainter::Antialiasing, false);
        } else {
            placement.Draw(painter, {}, face);
        }
        break;
    }

    // Texture, tiled from the label's top-left corner and shown only inside the letters.
    if (textureFill) {
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPainterPath letters = placement.Path(FStyle == dxfNormal ? QPoint() : QPoint(1, 1));
        letters.setFillRule(Qt::OddEvenFill);
        painter.setClipPath(letters, Qt::IntersectClip);
        // Only the tiles that meet the letters can change a pixel.
        const QRect reach = letters.boundingRect().toAlignedRect().intersected(area);
        const int gw = FGlyph.width();
        const int gh = FGlyph.height();
        for (int X = reach.left() / gw * gw; X <= reach.right(); X += gw)
            for (int Y = reach.top() / gh * gh; Y <= reach.bottom(); Y += gh)
                painter.drawImage(QPoint(X, Y), FGlyph);
    }
    return background;
}

void TdxfLabel::PaintTo(QPainter& painter)
{
    const TColor key = Compose();
    const int W = width();
    const int H = height();
    if (W <= 0 || H <= 0)
        return;
    const QImage& bmp = SharedDrawBmp();
    if (!FTransparent) {
        painter.drawImage(QPoint(0, 0), bmp, QRect(0, 0, W, H));
        return;
    }
    // Pixels of the background colour become fully transparent; everything else stays opaque.
    QImage& keyed = SharedKeyBmp();
    GrowTo(keyed, W, H, QImage::Format_ARGB32_Premultiplied);
    const std::uint32_t keyPixel = ColorToPixel(key);
    for (int y = 0; y < H; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(bmp.constScanLine(y));
        auto* to = reinterpret_cast<std::uint32_t*>(keyed.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const std::uint32_t rgb = from[x] & 0x00FFFFFFu;
            to[x] = rgb == keyPixel ? 0u : (rgb | 0xFF000000u);
        }
    }
    painter.drawImage(QPoint(0, 0), keyed, QRect(0, 0, W, H));
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
