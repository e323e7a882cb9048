// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/SvgWriter.h"

#include "output/PngWriter.h"
#include "output/WriterParts.h"
#include "render/VectorScene.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>

namespace {

// Appends numbers separated the short way: a minus sign separates by itself.
class PathText
{
public:
    PathText(QByteArray& out, int decimals)
        : FOut(out)
        , FDecimals(decimals)
    { }

    void Command(char command)
    {
        // a repeated command may be left out: its numbers simply follow
        const bool repeated = command == FLast && command != 'M' && command != 'z';
        if (!repeated)
            FOut += command;
        FLast = command;
        FFirstNumber = !repeated;
    }

    void Number(long long value)
    {
        if (!FFirstNumber && value >= 0)
            FOut += ' ';
        WriterParts::AppendNumber(FOut, value, FDecimals);
        FFirstNumber = false;
    }

private:
    QByteArray& FOut;
    const int FDecimals;
    char FLast = 0;
    bool FFirstNumber = true;
};

// A point in units of the path data.
struct Point
{
    long long x = 0;
    long long y = 0;
    bool operator==(const Point&) const = default;
};

QByteArray Colour(const QColor& colour)
{
    return colour.name(QColor::HexRgb).toLatin1();
}

// A see-through colour's opacity; none for an opaque one.
QByteArray Opacity(const QColor& colour)
{
    if (colour.alpha() == 255)
        return {};
    return " fill-opacity=\"" + QByteArray::number(colour.alphaF(), 'g', 4) + '"';
}

QByteArray Number(int value)
{
    return QByteArray::number(value);
}

QByteArray RectAttributes(const QRect& rect)
{
    return "x=\"" + Number(rect.x()) + "\" y=\"" + Number(rect.y()) + "\" width=\""
        + Number(rect.width()) + "\" height=\"" + Number(rect.height()) + '"';
}

QByteArray Escaped(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        // characters XML 1.0 cannot hold at all
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            continue;
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            continue;
        clean += c;
    }
    return clean.toHtmlEscaped().toUtf8();
}

// The picture's pixels as the raster draws them, and nothing of the file they came from: no
// colour profile for a viewer to convert by (the raster does not) and no text such as dates.
QByteArray PictureData(const QImage& image, const QByteArray& format)
{
    if (format == "jpeg") {
        const QByteArray jpeg = WriterParts::BareJpeg(image);
        if (!jpeg.isEmpty())
            return "data:image/jpeg;base64," + jpeg.toBase64();
    }
    return "data:image/png;base64," + PngWriter::Encode(image).value_or(QByteArray()).toBase64();
}

QByteArray Image(const QRect& rect, const QImage& image, const QByteArray& extra = {},
                 const QByteArray& format = {})
{
    return "<image " + RectAttributes(rect) + " preserveAspectRatio=\"none\"" + extra
        + " xlink:href=\"" + PictureData(image, format) + "\"/>\n";
}

QByteArray Decimal(double value)
{
    return QByteArray::number(value, 'g', 6);
}

// The shadow's filled paths, a shape that recurs moved (the runs of a gradation) written once in
// the document's definitions, where removing a group in an editor leaves it, and placed by <use>.
class TFills
{
public:
    // Counts a path to be filled; Element is then called for the same paths in the same order.
    void Count(const QPainterPath& path, int decimals)
    {
        const int shape = FShapes.Count(path);
        if (shape == int(FDecimals.size()))
            FDecimals.push_back(decimals);
    }

    // The shapes placed more than once.
    QByteArray Definitions() const
    {
        QByteArray out;
        for (int shape = 0; shape < FShapes.Shapes(); ++shape)
            if (FShapes.Shared(shape))
                out += "<path id=\"shape" + QByteArray::number(shape) + "\" d=\""
                    + SvgWriter::PathData(FShapes.Shape(shape), FDecimals[std::size_t(shape)]) + '"'
                    + Rule(FShapes.Shape(shape)) + "/>\n";
        return out;
    }

