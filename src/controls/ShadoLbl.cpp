// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShadoLbl.h"

#include "platform/Cp932Codec.h"
#include "platform/Property.h"
#include "platform/TextOutput.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

// ---- TShadow ----------------------------------------------------------------------------------

void TShadow::SetVisible(bool value)
{
    if (StoreIfChanged(FVisible, value))
        Changed();
}

void TShadow::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        Changed();
}

void TShadow::SetOffsetLeft(int value)
{
    if (StoreIfChanged(FOffsetLeft, value))
        Changed();
}

void TShadow::SetOffsetTop(int value)
{
    if (StoreIfChanged(FOffsetTop, value))
        Changed();
}

void TShadow::Assign(const TShadow& source)
{
    FVisible = source.FVisible;
    FColor = source.FColor;
    FOffsetLeft = source.FOffsetLeft;
    FOffsetTop = source.FOffsetTop;
    Changed();
}

void TShadow::Changed()
{
    if (OnChange)
        OnChange();
}

// ---- unit helpers -----------------------------------------------------------------------------

namespace ShadoLbl {

namespace {

// c1 + (c2 - c1) * k / last, truncated toward zero; the numerator is never negative.
int Lerp(int c1, int c2, int k, int last)
{
    if (last <= 0)
        return c1;
    return (c1 * last + (c2 - c1) * k) / last;
}

// Bytes a character takes in Shift-JIS; characters it cannot hold count as double-byte.
int ByteLength(const QString& character)
{
    if (character.size() > 1)
        return 2;
    return Cp932Codec::IsDoubleByte(character.at(0)) ? 2 : 1;
}

} // namespace

TColor GradientColor(TColor c1, TColor c2, int k, int last)
{
    int r1, g1, b1, r2, g2, b2;
    GetRGB(c1, r1, g1, b1);
    GetRGB(c2, r2, g2, b2);
    return RGB(Lerp(r1, r2, k, last), Lerp(g1, g2, k, last), Lerp(b1, b2, k, last));
}

void GetRGB(TColor color, int& red, int& green, int& blue)
{
    const TColor rgb = ColorToRGB(color);
    red = GetRValue(rgb);
    green = GetGValue(rgb);
    blue = GetBValue(rgb);
}

void GradBitmap(QImage& bitmap, TColor c1, TColor c2, bool vertical)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (w < 1 || h < 1)
        return;
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    // An RGB32 word must carry 0xFF on top: with 0 there, anything that reads the alpha
    // (a grab, a drawing onto a picture with alpha) sees a transparent, black background.
    auto pixel = [&](int k, int last) {
        return ColorToPixel(GradientColor(c1, c2, k, last)) | 0xFF000000u;
    };
    if (vertical) {
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<quint32*>(bitmap.scanLine(y));
            const quint32 word = pixel(y, h - 1);
            std::fill(row, row + w, word);
        }
    } else {
        auto* first = reinterpret_cast<quint32*>(bitmap.scanLine(0));
        for (int x = 0; x < w; ++x)
            first[x] = pixel(x, w - 1);
        for (int y = 1; y < h; ++y)
            std::memcpy(bitmap.scanLine(y), first, size_t(w) * sizeof(quint32));
    }
}

void GradRect(QPainter& canvas, const QRect& rect, TColor c1, TColor c2, bool vertical)
{
    if (rect.width() < 1 || rect.height() < 1)
        return;
    // A one-pixel column (or a short strip) is enough: the stretch repeats it.
    QImage strip = vertical ? QImage(1, rect.height(), QImage::Format_RGB32)
                            : QImage(rect.width(), rect.height() / 20 + 1, QImage::Format_RGB32);
    GradBitmap(strip, c1, c2, vertical);
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(rect, strip);
    canvas.restore();
}

