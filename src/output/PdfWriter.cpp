// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PdfWriter.h"

#include "output/WriterParts.h"
#include "render/MaskBlur.h"
#include "render/VectorScene.h"

#include <QDateTime>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>
#include <zlib.h>

namespace {

using WriterParts::TShapeCopies;

// Paths deflate quickly at this level and barely smaller above it; the blurred pictures of soft
// layers are most of a decorated file, a fifth smaller at zlib's default than at 3, for 10 % of
// the time.
constexpr int kContentLevel = 3;
constexpr int kPictureLevel = 6;

QByteArray Deflated(const QByteArray& bytes, int level)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(bytes.constData()), uLong(bytes.size()), level)
        != Z_OK)
        return {};
    out.resize(qsizetype(size));
    return out;
}

QByteArray Ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

// A number with up to `decimals` places, followed by a space.
void Put(QByteArray& out, double value, int decimals)
{
    WriterParts::AppendNumber(out, std::llround(value * std::pow(10.0, decimals)), decimals);
    out += ' ';
}

// The numbered objects of one file.
class TObjects
{
public:
    int Add(QByteArray body)
    {
        FBodies.push_back(std::move(body));
        return int(FBodies.size());
    }

    void Set(int object, QByteArray body) { FBodies[std::size_t(object - 1)] = std::move(body); }

    // A stream of `data` with the dictionary `entries`, deflated at `level` unless it is 0.
    int AddStream(const QByteArray& entries, const QByteArray& data, int level)
    {
        const QByteArray deflated = level > 0 ? Deflated(data, level) : QByteArray();
        const QByteArray& bytes = deflated.isEmpty() ? data : deflated;
        return Add("<<" + entries + (deflated.isEmpty() ? "" : " /Filter /FlateDecode")
                   + " /Length " + QByteArray::number(bytes.size()) + ">>\nstream\n" + bytes
                   + "\nendstream");
    }

    QByteArray File(int catalog, int info) const
    {
        QByteArray pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
        std::vector<qsizetype> offsets;
        for (std::size_t i = 0; i < FBodies.size(); ++i) {
            offsets.push_back(pdf.size());
            pdf += QByteArray::number(qsizetype(i) + 1) + " 0 obj\n" + FBodies[i] + "\nendobj\n";
        }
        const qsizetype table = pdf.size();
        pdf += "xref\n0 " + QByteArray::number(qsizetype(FBodies.size()) + 1)
            + "\n0000000000 65535 f \n";
        for (const qsizetype offset : offsets)
            pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
        pdf += "trailer\n<< /Size " + QByteArray::number(qsizetype(FBodies.size()) + 1) + " /Root "
            + Ref(catalog) + " /Info " + Ref(info) + " >>\nstartxref\n" + QByteArray::number(table)
            + "\n%%EOF\n";
        return pdf;
    }

private:
    std::vector<QByteArray> FBodies;
};

// One content stream and the resources it names, each by its object's number.
class TContent
{
public:
    QByteArray out;

    void Use(char kind, int object)
    {
        out += '/';
        out += kind;
        out += QByteArray::number(object) + ' ';
        FNames[kind].push_back(object);
    }

    QByteArray Resources() const
    {
        static const std::map<char, const char*> kKinds = {
            {'X', "XObject"}, {'G', "ExtGState"}, {'P', "Pattern"}};
        QByteArray resources = " /Resources <<";
        for (const auto& [kind, objects] : FNames) {
            resources += " /" + QByteArray(kKinds.at(kind)) + " <<";
            for (const int object : objects)
                resources +=
                    " /" + QByteArray(1, kind) + QByteArray::number(object) + ' ' + Ref(object);
            resources += " >>";
        }
        return resources + " >>";
    }

private:
    std::map<char, std::vector<int>> FNames;
};

// The rounded point of a path element, for telling where a subpath closes.
struct Grid
{
    long long x = 0;
    long long y = 0;
    bool operator==(const Grid&) const = default;
};

void AppendPath(QByteArray& out, const QPainterPath& path, int decimals)
{
    const double unit = std::pow(10.0, decimals);
    auto grid = [unit](double x, double y) {
        return Grid {std::llround(x * unit), std::llround(y * unit)};
    };
    auto put = [&](const Grid& p) {
        WriterParts::AppendNumber(out, p.x, decimals);
        out += ' ';
        WriterParts::AppendNumber(out, p.y, decimals);
        out += ' ';
    };
    Grid start;
    Grid current;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const Grid p = grid(e.x, e.y);
        if (e.isMoveTo()) {
            put(p);
            out += "m\n";
            start = current = p;
        } else if (e.isLineTo()) {
            const bool last = i + 1 == count || path.elementAt(i + 1).isMoveTo();
            // a subpath back at its start is closed: joined there, not capped
            if (last && p == start) {
                out += "h\n";
            } else if (p != current) {
                put(p);
                out += "l\n";
            }
            current = p;
        } else if (e.isCurveTo() && i + 2 < count) {
            put(p);
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            put(grid(c2.x, c2.y));
            const QPainterPath::Element end = path.elementAt(i + 2);
            current = grid(end.x, end.y);
            put(current);
            out += "c\n";
            i += 2;
        }
    }
}