    // The element filling the next counted path, with `paint` attributes.
    QByteArray Element(const QPainterPath& path, int decimals, const QByteArray& paint)
    {
        const WriterParts::TShapeCopies::Copy copy = FShapes.Next();
        if (!copy.shared)
            return "<path d=\"" + SvgWriter::PathData(path, decimals) + '"' + paint + Rule(path)
                + "/>\n";
        QByteArray element = "<use xlink:href=\"#shape" + QByteArray::number(copy.shape) + '"';
        if (!copy.offset.isNull())
            element +=
                " x=\"" + Decimal(copy.offset.x()) + "\" y=\"" + Decimal(copy.offset.y()) + '"';
        return element + paint + "/>\n";
    }

private:
    static QByteArray Rule(const QPainterPath& path)
    {
        return path.fillRule() == Qt::OddEvenFill ? " fill-rule=\"evenodd\"" : QByteArray();
    }

    WriterParts::TShapeCopies FShapes;
    std::vector<int> FDecimals; // by shape, its first path's
};

// The fade's bands as a mask: each in the grey of its opacity, farthest first, over nothing.
QByteArray FadeMask(const LogoRegion& region, const QByteArray& id, int decimals, TFills& fills)
{
    const QRect box = region.path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    QByteArray mask =
        "<mask id=\"" + id + "\" maskUnits=\"userSpaceOnUse\" " + RectAttributes(box) + ">\n";
    for (const LogoRegion::FadeBand& band : region.bands) {
        if (band.path.isEmpty())
            continue;
        const int grey = std::clamp(int(std::lround(band.opacity * 255)), 0, 255);
        mask +=
            fills.Element(band.path, decimals, " fill=\"" + Colour(QColor(grey, grey, grey)) + '"');
    }
    return mask + "</mask>\n";
}

// A gradient in the label's coordinates, named `id`.
QByteArray LinearGradient(const QLinearGradient& gradient, const QByteArray& id)
{
    QByteArray element = "<linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\""
        + Decimal(gradient.start().x()) + "\" y1=\"" + Decimal(gradient.start().y()) + "\" x2=\""
        + Decimal(gradient.finalStop().x()) + "\" y2=\"" + Decimal(gradient.finalStop().y())
        + "\">\n";
    for (const QGradientStop& stop : gradient.stops())
        element += "<stop offset=\"" + Decimal(stop.first) + "\" stop-color=\""
            + Colour(stop.second) + "\"/>\n";
    return element + "</linearGradient>\n";
}

// The gradient of region `index`, when it has one, to be referred to by PaintOf.
QByteArray GradientFor(const LogoRegion& region, int index)
{
    return region.gradient ? LinearGradient(*region.gradient, "gradient" + Number(index))
                           : QByteArray();
}

// What region `index` is filled or stroked with.
QByteArray PaintOf(const LogoRegion& region, int index)
{
    return region.gradient ? "url(#gradient" + Number(index) + ')' : Colour(region.colour);
}

// The group of a soft layer: regions[first] and those after it of the same layer, blurred
// through a filter of their own and seen at the layer's opacity.
QByteArray SoftGroup(const std::vector<LogoRegion>& regions, std::size_t first)
{
    const LogoRegion& layer = regions[first];
    QByteArray group = "<g";
    if (layer.blur > 0) {
        QRectF bounds;
        for (std::size_t i = first; i < regions.size() && regions[i].softLayer == layer.softLayer;
             ++i)
            bounds |= regions[i].path.boundingRect();
        const double reach = 3 * layer.blur + 2;
        const QRect box = bounds.adjusted(-reach, -reach, reach, reach).toAlignedRect();
        const QByteArray id = "soft" + Number(layer.softLayer);
        group = "<filter id=\"" + id + "\" filterUnits=\"userSpaceOnUse\" " + RectAttributes(box)
            + " color-interpolation-filters=\"sRGB\"><feGaussianBlur stdDeviation=\""
            + Decimal(layer.blur) + "\"/></filter>\n" + group + " filter=\"url(#" + id + ")\"";
    }
    if (layer.opacity < 1)
        group += " opacity=\"" + Decimal(layer.opacity) + '"';
    return group + ">\n";
}