QStringList Characters(const QString& text)
{
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        characters.append(text.mid(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
    return characters;
}

std::vector<TGradientRun> GradientRuns(const QString& text, TTextGradation gradation,
                                       TColor fontColor, TColor midColor, TColor lastColor)
{
    const QStringList characters = Characters(text);
    if (gradation == tgNone || characters.size() < 2)
        return {};
    if (gradation == tg2Colors || characters.size() == 2)
        return {{text, fontColor, lastColor}};

    int bytes = 0;
    for (const QString& c : characters)
        bytes += ByteLength(c);
    // Split after half the bytes, moved past the trail byte when the half ends on a lead byte.
    const int half = bytes / 2;
    QString first;
    QString rest;
    int restCount = 0;
    int position = 0;
    for (const QString& c : characters) {
        if (position < half) {
            first += c;
        } else {
            rest += c;
            ++restCount;
        }
        position += ByteLength(c);
    }
    if (restCount == 1)
        return {{first, fontColor, midColor}, {rest, lastColor, lastColor}};
    return {{first, fontColor, midColor}, {rest, midColor, lastColor}};
}

} // namespace ShadoLbl

// ---- TShadowLabel -----------------------------------------------------------------------------

TShadowLabel::TShadowLabel(QWidget* parent)
    : QWidget(parent)
{
    resize(65, 17);
    FHighlight.SetColor(clWhite);
    FHighlight.SetOffsetLeft(-1);
    FHighlight.SetOffsetTop(-1);
    FHighlight.OnChange = [this] {
        ShadowChanged();
    };
    FShadow.OnChange = [this] {
        ShadowChanged();
    };
    FFont.OnChange = [this] {
        AdjustBounds();
        update();
    };
}

namespace {

// The text the label draws: an empty caption, or a lone accelerator mark, becomes drawable.
QString DrawnText(const QString& caption, bool showAccelChar)
{
    if (caption.isEmpty() || (showAccelChar && caption == u"&"))
        return caption + u' ';
    return caption;
}

} // namespace

void TShadowLabel::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FCaption, value))
        return;
    AdjustBounds();
    update();
}

void TShadowLabel::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        update();
}

void TShadowLabel::SetAlignment(TAlignment value)
{
    if (StoreIfChanged(FAlignment, value))
        update();
}

void TShadowLabel::SetLayout(TTextLayout value)
{
    if (StoreIfChanged(FLayout, value))
        update();
}

void TShadowLabel::SetWordWrap(bool value)
{
    if (!StoreIfChanged(FWordWrap, value))
        return;
    AdjustBounds();
    update();
}

void TShadowLabel::SetShowAccelChar(bool value)
{
    if (!StoreIfChanged(FShowAccelChar, value))
        return;
    AdjustBounds();
    update();
}

void TShadowLabel::SetTransparent(bool value)
{
    if (StoreIfChanged(FTransparent, value))
        update();
}

void TShadowLabel::SetAutoSize(bool value)
{
    if (StoreIfChanged(FAutoSize, value))
        AdjustBounds();
}

void TShadowLabel::SetEllipsis(TEllipsis value)
{
    if (StoreIfChanged(FEllipsis, value))
        update();
}

void TShadowLabel::SetGradateVert(bool value)
{
    if (StoreIfChanged(FGradateVert, value))
        update();
}

void TShadowLabel::SetGradation(bool value)
{
    if (StoreIfChanged(FGradation, value))
        update();
}

void TShadowLabel::SetGradationColor(TColor value)
{
    if (StoreIfChanged(FGradationColor, value))
        update();
}

void TShadowLabel::SetHighlight(const TShadow* value)
{
    // Assigning reports a change, so this repaints even when nothing differs.
    if (!value)
        return;
    FHighlight.Assign(*value);
}

void TShadowLabel::SetShadow(const TShadow* value)
{
    if (!value)
        return;
    FShadow.Assign(*value);
}

void TShadowLabel::SetTextGradation(TTextGradation value)
{
    if (StoreIfChanged(FTextGradation, value))
        update();
}

void TShadowLabel::SetTextGradationColor(TColor value)
{
    if (StoreIfChanged(FTextGradationColor, value) && FTextGradation != tgNone)
        update();
}

void TShadowLabel::SetTextMidColor(TColor value)
{
    // The middle colour shows only in a three-colour gradient.
    if (StoreIfChanged(FTextMidColor, value) && FTextGradation == tg3Colors)
        update();
}

void TShadowLabel::ShadowChanged()
{
    update();
}

unsigned TShadowLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        flags |= DT_CENTER;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    if (FEllipsis == elEnd)
        flags |= DT_END_ELLIPSIS;
    else if (FEllipsis == elPath)
        flags |= DT_PATH_ELLIPSIS;
    return flags;
}

void TShadowLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    // Measured as the plain label measures, without the ellipsis.
    unsigned flags = DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u);
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    QRect r = rect();
    DrawText(nullptr, FFont.ToQFont(), DrawnText(FCaption, FShowAccelChar), r, flags);
    setGeometry(FittedGeometry(geometry(), r.size(), FAlignment));
}

