#include "app/CommandLine.h"

#include "render/DocumentRenderer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = u"quilvoro"_s;
const QStringList kFormats = {u"png"_s, u"bmp"_s, u"jpg"_s, u"webp"_s, u"svg"_s, u"pdf"_s};

// Replaces the parser's usage line, which names the binary's path, with ours.
QString HelpText(const QCommandLineParser& parser, const QString& usage)
{
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(u'\n');
    return u"Usage: "_s + usage + text.mid(end);
}

std::optional<int> ParseInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<QRect> ParseRegion(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> value = ParseInt(parts[i].trimmed());
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

// The picture format a file name's suffix asks for, or nothing.
std::optional<QByteArray> FormatOfName(const QString& fileName)
{
    QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"jpeg"_s)
        suffix = u"jpg"_s;
    if (!kFormats.contains(suffix))
        return std::nullopt;
    return suffix.toLatin1();
}

} // namespace

QString RenderRequest::OutputFor(const QString& input) const
{
    if (!output.isEmpty())
        return output;
    const QFileInfo info(input);
    const QString name = info.completeBaseName() + u'.' + QString::fromLatin1(format);
    const QString folder = directory.isEmpty() ? info.path() : directory;
    return folder == u"."_s ? name : QDir(folder).filePath(name);
}

bool CommandLine::IsRender(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], "render") == 0;
}

CommandLine CommandLine::Parse(const QStringList& arguments, int cores)
{
    if (arguments.size() > 1 && arguments[1] == u"render"_s)
        return ParseRender(arguments, cores);
    return ParseWindow(arguments);
}

CommandLine CommandLine::Exit(int code, const QString& output, const QString& errors)
{
    CommandLine result;
    result.FAction = TAction::Exit;
    result.FExitCode = code;
    result.FOutput = output;
    result.FErrors = errors;
    return result;
}

CommandLine CommandLine::UsageError(const QString& program, const QString& message)
{
    return Exit(kUsageError, QString(),
                u"%1: %2\nTry '%1 --help' for more information.\n"_s.arg(program, message));
}

CommandLine CommandLine::ParseWindow(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Makes text logos. With a logo file, the window opens with that logo.\n"
        "To write pictures without the window: quilvoro render --help"_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"file"_s, u"A logo file (.qvd) to open."_s, u"[FILE.qvd]"_s);
    if (!parser.parse(arguments)) {
        CommandLine result = UsageError(kProgram, parser.errorText());
        result.FUnknownOption = !parser.unknownOptionNames().isEmpty();
        return result;
    }
    if (parser.isSet(u"help"_s) || parser.isSet(u"help-all"_s))
        return Exit(0, HelpText(parser, kProgram + u" [options] [FILE.qvd]"_s));
    if (parser.isSet(u"version"_s))
        return Exit(0, kProgram + u' ' + QStringLiteral(QUILVORO_VERSION) + u'\n');
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return UsageError(kProgram, u"only one logo file can be opened"_s);
    CommandLine result;
    result.FAction = TAction::OpenWindow;
    result.FLogoFile = files.value(0);
    return result;
}