QByteArray RegionElement(const LogoRegion& region, int decimals, int index, TFills& fills)
{
    const auto d = [&] {
        return "d=\"" + SvgWriter::PathData(region.path, decimals) + '"';
    };
    const QByteArray rule =
        region.path.fillRule() == Qt::OddEvenFill ? " fill-rule=\"evenodd\"" : QByteArray();
    switch (region.kind) {
    case LogoRegion::Fill:
        if (!region.gradient && region.part == LogoRegion::Shadow)
            return fills.Element(region.path, decimals,
                                 " fill=\"" + Colour(region.colour) + '"' + Opacity(region.colour));
        return GradientFor(region, index) + "<path " + d() + " fill=\"" + PaintOf(region, index)
            + '"' + (region.gradient ? QByteArray() : Opacity(region.colour)) + rule + "/>\n";
    case LogoRegion::Stroke:
        return GradientFor(region, index) + "<path " + d() + " fill=\"none\" stroke=\""
            + PaintOf(region, index) + "\" stroke-width=\"" + QByteArray::number(region.strokeWidth)
            + "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
    case LogoRegion::Texture:
        return "<path " + d() + " fill=\"url(#texture)\"" + rule + "/>\n";
    case LogoRegion::Fade: {
        // One fill seen through a mask of opaque bands: see-through bands laid side by side
        // would show seams where their antialiased edges meet.
        const QByteArray id = "fade" + Number(index);
        return FadeMask(region, id, decimals, fills) + "<path " + d() + " fill=\""
            + Colour(region.colour) + '"' + rule + " mask=\"url(#" + id + ")\"/>\n";
    }
    }
    return {};
}

// The group a part of the logo is drawn in: an id, and the name an editor lists it by.
struct Group
{
    const char* id;
    const char* label;
};

Group GroupOf(LogoRegion::Part part)
{
    switch (part) {
    case LogoRegion::Shadow:
        return {"shadow", "Shadow"};
    case LogoRegion::Face:
        return {"face", "Face"};
    case LogoRegion::Outline:
        return {"outline", "Outline"};
    case LogoRegion::Textured:
        return {"texture", "Texture"};
    }
    return {"face", "Face"};
}

QByteArray GroupStart(const Group& group, const QByteArray& extra = {})
{
    return QByteArray("<g id=\"") + group.id + "\" inkscape:label=\"" + group.label + '"' + extra
        + ">\n";
}

// Shadows are polygons and keep to the precision the picture's size needs; the letters' curves
// keep hundredths, so that they stay smooth when zoomed.
int DecimalsOf(const LogoRegion& region, int shadowDecimals)
{
    return region.part == LogoRegion::Shadow ? shadowDecimals : 2;
}

// The shadow's fills, counted in the order Regions writes them.
void CountFills(TFills& fills, const std::vector<LogoRegion>& regions, int shadowDecimals)
{
    for (const LogoRegion& region : regions) {
        if (region.path.isEmpty())
            continue;
        const int decimals = DecimalsOf(region, shadowDecimals);
        if (region.kind == LogoRegion::Fill && !region.gradient
            && region.part == LogoRegion::Shadow)
            fills.Count(region.path, decimals);
        if (region.kind == LogoRegion::Fade)
            for (const LogoRegion::FadeBand& band : region.bands)
                if (!band.path.isEmpty())
                    fills.Count(band.path, decimals);
    }
}

// The regions in groups of their part and, within a part, of their soft layer (a blurred group).
QByteArray Regions(const std::vector<LogoRegion>& regions, int shadowDecimals, TFills& fills)
{
    QByteArray out;
    std::optional<LogoRegion::Part> open;
    int soft = 0; // the soft layer whose group is open
    const auto closeSoft = [&] {
        if (soft != 0)
            out += "</g>\n";
        soft = 0;
    };
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const LogoRegion& region = regions[i];
        if (region.path.isEmpty())
            continue;
        if (open != region.part) {
            closeSoft();
            if (open)
                out += "</g>\n";
            out += GroupStart(GroupOf(region.part));
            open = region.part;
        }
        if (region.softLayer != soft) {
            closeSoft();
            soft = region.softLayer;
            if (soft != 0)
                out += SoftGroup(regions, i);
        }
        out += RegionElement(region, DecimalsOf(region, shadowDecimals), int(i), fills);
    }
    closeSoft();
    if (open)
        out += "</g>\n";
    return out;
}

} // namespace