QRect TShadowLabel::FittedGeometry(const QRect& geometry, QSize text, TAlignment alignment)
{
    int left = geometry.x();
    if (alignment == taRightJustify)
        left += geometry.width() - text.width();
    return QRect(QPoint(left, geometry.y()), text);
}

int TShadowLabel::TextTop(TTextLayout layout, int height, int textHeight)
{
    switch (layout) {
    case tlCenter:
        return (height - textHeight) / 2;
    case tlBottom:
        return height - textHeight;
    default:
        return 0;
    }
}

void TShadowLabel::DrawGradientRun(QPainter& surface, QRect& rect,
                                   const ShadoLbl::TGradientRun& run)
{
    const QFont font = FFont.ToQFont();
    const QFontMetrics metrics(font);
    const unsigned flags = TextFlags();
    const QStringList characters = ShadoLbl::Characters(run.text);
    if (characters.size() == 1) {
        // A lone character keeps the alignment, then the run continues after it.
        surface.setPen(ToQColor(run.c1));
        QRect r = rect;
        DrawText(&surface, font, run.text, r, flags);
        rect.setLeft(rect.left() + metrics.horizontalAdvance(run.text));
        return;
    }
    const int last = int(characters.size()) - 1;
    for (int k = 0; k <= last; ++k) {
        const QString& c = characters.at(k);
        QRect r(rect.left(), rect.top(), metrics.horizontalAdvance(c), rect.height());
        surface.setPen(ToQColor(ShadoLbl::GradientColor(run.c1, run.c2, k, last)));
        DrawText(&surface, font, c, r, flags);
        rect.setLeft(rect.left() + r.width());
    }
}

void TShadowLabel::PaintBackground(QPainter& surface)
{
    if (!FGradation)
        surface.fillRect(rect(), ToQColor(FColor));
    else
        ShadoLbl::GradRect(surface, rect(), FGradationColor, FColor, FGradateVert);
}

void TShadowLabel::PaintText(QPainter& surface)
{
    const QString text = DrawnText(FCaption, FShowAccelChar);
    const unsigned flags = TextFlags();
    const QFont font = FFont.ToQFont();

    QRect measured = rect();
    const int textHeight = DrawText(nullptr, font, text, measured, flags | DT_CALCRECT);
    const QRect textRect = rect().translated(0, TextTop(FLayout, height(), textHeight));

    const bool enabled = isEnabled();
    const TColor shadowColor = enabled ? FShadow.Color() : clGray;
    const TColor highlightColor = enabled ? FHighlight.Color() : clBtnHighlight;
    const TColor textColor = enabled ? FFont.Color() : clBtnShadow;

    auto drawAt = [&](int dx, int dy, TColor color) {
        QRect r = textRect.translated(dx, dy);
        surface.setPen(ToQColor(color));
        DrawText(&surface, font, text, r, flags);
    };
    surface.setBrush(Qt::NoBrush);
    if (FShadow.Visible())
        drawAt(FShadow.OffsetLeft(), FShadow.OffsetTop(), shadowColor);
    if (FHighlight.Visible())
        drawAt(FHighlight.OffsetLeft(), FHighlight.OffsetTop(), highlightColor);

    // A gradient keeps its own colours when the label is disabled.
    const auto runs = ShadoLbl::GradientRuns(text, FTextGradation, FFont.Color(), FTextMidColor,
                                             FTextGradationColor);
    if (runs.empty()) {
        drawAt(0, 0, textColor);
        return;
    }
    QRect runRect = textRect;
    for (const ShadoLbl::TGradientRun& run : runs)
        DrawGradientRun(surface, runRect, run);
}

void TShadowLabel::PaintTo(QPainter& painter)
{
    if (FTransparent) {
        PaintText(painter);
        return;
    }
    if (!FFlickerless || width() < 1 || height() < 1) {
        PaintBackground(painter);
        PaintText(painter);
        return;
    }
    // Composed off-screen and copied in one operation, so the text never flickers.
    QImage bitmap(size(), QImage::Format_RGB32);
    if (FGradation)
        ShadoLbl::GradBitmap(bitmap, FGradationColor, FColor, FGradateVert);
    {
        QPainter surface(&bitmap);
        if (!FGradation)
            surface.fillRect(rect(), ToQColor(FColor));
        PaintText(surface);
    }
    painter.drawImage(0, 0, bitmap);
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