void AppendColour(QByteArray& out, const QColor& colour, const char* op)
{
    Put(out, colour.redF(), 3);
    Put(out, colour.greenF(), 3);
    Put(out, colour.blueF(), 3);
    out += op;
    out += '\n';
}

QByteArray Box(const QRectF& rect)
{
    QByteArray box = " /BBox [";
    for (const double v : {rect.left(), rect.top(), rect.right(), rect.bottom()})
        Put(box, v, 2);
    return box + ']';
}

// Sets the current transformation to `m` from what it is: a b c d e f cm.
void AppendMatrix(QByteArray& out, const QTransform& m)
{
    for (const double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()})
        Put(out, v, 6);
    out += "cm\n";
}

class TPdfWriter
{
public:
    explicit TPdfWriter(const VectorScene& scene)
        : FScene(scene)
        , FScale(double(scene.outputSize.width()) / scene.region.width())
        // preview pixels, y down, the region's corner at the page's top-left
        , FBase(FScale, 0, 0, -FScale, -scene.region.x() * FScale,
                scene.outputSize.height() + scene.region.y() * FScale)
        , FShadowDecimals(scene.outputSize.width() > 2 * scene.region.width() ? 2 : 1)
    { }

    QByteArray Write()
    {
        TContent page;
        page.out += "q\n";
        AppendMatrix(page.out, FBase);
        const VectorScene& scene = FScene;
        if (!scene.panel.isNull())
            DrawImage(page, Image(scene.panel), QRectF(scene.region.topLeft(), scene.panel.size()));
        if (scene.backdrop) {
            AppendColour(page.out, *scene.backdrop, "rg");
            AppendRect(page.out, scene.backdropRect);
            page.out += "f\n";
        }
        if (scene.ClipsToLabel()) {
            AppendRect(page.out, scene.labelRect);
            page.out += "W n\n";
        }
        if (!scene.picture.isNull())
            DrawImage(page, Image(scene.picture, scene.pictureFormat), scene.pictureRect);
        CountShapes();
        const std::vector<LogoRegion>& regions = scene.regions;
        for (std::size_t i = 0; i < regions.size();) {
            if (regions[i].softLayer == 0) {
                DrawRegion(page, regions[i++]);
                continue;
            }
            std::size_t end = i + 1;
            while (end < regions.size() && regions[end].softLayer == regions[i].softLayer)
                ++end;
            DrawSoft(page, i, end);
            i = end;
        }
        page.out += "Q\n";

        const int content = FObjects.AddStream({}, page.out, kContentLevel);
        const int pages = FObjects.Add({}); // filled in below: the page names its parent
        const int pageObject =
            FObjects.Add("<< /Type /Page /Parent " + Ref(pages) + " /MediaBox [0 0 "
                         + QByteArray::number(scene.outputSize.width()) + ' '
                         + QByteArray::number(scene.outputSize.height()) + "] /Contents "
                         + Ref(content) + page.Resources() + " >>");
        FObjects.Set(pages, "<< /Type /Pages /Kids [" + Ref(pageObject) + "] /Count 1 >>");
        const int catalog = FObjects.Add("<< /Type /Catalog /Pages " + Ref(pages) + " >>");
        return FObjects.File(catalog, FObjects.Add(Info()));
    }

private:
    void AppendRect(QByteArray& out, const QRectF& rect)
    {
        for (const double v : {rect.x(), rect.y(), rect.width(), rect.height()})
            Put(out, v, 2);
        out += "re\n";
    }

    // The paths that may be placed as shapes, in the order they are drawn.
    void CountShapes()
    {
        for (const LogoRegion& region : FScene.regions) {
            if (region.softLayer != 0 || region.path.isEmpty())
                continue;
            if (region.kind == LogoRegion::Fill && !region.gradient)
                FShapes.Count(region.path);
            if (region.kind == LogoRegion::Fade)
                for (const LogoRegion::FadeBand& band : region.bands)
                    if (!band.path.isEmpty())
                        FShapes.Count(band.path);
        }
    }

