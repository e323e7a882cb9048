// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/RenderCommand.h"

#include "document/LogoFile.h"
#include "output/PngWriter.h"
#include "output/VectorFile.h"
#include "platform/FileAccess.h"
#include "platform/FontInfo.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"
#include "render/VectorScene.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The bounding box of the pixels that are not fully transparent; empty when there are none.
QRect DrawnRect(const QImage& image)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

RenderOptions OptionsAt(const RenderRequest& request, int scale)
{
    RenderOptions options;
    options.region = request.region;
    options.scale = scale;
    options.transparent = request.transparent;
    return options;
}

// The scale that draws at least `wanted` pixels where `scale` drew `longest`.
int ScaleFor(int wanted, int longest, int scale)
{
    if (longest <= 0)
        return scale;
    const int needed = int(std::ceil(double(wanted) * scale / longest));
    return std::clamp(needed, 1, DocumentRenderer::kMaxScale);
}

// Renders at `scale` and crops to the drawn pixels when the request trims.
QImage RenderAt(const LogoDocument& document, const RenderPictures& pictures,
                const RenderRequest& request, int scale)
{
    const RenderOptions options = OptionsAt(request, scale);
    QImage image = DocumentRenderer::Render(document, pictures, options);
    if (image.isNull() || !request.trimMargin)
        return image;
    // what is drawn is what a transparent picture does not leave out
    RenderOptions maskOptions = options;
    maskOptions.transparent = true;
    const QImage mask =
        request.transparent ? image : DocumentRenderer::Render(document, pictures, maskOptions);
    const QRect drawn = DrawnRect(mask.hasAlphaChannel() && mask.depth() == 32
                                      ? mask
                                      : mask.convertToFormat(QImage::Format_ARGB32));
    if (drawn.isEmpty())
        return image;
    // a margin wider than the picture keeps all of it; bounded first so no edge overflows
    const int m = std::min(*request.trimMargin, std::max(image.width(), image.height()));
    return image.copy(drawn.adjusted(-m, -m, m, m) & image.rect());
}

// The logo as shapes: trimmed to what is drawn (margins in preview pixels) and fitted by its
// stated size, which a vector picture takes without being drawn again; a PDF page no larger
// than readers open, with a `warning` when that is less than --size.
QByteArray VectorPicture(const LogoDocument& document, const RenderPictures& pictures,
                         const RenderRequest& request, QString* warning)
{
    RenderOptions options = OptionsAt(request, request.scale);
    if (request.trimMargin) {
        RenderOptions maskOptions = OptionsAt(request, 1);
        maskOptions.transparent = true;
        const QImage mask = DocumentRenderer::Render(document, pictures, maskOptions);
        const QRect drawn = DrawnRect(mask);
        const QRect region = options.region.value_or(DocumentRenderer::DefaultRegion());
        const int m = *request.trimMargin;
        if (!drawn.isEmpty())
            options.region = drawn.translated(region.topLeft()).adjusted(-m, -m, m, m) & region;
    }
    VectorScene scene = VectorScene::Of(document, pictures, options);
    if (request.size && !scene.IsNull()) {
        int side = *request.size;
        if (request.format == "pdf" && side > CommandLine::kMaxPdfSide) {
            side = CommandLine::kMaxPdfSide;
            *warning = u"warning: a PDF page of more than %1 points on a side does not open in "
                       "common readers; the page is fitted into %1 points, less than --size %2"_s
                           .arg(CommandLine::kMaxPdfSide)
                           .arg(*request.size);
        }
        scene.outputSize = scene.region.size().scaled(side, side, Qt::KeepAspectRatio);
    }
    return VectorFile::Encode(scene, request.format);
}

std::optional<QByteArray> WithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return std::nullopt;
    return bytes;
}

// zlib level 1 at one fixed row filter: what a batch or a thumbnailer wants.
std::optional<QByteArray> EncodePng(const QImage& image)
{
    return PngWriter::Encode(image);
}

// 24 bits, as the window writes it.
std::optional<QByteArray> EncodeBmp(const QImage& image)
{
    return TPictureFile::Bmp24Bytes(image);
}