CommandLine CommandLine::ParseRender(const QStringList& arguments, int cores)
{
    const QString program = kProgram + u" render"_s;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Writes a picture of each logo file as the window's preview shows it, without any "
        "window or display. By default the picture is the selection frame's region at start, "
        "the same pixels the window's BMP export gives right after loading the file, written "
        "beside the logo file as FILE.png."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption output({u"o"_s, u"output"_s},
                                    u"Write the picture of the one logo file to OUT."_s, u"OUT"_s);
    const QCommandLineOption directory(
        {u"d"_s, u"directory"_s}, u"Write the pictures into DIR (made when missing)."_s, u"DIR"_s);
    const QCommandLineOption format(u"format"_s,
                                    u"png, bmp (24 bits), jpg, webp, or svg or pdf (shapes). "
                                    "Default: the suffix of OUT, else png."_s,
                                    u"FORMAT"_s);
    const QCommandLineOption scale(u"scale"_s, u"Device pixels per preview pixel, 1 to 8."_s,
                                   u"N"_s);
    const QCommandLineOption transparent(
        u"transparent"_s, u"Leave out the background colour and picture (png, webp, svg, pdf)."_s);
    const QCommandLineOption region(
        u"region"_s, u"The region in preview pixels, from the preview's top-left corner."_s,
        u"X,Y,W,H"_s);
    const QCommandLineOption trim(
        u"trim"_s, u"Crop to the drawn pixels; --trim=MARGIN keeps MARGIN pixels around them."_s);
    QCommandLineOption trimMargin(u"trim-margin"_s, QString(), u"MARGIN"_s);
    trimMargin.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption size(
        u"size"_s, u"Fit the longest side into N pixels (for thumbnails)."_s, u"N"_s);
    const QCommandLineOption jobs({u"j"_s, u"jobs"_s},
                                  u"Render on N threads. Default: one per core (%1)."_s.arg(cores),
                                  u"N"_s);
    parser.addOptions(
        {output, directory, format, scale, transparent, region, trim, trimMargin, size, jobs});
    parser.addPositionalArgument(u"files"_s, u"Logo files (.qvd)."_s, u"FILE.qvd..."_s);

    // QCommandLineParser has no options with an optional value
    QStringList rest = arguments.mid(2);
    for (QString& argument : rest) {
        if (argument.startsWith(u"--trim="_s))
            argument = u"--trim-margin="_s + argument.mid(7);
    }
    if (!parser.parse(QStringList {arguments.value(0)} + rest))
        return UsageError(program, parser.errorText());
    if (parser.isSet(u"help"_s) || parser.isSet(u"help-all"_s))
        return Exit(0, HelpText(parser, program + u" [options] FILE.qvd..."_s));
    if (parser.isSet(u"version"_s))
        return Exit(0, kProgram + u' ' + QStringLiteral(QUILVORO_VERSION) + u'\n');

    RenderRequest r;
    r.inputs = parser.positionalArguments();
    if (r.inputs.isEmpty())
        return UsageError(program, u"no logo file given"_s);
    r.output = parser.value(output);
    r.directory = parser.value(directory);
    if (parser.isSet(output) && parser.isSet(directory))
        return UsageError(program, u"-o and -d cannot be used together"_s);
    if (parser.isSet(output) && r.inputs.size() > 1)
        return UsageError(
            program,
            u"-o names one picture, but %1 logo files are given; use -d"_s.arg(r.inputs.size()));
    if (parser.isSet(output) && r.output.isEmpty())
        return UsageError(program, u"-o needs a file name"_s);

    if (parser.isSet(format)) {
        const QString name = parser.value(format).toLower();
        if (!kFormats.contains(name))
            return UsageError(program,
                              u"unknown format '%1' (png, bmp, jpg, webp, svg or pdf)"_s.arg(name));
        r.format = name.toLatin1();
    } else if (!r.output.isEmpty()) {
        r.format = FormatOfName(r.output).value_or("png");
    }

    if (parser.isSet(scale)) {
        const std::optional<int> value = ParseInt(parser.value(scale));
        if (!value || *value < 1 || *value > DocumentRenderer::kMaxScale)
            return UsageError(
                program,
                u"--scale must be a whole number from 1 to %1"_s.arg(DocumentRenderer::kMaxScale));
        r.scale = *value;
        r.scaleGiven = true;
    }

    r.transparent = parser.isSet(transparent);
    if (r.transparent && (r.format == "bmp" || r.format == "jpg"))
        return UsageError(program,
                          u"%1 pictures cannot be transparent; use png or webp"_s.arg(
                              QString::fromLatin1(r.format)));

    if (parser.isSet(region)) {
        r.region = ParseRegion(parser.value(region));
        const QRect panel = DocumentRenderer::PanelRect();
        if (!r.region || !DocumentRenderer::IsValidRegion(*r.region))
            return UsageError(program,
                              u"bad region '%1': give X,Y,W,H inside %2,%3,%4,%5"_s.arg(
                                  parser.value(region), QString::number(panel.x()),
                                  QString::number(panel.y()), QString::number(panel.width()),
                                  QString::number(panel.height())));
    }

    if (parser.isSet(trimMargin)) {
        r.trimMargin = ParseInt(parser.value(trimMargin));
        if (!r.trimMargin || *r.trimMargin < 0)
            return UsageError(program,
                              u"--trim=MARGIN needs a whole number of pixels, 0 or more"_s);
    } else if (parser.isSet(trim)) {
        r.trimMargin = 0;
    }

    if (parser.isSet(size)) {
        r.size = ParseInt(parser.value(size));
        if (!r.size || *r.size < 1 || *r.size > kMaxSize)
            return UsageError(program,
                              u"--size must be a whole number from 1 to %1"_s.arg(kMaxSize));
    }

    r.jobs = cores;
    if (parser.isSet(jobs)) {
        const std::optional<int> value = ParseInt(parser.value(jobs));
        if (!value || *value < 1)
            return UsageError(program, u"-j must be a whole number of threads, 1 or more"_s);
        r.jobs = *value;
    }

    // two inputs of the same name would overwrite each other's picture
    QSet<QString> outputs;
    for (const QString& input : std::as_const(r.inputs)) {
        const QString target = QFileInfo(r.OutputFor(input)).absoluteFilePath();
        if (outputs.contains(target))
            return UsageError(program, u"two logo files would both be written to %1"_s.arg(target));
        outputs.insert(target);
    }

    CommandLine result;
    result.FAction = TAction::Render;
    result.FRequest = r;
    return result;
}