    int DecimalsOf(const LogoRegion& region) const
    {
        return region.part == LogoRegion::Shadow ? FShadowDecimals : 2;
    }

    // Fills the next counted path in the current colour: a shape shared by several paths is one
    // form, placed where each of them lies.
    void FillShape(TContent& content, const QPainterPath& path, int decimals)
    {
        const TShapeCopies::Copy copy = FShapes.Next();
        const char* fill = path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
        if (!copy.shared) {
            AppendPath(content.out, path, decimals);
            content.out += fill;
            return;
        }
        auto form = FForms.find(copy.shape);
        if (form == FForms.end()) {
            const QPainterPath& shape = FShapes.Shape(copy.shape);
            QByteArray data;
            AppendPath(data, shape, decimals);
            data += fill;
            const QRectF bounds = shape.boundingRect().adjusted(-1, -1, 1, 1);
            form = FForms
                       .emplace(copy.shape,
                                FObjects.AddStream(" /Type /XObject /Subtype /Form" + Box(bounds),
                                                   data, kContentLevel))
                       .first;
        }
        content.out += "q 1 0 0 1 ";
        Put(content.out, copy.offset.x(), 4);
        Put(content.out, copy.offset.y(), 4);
        content.out += "cm ";
        content.Use('X', form->second);
        content.out += "Do Q\n";
    }

    // An ExtGState that paints at `opacity`.
    int Opacity(double opacity)
    {
        const int key = int(std::lround(opacity * 1000));
        auto state = FOpacities.find(key);
        if (state == FOpacities.end()) {
            QByteArray body = "<< /Type /ExtGState /ca ";
            Put(body, key / 1000.0, 3);
            body += "/CA ";
            Put(body, key / 1000.0, 3);
            state = FOpacities.emplace(key, FObjects.Add(body + ">>")).first;
        }
        return state->second;
    }

    // A shading pattern of the gradient, in the page's default space.
    int Pattern(const QLinearGradient& gradient)
    {
        QGradientStops stops = gradient.stops();
        if (stops.isEmpty())
            stops = {{0, Qt::black}, {1, Qt::black}};
        if (stops.front().first > 0)
            stops.prepend({0, stops.front().second});
        if (stops.back().first < 1)
            stops.append({1, stops.back().second});
        auto colour = [](const QColor& c) {
            QByteArray out = "[";
            Put(out, c.redF(), 4);
            Put(out, c.greenF(), 4);
            Put(out, c.blueF(), 4);
            return out + ']';
        };
        auto segment = [&](int i) {
            return "<< /FunctionType 2 /Domain [0 1] /C0 " + colour(stops[i].second) + " /C1 "
                + colour(stops[i + 1].second) + " /N 1 >>";
        };
        QByteArray function;
        if (stops.size() == 2) {
            function = segment(0);
        } else {
            QByteArray functions;
            QByteArray bounds;
            QByteArray encode;
            for (int i = 0; i + 1 < stops.size(); ++i) {
                functions += segment(i) + ' ';
                encode += "0 1 ";
                if (i > 0)
                    Put(bounds, stops[i].first, 4);
            }
            function = "<< /FunctionType 3 /Domain [0 1] /Functions [" + functions + "] /Bounds ["
                + bounds + "] /Encode [" + encode + "] >>";
        }
        QByteArray coords;
        for (const double v : {gradient.start().x(), gradient.start().y(), gradient.finalStop().x(),
                               gradient.finalStop().y()})
            Put(coords, v, 3);
        QByteArray matrix;
        for (const double v :
             {FBase.m11(), FBase.m12(), FBase.m21(), FBase.m22(), FBase.dx(), FBase.dy()})
            Put(matrix, v, 6);
        return FObjects.Add("<< /Type /Pattern /PatternType 2 /Matrix [" + matrix
                            + "] /Shading << /ShadingType 2 /ColorSpace /DeviceRGB /Coords ["
                            + coords + "] /Function " + function + " /Extend [true true] >> >>");
    }

    void DrawRegion(TContent& page, const LogoRegion& region)
    {
        if (region.path.isEmpty())
            return;
        QByteArray& out = page.out;
        switch (region.kind) {
        case LogoRegion::Fill:
            if (region.gradient) {
                out += "/Pattern cs ";
                page.Use('P', Pattern(*region.gradient));
                out += "scn\n";
                AppendPath(out, region.path, DecimalsOf(region));
                out += region.path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
                return;
            }
            out += "q\n";
            if (region.colour.alpha() < 255) {
                page.Use('G', Opacity(region.colour.alphaF()));
                out += "gs\n";
            }
            AppendColour(out, region.colour, "rg");
            FillShape(page, region.path, DecimalsOf(region));
            out += "Q\n";
            return;
        case LogoRegion::Stroke:
            out += "q\n";
            if (region.gradient) {
                out += "/Pattern CS ";
                page.Use('P', Pattern(*region.gradient));
                out += "SCN\n";
            } else {
                AppendColour(out, region.colour, "RG");
            }
            Put(out, region.strokeWidth, 3);
            out += "w 1 J 1 j\n";
            AppendPath(out, region.path, 2);
            out += "S\nQ\n";
            return;
        case LogoRegion::Texture:
            DrawTexture(page, region.path);
            return;
        case LogoRegion::Fade:
            DrawFade(page, region);
            return;
        }
    }