std::optional<QByteArray> EncodeJpg(const QImage& image)
{
    return WithQt(image.convertToFormat(QImage::Format_RGB888), "jpg");
}

std::optional<QByteArray> EncodeWebp(const QImage& image)
{
    return WithQt(image, "webp");
}

struct TEncoder
{
    const char* format;
    std::optional<QByteArray> (*encode)(const QImage&);
};

const TEncoder kEncoders[] = {
    {"png", EncodePng},
    {"bmp", EncodeBmp},
    {"jpg", EncodeJpg},
    {"webp", EncodeWebp},
};

QString Quoted(const QString& name)
{
    return u'\'' + QDir::toNativeSeparators(name) + u'\'';
}

} // namespace

RenderCommand::RenderCommand(RenderRequest request, std::FILE* errors)
    : FRequest(std::move(request))
    , FErrors(errors)
    , FShowProgress(FRequest.inputs.size() > 1 && isatty(fileno(errors)))
{ }

QImage RenderCommand::Picture(const LogoDocument& document, const QImage& texture,
                              const QImage& background, const RenderRequest& request,
                              QString* warning)
{
    const RenderPictures pictures {background, texture};
    int scale = request.scale;
    if (request.size && !request.scaleGiven) {
        const QSize atOne = DocumentRenderer::OutputSize(OptionsAt(request, 1));
        scale = ScaleFor(*request.size, std::max(atOne.width(), atOne.height()), 1);
    }
    QImage image = RenderAt(document, pictures, request, scale);
    if (image.isNull() || !request.size)
        return image;
    // trimming may leave too few pixels for a crisp fit: draw larger once more
    const int longest = std::max(image.width(), image.height());
    if (!request.scaleGiven && longest < *request.size && scale < DocumentRenderer::kMaxScale) {
        scale = ScaleFor(*request.size, longest, scale);
        image = RenderAt(document, pictures, request, scale);
    }
    const QSize fitted = image.size().scaled(*request.size, *request.size, Qt::KeepAspectRatio);
    if (fitted.width() > image.width()) {
        // enlarging would only cost memory and time for no detail
        if (warning)
            *warning = u"warning: the largest picture at scale %1 is %2x%3 pixels, less than "
                       "--size %4; that is written"_s.arg(scale)
                           .arg(image.width())
                           .arg(image.height())
                           .arg(*request.size);
        return image;
    }
    if (fitted == image.size())
        return image;
    return image.scaled(fitted.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

std::optional<QByteArray> RenderCommand::Encode(const QImage& image, const QByteArray& format)
{
    const auto encoder = std::find_if(std::begin(kEncoders), std::end(kEncoders),
                                      [&](const TEncoder& e) { return format == e.format; });
    if (encoder == std::end(kEncoders))
        return std::nullopt;
    return encoder->encode(image);
}

int RenderCommand::Run(const QString& looksFolder)
{
    FontInfo::InstallSubstitutions();
    QString error;
    if (!FRequest.recipe.look.isEmpty())
        FLooks = LookLibrary(looksFolder, LookLibrary::UserFolder());
    // an unknown name fails every logo alike: said once, before anything is written
    if (FRequest.recipe.ChangesLogos()
        && !FRequest.recipe.AppliedTo(LogoDocument(), FLooks, &error)) {
        std::fputs(u"quilvoro render: %1\nTry 'quilvoro render --help' for more information.\n"_s
                       .arg(error)
                       .toLocal8Bit()
                       .constData(),
                   FErrors);
        return kUnknownName;
    }
    if (FRequest.recipe.text) {
        const std::optional<LogoDocument> logo = FRequest.recipe.NewLogo(FLooks, &error);
        return RenderLogo(u"--text"_s, *logo) ? kAllWritten : kSomeFailed;
    }
    if (!FRequest.directory.isEmpty() && !FileAccess::MakeFolder(FRequest.directory, &error)) {
        Report(FRequest.directory, u"cannot make the folder: "_s + error);
        return kSomeFailed;
    }

    std::atomic<int> next = 0;
    const auto work = [&] {
        for (int i = next++; i < FRequest.inputs.size(); i = next++) {
            if (!RenderFileSafely(FRequest.inputs[i]))
                ++FFailed;
            FileDone();
        }
    };
    const int threads = std::min<int>(FRequest.jobs, int(FRequest.inputs.size()));
    if (threads <= 1) {
        work();
    } else {
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back(work);
        for (std::thread& worker : workers)
            worker.join();
    }
    if (FShowProgress)
        std::fputs("\n", FErrors);
    return FFailed > 0 ? kSomeFailed : kAllWritten;
}

bool RenderCommand::RenderFileSafely(const QString& input)
{
    // a worker thread must not end the program: one file fails, the others go on
    QString reason;
    try {
        return RenderFile(input);
    } catch (const std::bad_alloc&) {
        reason = u"not enough memory to render it"_s;
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    }
    Report(input, reason);
    return false;
}

bool RenderCommand::RenderFile(const QString& input)
{
    QString error;
    const std::optional<LogoDocument> read = LogoFile::Load(input, &error);
    if (!read) {
        Report(input, u"cannot read the logo file: "_s + error);
        return false;
    }
    const std::optional<LogoDocument> document = FRequest.recipe.AppliedTo(*read, FLooks, &error);
    return RenderLogo(input, *document);
}

bool RenderCommand::RenderLogo(const QString& input, const LogoDocument& document)
{
    QString error;
    // only the parts of the pictures that a render can show are decoded
    const QImage texture =
        LoadPicture(input, document.TextureFile, u"texture"_s, DocumentRenderer::TexturePart);
    const QImage background = FRequest.transparent
        ? QImage() // left out anyway
        : LoadPicture(input, document.BackgroundFile, u"background"_s,
                      DocumentRenderer::BackgroundPart);
    const QString output = FRequest.OutputFor(input);
    std::optional<QByteArray> bytes;
    QString warning;
    if (VectorFile::IsVectorFormat(FRequest.format)) {
        bytes = VectorPicture(document, {background, texture}, FRequest, &warning);
        if (bytes->isEmpty())
            bytes.reset();
    } else {
        const QImage image = Picture(document, texture, background, FRequest, &warning);
        if (image.isNull()) // Qt gives a null image when it cannot allocate one
            throw std::bad_alloc();
        bytes = Encode(image, FRequest.format);
    }
    if (!warning.isEmpty())
        Report(input, warning);
    if (!bytes) {
        Report(output,
               u"cannot encode the picture as %1"_s.arg(QString::fromLatin1(FRequest.format)));
        return false;
    }
    const bool written = FRequest.inPlace ? FileAccess::WriteFileInPlace(output, *bytes, &error)
                                          : FileAccess::WriteFileAtomically(output, *bytes, &error);
    if (!written) {
        Report(output, u"cannot write: "_s + error);
        return false;
    }
    return true;
}

QImage RenderCommand::LoadPicture(const QString& input, const QString& fileName,
                                  const QString& what, QRect (*shown)(QSize))
{
    if (fileName.isEmpty())
        return QImage();
    QString reason;
    try {
        return TPictureFile::Load(fileName, shown);
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = u"unknown error"_s;
    }
    // the reason names the file itself where it can
    if (!reason.contains(fileName))
        reason = Quoted(fileName) + u": "_s + reason;
    Report(input, u"warning: the logo is drawn without its %1 picture: %2"_s.arg(what, reason));
    return QImage();
}

void RenderCommand::Report(const QString& file, const QString& message)
{
    const QMutexLocker lock(&FLock);
    // clear the progress line first
    const QByteArray prefix = FShowProgress ? QByteArray("\r\033[K") : QByteArray();
    const QString line = u"quilvoro: %1: %2\n"_s.arg(QDir::toNativeSeparators(file), message);
    std::fputs((prefix + line.toLocal8Bit()).constData(), FErrors);
}

void RenderCommand::FileDone()
{
    const QMutexLocker lock(&FLock);
    ++FDone;
    if (!FShowProgress)
        return;
    const QString line = u"\r\033[Krendering %1 of %2"_s.arg(FDone).arg(FRequest.inputs.size());
    std::fputs(line.toLocal8Bit().constData(), FErrors);
    std::fflush(FErrors);
}