namespace SvgWriter {

QByteArray PathData(const QPainterPath& path, int decimals)
{
    QByteArray out;
    PathText text(out, decimals);
    const double unit = std::pow(10.0, decimals);
    auto Rounded = [unit](double x, double y) {
        return Point {std::llround(x * unit), std::llround(y * unit)};
    };
    Point current;
    Point start;
    auto relative = [&](const Point& p) {
        text.Number(p.x - current.x);
        text.Number(p.y - current.y);
    };
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const Point p = Rounded(e.x, e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            text.Command('M');
            text.Number(p.x);
            text.Number(p.y);
            current = start = p;
            break;
        case QPainterPath::LineToElement: {
            const bool last =
                i + 1 == count || path.elementAt(i + 1).type == QPainterPath::MoveToElement;
            // a subpath back at its start is closed: joined there, not capped
            if (last && p == start) {
                text.Command('z');
                current = start;
                break;
            }
            if (p == current)
                break;
            text.Command('l');
            relative(p);
            current = p;
            break;
        }
        case QPainterPath::CurveToElement: {
            if (i + 2 >= count)
                return out;
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            text.Command('c');
            relative(p);
            relative(Rounded(c2.x, c2.y));
            const Point to = Rounded(end.x, end.y);
            relative(to);
            current = to;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return out;
}

QByteArray Write(const VectorScene& scene)
{
    if (scene.IsNull())
        return {};
    const QRect& r = scene.region;
    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" width=\""
        + Number(scene.outputSize.width()) + "\" height=\"" + Number(scene.outputSize.height())
        + "\" viewBox=\"" + Number(r.x()) + ' ' + Number(r.y()) + ' ' + Number(r.width()) + ' '
        + Number(r.height()) + "\" role=\"img\" aria-label=\"" + Escaped(scene.title) + "\">\n";
    svg += "<title>" + Escaped(scene.title) + "</title>\n";

    const bool clip = scene.ClipsToLabel();
    const bool texture = !scene.texture.isNull();
    // a tenth of a preview pixel is at most a fifth of a device pixel up to scale 2
    const int shadowDecimals = scene.outputSize.width() > 2 * r.width() ? 2 : 1;
    TFills fills;
    CountFills(fills, scene.regions, shadowDecimals);
    const QByteArray shapes = fills.Definitions();
    if (clip || texture || !shapes.isEmpty()) {
        svg += "<defs>\n" + shapes;
        if (clip)
            svg += "<clipPath id=\"label\"><rect " + RectAttributes(scene.labelRect)
                + "/></clipPath>\n";
        if (texture) {
            const QRect tile(QPoint(), scene.texture.size());
            svg += "<pattern id=\"texture\" patternUnits=\"userSpaceOnUse\" " + RectAttributes(tile)
                + ">\n" + Image(tile, scene.texture) + "</pattern>\n";
        }
        svg += "</defs>\n";
    }
    const bool background = !scene.panel.isNull() || scene.backdrop || !scene.picture.isNull();
    if (background)
        svg += GroupStart({"background", "Background"});
    if (!scene.panel.isNull())
        svg += Image(QRect(r.topLeft(), scene.panel.size()), scene.panel);
    if (scene.backdrop)
        svg += "<rect " + RectAttributes(scene.backdropRect) + " fill=\"" + Colour(*scene.backdrop)
            + "\"/>\n";
    const QByteArray clipAttribute = clip ? " clip-path=\"url(#label)\"" : QByteArray();
    if (!scene.picture.isNull())
        svg += Image(scene.pictureRect, scene.picture, clipAttribute, scene.pictureFormat);
    if (background)
        svg += "</g>\n";
    if (clip)
        svg += GroupStart({"logo", "Logo"}, clipAttribute);
    svg += Regions(scene.regions, shadowDecimals, fills);
    if (clip)
        svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

} // namespace SvgWriter