    // The texture's tiles over the part of `area` in view, as one picture: readers lay a
    // pattern's tiles at whole device pixels, so at a fractional scale its tiles drift away from
    // the letters.
    void DrawTexture(TContent& page, const QPainterPath& area)
    {
        const QRect box = area.boundingRect().toAlignedRect().intersected(View());
        if (box.isEmpty() || FScene.texture.isNull())
            return;
        QImage tiles(box.size(), QImage::Format_RGB32);
        {
            QPainter on(&tiles);
            on.setBrushOrigin(FScene.labelRect.topLeft() - box.topLeft());
            on.fillRect(tiles.rect(), QBrush(FScene.texture));
        }
        page.out += "q\n";
        AppendPath(page.out, area, 2);
        page.out += area.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
        DrawImage(page, Image(tiles), box);
        page.out += "Q\n";
    }

    // The fade's colour through a luminosity mask of its bands, painted farthest first in greys
    // of their opacity over black.
    void DrawFade(TContent& page, const LogoRegion& region)
    {
        TContent group;
        for (const LogoRegion::FadeBand& band : region.bands) {
            if (band.path.isEmpty())
                continue;
            const double grey = std::clamp(band.opacity, 0.0, 1.0);
            AppendColour(group.out, QColor::fromRgbF(float(grey), float(grey), float(grey)), "rg");
            FillShape(group, band.path, DecimalsOf(region));
        }
        const QRectF bounds = region.path.boundingRect().adjusted(-1, -1, 1, 1);
        const int form = FObjects.AddStream(" /Type /XObject /Subtype /Form" + Box(bounds)
                                                + " /Group << /S /Transparency /CS /DeviceRGB >>"
                                                + group.Resources(),
                                            group.out, kContentLevel);
        const int state = FObjects.Add("<< /Type /ExtGState /SMask << /Type /Mask /S /Luminosity "
                                       "/G "
                                       + Ref(form) + " >> >>");
        page.out += "q\n";
        page.Use('G', state);
        page.out += "gs\n";
        AppendColour(page.out, region.colour, "rg");
        AppendPath(page.out, region.path, DecimalsOf(region));
        page.out += region.path.fillRule() == Qt::OddEvenFill ? "f*\nQ\n" : "f\nQ\n";
    }

    // A soft layer, regions [first, end), as a picture at the output's resolution: PDF has no
    // blur, so the layer is drawn, blurred and laid in as a lossless image with a soft mask.
    void DrawSoft(TContent& page, std::size_t first, std::size_t end)
    {
        const std::vector<LogoRegion>& regions = FScene.regions;
        const LogoRegion& layer = regions[first];
        QRectF bounds;
        for (std::size_t i = first; i < end; ++i)
            bounds |= regions[i].path.boundingRect();
        if (bounds.isEmpty())
            return;
        const double reach = 3 * layer.blur + 2;
        const QRect box = bounds.adjusted(-reach, -reach, reach, reach).toAlignedRect();
        QImage picture((QSizeF(box.size()) * FScale).toSize(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        const QTransform toPicture =
            QTransform::fromScale(FScale, FScale).translate(-box.left(), -box.top());
        for (std::size_t i = first; i < end; ++i)
            Raster(picture, toPicture, regions[i]);
        MaskBlur::BlurPremultiplied(picture, layer.blur * FScale);
        page.out += "q\n";
        if (layer.opacity < 1) {
            page.Use('G', Opacity(layer.opacity));
            page.out += "gs\n";
        }
        DrawImage(page, Image(picture), box);
        page.out += "Q\n";
    }

    // Draws a region onto a picture as the raster would.
    void Raster(QImage& picture, const QTransform& transform, const LogoRegion& region) const
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(transform);
        switch (region.kind) {
        case LogoRegion::Fill:
            painter.fillPath(region.path,
                             region.gradient ? QBrush(*region.gradient) : QBrush(region.colour));
            break;
        case LogoRegion::Stroke:
            painter.strokePath(
                region.path,
                QPen(region.gradient ? QBrush(*region.gradient) : QBrush(region.colour),
                     region.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            break;
        case LogoRegion::Texture: {
            QBrush tiles(FScene.texture);
            tiles.setTransform(
                QTransform::fromTranslate(FScene.labelRect.left(), FScene.labelRect.top()));
            painter.fillPath(region.path, tiles);
            break;
        }
        case LogoRegion::Fade: {
            // each band replaces what lies beneath it, as in a mask
            QImage fade(picture.size(), QImage::Format_ARGB32_Premultiplied);
            fade.fill(Qt::transparent);
            {
                QPainter bands(&fade);
                bands.setRenderHint(QPainter::Antialiasing);
                bands.setTransform(transform);
                bands.setCompositionMode(QPainter::CompositionMode_Source);
                for (const LogoRegion::FadeBand& band : region.bands) {
                    QColor colour = region.colour;
                    colour.setAlphaF(float(std::clamp(band.opacity, 0.0, 1.0)));
                    bands.fillPath(band.path, colour);
                }
            }
            painter.resetTransform();
            painter.drawImage(0, 0, fade);
            break;
        }
        }
    }

    // An image object of the picture, its alpha as a soft mask; a photograph read from JPEG is
    // embedded as JPEG again.
    int Image(const QImage& image, const QByteArray& format = {})
    {
        const QByteArray size = " /Width " + QByteArray::number(image.width()) + " /Height "
            + QByteArray::number(image.height());
        // pictures are smoothed when drawn larger or smaller than their pixels, as the raster's
        const QByteArray entries =
            " /Type /XObject /Subtype /Image" + size + " /BitsPerComponent 8 /Interpolate true";
        if (format == "jpeg") {
            const QByteArray jpeg = WriterParts::BareJpeg(image);
            if (!jpeg.isEmpty())
                return FObjects.AddStream(entries + " /ColorSpace /DeviceRGB /Filter /DCTDecode",
                                          jpeg, 0);
        }
        const bool alpha = image.hasAlphaChannel();
        const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
        const int width = straight.width();
        const int height = straight.height();
        QByteArray rgb(qsizetype(width) * height * 3, Qt::Uninitialized);
        QByteArray mask(alpha ? qsizetype(width) * height : 0, Qt::Uninitialized);
        char* colour = rgb.data();
        char* cover = mask.data();
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                *colour++ = char(qRed(line[x]));
                *colour++ = char(qGreen(line[x]));
                *colour++ = char(qBlue(line[x]));
                if (alpha)
                    *cover++ = char(qAlpha(line[x]));
            }
        }
        QByteArray smask;
        if (alpha)
            smask = " /SMask "
                + Ref(FObjects.AddStream(entries + " /ColorSpace /DeviceGray", mask,
                                         kPictureLevel));
        return FObjects.AddStream(entries + " /ColorSpace /DeviceRGB" + smask, rgb, kPictureLevel);
    }

    // Draws image object `image` over `rect`, top row at the top.
    void DrawImage(TContent& page, int image, const QRectF& rect)
    {
        page.out += "q ";
        AppendMatrix(page.out,
                     QTransform(rect.width(), 0, 0, -rect.height(), rect.left(),
                                rect.top() + rect.height()));
        page.Use('X', image);
        page.out += "Do Q\n";
    }

    QRect View() const
    {
        return FScene.ClipsToLabel() ? FScene.region.intersected(FScene.labelRect) : FScene.region;
    }

    // The document's title and maker, and its date only when SOURCE_DATE_EPOCH gives one: the
    // same logo gives the same bytes.
    QByteArray Info() const
    {
        QByteArray title = "<FEFF";
        for (const QChar c : FScene.title)
            title += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
        QByteArray info = "<< /Title " + title + "> /Creator (Quilvoro)";
        bool valid = false;
        const qint64 seconds = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&valid);
        if (valid && seconds >= 0)
            info += " /CreationDate (D:"
                + QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
                      .toString(QStringLiteral("yyyyMMddHHmmss"))
                      .toLatin1()
                + "Z)";
        return info + " >>";
    }

    const VectorScene& FScene;
    const double FScale;
    const QTransform FBase;
    const int FShadowDecimals;
    TObjects FObjects;
    TShapeCopies FShapes;
    std::map<int, int> FForms; // shape to form object
    std::map<int, int> FOpacities; // thousandths to state object
};

} // namespace

namespace PdfWriter {

QByteArray Write(const VectorScene& scene)
{
    if (scene.IsNull())
        return {};
    return TPdfWriter(scene).Write();
}

} // namespace PdfWriter
