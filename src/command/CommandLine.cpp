// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/CommandLine.h"

#include "platform/FileAccess.h"
#include "render/DocumentRenderer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = u"quilvoro"_s;

const std::vector<PictureFormat>& Formats()
{
    static const std::vector<PictureFormat> formats = {
        {"png", {u"png"_s}, true},
        {"bmp", {u"bmp"_s}, false},
        {"jpg", {u"jpg"_s, u"jpeg"_s}, false},
        {"webp", {u"webp"_s}, true},
        // shapes, by our own writers
        {"svg", {u"svg"_s}, true},
        {"svgz", {u"svgz"_s}, true},
        {"pdf", {u"pdf"_s}, true},
    };
    return formats;
}

// Options the application object would otherwise take for itself; a picture needs none of them
// and the window is given its platform by the environment.
const QStringList kQtOptions = {u"-platform"_s,      u"-platformpluginpath"_s,
                                u"-platformtheme"_s, u"-plugin"_s,
                                u"-qmljsdebugger"_s, u"-qwindowgeometry"_s,
                                u"-qwindowtitle"_s,  u"-qwindowicon"_s,
                                u"-reverse"_s,       u"-session"_s,
                                u"-style"_s,         u"-stylesheet"_s,
                                u"-widgetcount"_s,   u"-display"_s,
                                u"-geometry"_s,      u"-title"_s,
                                u"-name"_s,          u"-visual"_s,
                                u"-ncols"_s,         u"-cmap"_s,
                                u"-nograb"_s,        u"-dograb"_s,
                                u"-sync"_s,          u"-fn"_s,
                                u"-font"_s,          u"-bg"_s,
                                u"-background"_s,    u"-fg"_s,
                                u"-foreground"_s,    u"-btn"_s,
                                u"-button"_s,        u"-im"_s,
                                u"-inputstyle"_s};

// The parser's "Unknown option 'x'." as our other messages read: lower case, no full stop.
QString ParserError(const QCommandLineParser& parser)
{
    QString text = parser.errorText();
    if (text.endsWith(u'.'))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// -h and --help; Qt's --help-all would promise Qt's options, which are refused.
void AddHelpOption(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption({u"h"_s, u"help"_s}, u"Displays this help."_s));
}

// Replaces the parser's usage line, which names the binary's path, with ours.
QString HelpText(const QCommandLineParser& parser, const QString& usage)
{
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(u'\n');
    return u"Usage: "_s + usage + text.mid(end);
}

QString VersionText()
{
    return kProgram + u' ' + QStringLiteral(QUILVORO_VERSION) + u'\n';
}

std::optional<int> ParseInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString QtOptionIn(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == u"--"_s)
            break;
        const QString name = argument.section(u'=', 0, 0);
        if (kQtOptions.contains(name) || kQtOptions.contains(name.mid(1)))
            return u"unknown option '%1' (Qt's own options are not taken)"_s.arg(name);
    }
    return QString();
}

// --- one checker per option: stores the value, or says what is wrong with it ---------------

using TCheck = QString (*)(const QString& value, RenderRequest& request);

QString CheckOutput(const QString& value, RenderRequest& r)
{
    r.output = value;
    return value.isEmpty() ? u"-o needs a file name"_s : QString();
}

QString CheckDirectory(const QString& value, RenderRequest& r)
{
    r.directory = value;
    return value.isEmpty() ? u"-d needs a folder name"_s : QString();
}

QString CheckFormat(const QString& value, RenderRequest& r)
{
    const std::optional<PictureFormat> format = PictureFormat::Named(value);
    if (!format)
        return u"unknown format '%1' (%2)"_s.arg(value, PictureFormat::Names());
    r.format = format->name;
    r.formatGiven = true;
    return QString();
}

QString CheckScale(const QString& value, RenderRequest& r)
{
    const std::optional<int> scale = ParseInt(value);
    if (!scale || *scale < 1 || *scale > DocumentRenderer::kMaxScale)
        return u"--scale must be a whole number from 1 to %1"_s.arg(DocumentRenderer::kMaxScale);
    r.scale = *scale;
    r.scaleGiven = true;
    return QString();
}

QString CheckTransparent(const QString&, RenderRequest& r)
{
    r.transparent = true;
    return QString();
}

// Edges are compared in 64 bits before any rectangle is made, so no sum can overflow.
QString RegionEdgeOutside(qint64 x, qint64 y, qint64 w, qint64 h)
{
    const QRect panel = DocumentRenderer::PanelRect();
    const qint64 right = qint64(panel.x()) + panel.width();
    const qint64 bottom = qint64(panel.y()) + panel.height();
    const QString within = u" (the preview spans x %1 to %2 and y %3 to %4)"_s.arg(panel.x())
                               .arg(right)
                               .arg(panel.y())
                               .arg(bottom);
    if (w <= 0 || h <= 0)
        return u"its width and height must be 1 or more"_s;
    if (x < panel.x())
        return u"its left edge, %1, lies left of the preview"_s.arg(x) + within;
    if (y < panel.y())
        return u"its top edge, %1, lies above the preview"_s.arg(y) + within;
    if (x + w > right)
        return u"its right edge, %1, lies right of the preview"_s.arg(x + w) + within;
    if (y + h > bottom)
        return u"its bottom edge, %1, lies below the preview"_s.arg(y + h) + within;
    return QString();
}

QString CheckRegion(const QString& value, RenderRequest& r)
{
    const QStringList parts = value.split(u',');
    std::optional<int> v[4];
    for (int i = 0; i < 4 && parts.size() == 4; ++i)
        v[i] = ParseInt(parts[i]);
    if (parts.size() != 4 || !v[0] || !v[1] || !v[2] || !v[3])
        return u"bad region '%1': give X,Y,W,H as four whole numbers"_s.arg(value);
    const QString outside = RegionEdgeOutside(*v[0], *v[1], *v[2], *v[3]);
    if (!outside.isEmpty())
        return u"bad region '%1': %2"_s.arg(value, outside);
    r.region = QRect(*v[0], *v[1], *v[2], *v[3]);
    return QString();
}

QString CheckTrim(const QString&, RenderRequest& r)
{
    if (!r.trimMargin)
        r.trimMargin = 0;
    return QString();
}

QString CheckTrimMargin(const QString& value, RenderRequest& r)
{
    r.trimMargin = ParseInt(value);
    if (!r.trimMargin || *r.trimMargin < 0)
        return u"--trim=MARGIN needs a whole number of pixels, 0 or more"_s;
    return QString();
}

QString CheckSize(const QString& value, RenderRequest& r)
{
    r.size = ParseInt(value);
    if (!r.size || *r.size < 1 || *r.size > CommandLine::kMaxSize)
        return u"--size must be a whole number from 1 to %1"_s.arg(CommandLine::kMaxSize);
    return QString();
}

QString CheckJobs(const QString& value, RenderRequest& r)
{
    const std::optional<int> jobs = ParseInt(value);
    if (!jobs || *jobs < 1)
        return u"-j must be a whole number of threads, 1 or more"_s;
    r.jobs = *jobs;
    return QString();
}

QString CheckInPlace(const QString&, RenderRequest& r)
{
    r.inPlace = true;
    return QString();
}

QString CheckText(const QString& value, RenderRequest& r)
{
    r.recipe.text = value;
    return value.isEmpty() ? u"--text needs the logo's text"_s : QString();
}

QString CheckFace(const QString& value, RenderRequest& r)
{
    r.recipe.face = value.trimmed();
    return r.recipe.face.isEmpty() ? u"--face needs a face's name"_s : QString();
}

QString CheckPoints(const QString& value, RenderRequest& r)
{
    r.recipe.points = ParseInt(value);
    if (!r.recipe.points || *r.recipe.points < LogoDocument::kMinSize
        || *r.recipe.points > LogoDocument::kMaxSize)
        return u"--points must be a whole number from %1 to %2"_s.arg(LogoDocument::kMinSize)
            .arg(LogoDocument::kMaxSize);
    return QString();
}

QString CheckLook(const QString& value, RenderRequest& r)
{
    r.recipe.look = value.trimmed();
    return r.recipe.look.isEmpty() ? u"--look needs a look's id (quilvoro looks lists them)"_s
                                   : QString();
}

QString CheckSet(const QString& value, RenderRequest& r)
{
    if (value.indexOf(u'=') <= 0)
        return u"--set takes KEY=VALUE, not '%1'"_s.arg(value);
    r.recipe.settings.append(value);
    return QString();
}

// --- the options of `render`, declared once -------------------------------------------------

struct TRenderOption
{
    QStringList names;
    QString description;
    QString valueName; // empty: a switch
    TCheck check;
    bool hidden = false;
};

const std::vector<TRenderOption>& DeclaredRenderOptions()
{
    static const std::vector<TRenderOption> options = {
        {{u"o"_s, u"output"_s},
         u"Write the picture of the one logo file to OUT."_s,
         u"OUT"_s,
         CheckOutput},
        {{u"d"_s, u"directory"_s},
         u"Write the pictures into DIR (made when missing)."_s,
         u"DIR"_s,
         CheckDirectory},
        {{u"format"_s},
         u"%1. Default: the suffix of OUT, else png. BMP is 24 bits."_s.arg(PictureFormat::Names()),
         u"FORMAT"_s,
         CheckFormat},
        {{u"scale"_s},
         u"Device pixels per preview pixel, 1 to %1."_s.arg(DocumentRenderer::kMaxScale),
         u"N"_s,
         CheckScale},
        {{u"transparent"_s},
         u"Leave out the background colour and picture (png, webp, svg, pdf)."_s,
         {},
         CheckTransparent},
        {{u"region"_s},
         u"The region in preview pixels, from the preview's top-left corner."_s,
         u"X,Y,W,H"_s,
         CheckRegion},
        {{u"trim"_s},
         u"Crop to the drawn pixels; --trim=MARGIN keeps MARGIN pixels around them."_s,
         {},
         CheckTrim},
        {{u"trim-margin"_s}, {}, u"MARGIN"_s, CheckTrimMargin, true},
        {{u"size"_s},
         u"Fit the longest side into N pixels (for thumbnails); never drawn beyond scale %1, "
         "nor a PDF page beyond %2 points."_s.arg(DocumentRenderer::kMaxScale)
             .arg(CommandLine::kMaxPdfSide),
         u"N"_s,
         CheckSize},
        {{u"j"_s, u"jobs"_s}, u"Render on N threads. Default: one per core."_s, u"N"_s, CheckJobs},
        {{u"in-place"_s},
         u"Write into the file OUT itself rather than replacing it, for thumbnail services "
         "that read back the file they made."_s,
         {},
         CheckInPlace},
        {{u"text"_s},
         u"Make the logo from TEXT and New's settings instead of a logo file; needs -o."_s,
         u"TEXT"_s,
         CheckText},
        {{u"look"_s},
         u"Apply the look ID to every logo (quilvoro looks lists them)."_s,
         u"ID"_s,
         CheckLook},
        {{u"face"_s}, u"Draw every logo in the face NAME."_s, u"NAME"_s, CheckFace},
        {{u"points"_s},
         u"Set every logo's text size to PT points, %1 to %2."_s.arg(LogoDocument::kMinSize)
             .arg(LogoDocument::kMaxSize),
         u"PT"_s,
         CheckPoints},
        {{u"set"_s},
         u"Set the logo key KEY (as in .qvd files, e.g. Color1=255) for this run; may be "
         "given more than once."_s,
         u"KEY=VALUE"_s,
         CheckSet},
    };
    return options;
}

void DeclareRenderOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        u"Writes a picture of each logo file as the window's preview shows it, without any "
        "window or display. By default the picture is the selection frame's region at start, "
        "the same pixels the window's BMP export gives right after loading the file, written "
        "beside the logo file as FILE.png."_s);
    AddHelpOption(parser);
    parser.addVersionOption();
    for (const TRenderOption& declared : DeclaredRenderOptions()) {
        QCommandLineOption option(declared.names, declared.description, declared.valueName);
        if (declared.hidden)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(u"files"_s, u"Logo files (.qvd)."_s, u"FILE.qvd..."_s);
}

// --- rules across options -------------------------------------------------------------------

QString CheckTargets(const RenderRequest& r)
{
    if (r.recipe.text && !r.inputs.isEmpty())
        return u"--text makes its own logo; give no logo file with it"_s;
    if (r.recipe.text && r.output.isEmpty())
        return u"--text needs -o to name its picture"_s;
    if (r.inputs.isEmpty() && !r.recipe.text)
        return u"no logo file given (or --text)"_s;
    if (!r.output.isEmpty() && !r.directory.isEmpty())
        return u"-o and -d cannot be used together"_s;
    if (!r.output.isEmpty() && r.inputs.size() > 1)
        return u"-o names one picture, but %1 logo files are given; use -d"_s.arg(r.inputs.size());
    if (r.inPlace && r.output.isEmpty())
        return u"--in-place needs -o"_s;
    return QString();
}

// A picture named .png holds PNG bytes: the suffix of OUT and the format agree. In place, the
// thumbnail service names the file and its suffix says nothing.
QString CheckFormatOfOutput(RenderRequest& r)
{
    if (!r.output.isEmpty() && !r.inPlace) {
        const QString suffix = QFileInfo(r.output).suffix();
        const std::optional<PictureFormat> named = PictureFormat::OfFileName(r.output);
        if (!suffix.isEmpty() && !named)
            return u"'%1': .%2 pictures are not written; the formats are %3"_s.arg(
                r.output, suffix, PictureFormat::Names());
        if (!r.formatGiven && named)
            r.format = named->name;
        else if (!suffix.isEmpty() && named->name != r.format)
            return u"'%1' does not name a %2 picture: end it in .%2, or give --format with "
                   "one of %3 and the suffix it names"_s.arg(
                       r.output, QString::fromLatin1(r.format), PictureFormat::Names());
    }
    if (r.transparent && !PictureFormat::Named(QString::fromLatin1(r.format))->keepsAlpha)
        return u"%1 pictures cannot be transparent; use png, webp, svg or pdf"_s.arg(
            QString::fromLatin1(r.format));
    return QString();
}

// --size chooses the scale itself.
QString CheckSizeAlone(const RenderRequest& r)
{
    return r.size && r.scaleGiven
        ? u"--size and --scale cannot be used together: --size chooses the scale"_s
        : QString();
}

QString CheckOutputs(const RenderRequest& r)
{
    QSet<QString> outputs;
    for (const QString& input : r.inputs) {
        const QString target = QFileInfo(r.OutputFor(input)).absoluteFilePath();
        if (outputs.contains(target))
            return u"two logo files would both be written to %1"_s.arg(target);
        outputs.insert(target);
        for (const QString& other : r.inputs) {
            if (FileAccess::SameFile(target, other))
                return u"the picture of %1 would overwrite the logo file %2"_s.arg(input, other);
        }
    }
    return QString();
}

// `--trim 10` leaves 10 as a logo file name, which no option would explain.
QString CheckBareTrim(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(u"--trim"_s);
    if (at < 0 || at + 1 >= arguments.size())
        return QString();
    const QString next = arguments[at + 1];
    if (!ParseInt(next) || QFileInfo::exists(next))
        return QString();
    return u"--trim takes its margin after an equals sign: --trim=%1"_s.arg(next);
}

QString CheckRules(RenderRequest& r, const QStringList& arguments)
{
    for (const QString& problem : {CheckBareTrim(arguments), CheckTargets(r), CheckSizeAlone(r)}) {
        if (!problem.isEmpty())
            return problem;
    }
    // -o names its own file whatever the format, so an input under it is found first
    const QString outputs = CheckOutputs(r);
    return outputs.isEmpty() ? CheckFormatOfOutput(r) : outputs;
}

} // namespace

std::optional<PictureFormat> PictureFormat::Named(const QString& name)
{
    for (const PictureFormat& format : Formats()) {
        if (QString::fromLatin1(format.name).compare(name, Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

std::optional<PictureFormat> PictureFormat::OfFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const PictureFormat& format : Formats()) {
        if (format.suffixes.contains(suffix))
            return format;
    }
    return std::nullopt;
}

QString PictureFormat::Names()
{
    QStringList names;
    for (const PictureFormat& format : Formats())
        names.append(QString::fromLatin1(format.name));
    const QString last = names.takeLast();
    return names.join(u", "_s) + u" or "_s + last;
}

QString RenderRequest::OutputFor(const QString& input) const
{
    if (!output.isEmpty())
        return output;
    const QFileInfo info(input);
    const QString suffix = PictureFormat::Named(QString::fromLatin1(format))->suffixes.first();
    const QString name = info.completeBaseName() + u'.' + suffix;
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
    if (arguments.size() > 1 && arguments[1] == u"looks"_s)
        return ParseLooks(arguments);
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
    AddHelpOption(parser);
    parser.addVersionOption();
    parser.addPositionalArgument(u"file"_s, u"A logo file (.qvd) to open."_s, u"[FILE.qvd]"_s);
    const QString qtOption = QtOptionIn(arguments.mid(1));
    if (!qtOption.isEmpty())
        return UsageError(kProgram, qtOption);
    if (!parser.parse(arguments))
        return UsageError(kProgram, ParserError(parser));
    if (parser.isSet(u"help"_s))
        return Exit(0, HelpText(parser, kProgram + u" [options] [FILE.qvd]"_s));
    if (parser.isSet(u"version"_s))
        return Exit(0, VersionText());
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return UsageError(kProgram, u"only one logo file can be opened"_s);
    CommandLine result;
    result.FAction = TAction::OpenWindow;
    result.FLogoFile = files.value(0);
    return result;
}

CommandLine CommandLine::ParseLooks(const QStringList& arguments)
{
    const QString program = kProgram + u" looks"_s;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Lists the looks that quilvoro render --look and the window's gallery offer, one a "
        "line: the id, a tab, the name, a tab, and built-in or user."_s);
    parser.addHelpOption();
    if (!parser.parse(QStringList {arguments.value(0)} + arguments.mid(2)))
        return UsageError(program, parser.errorText());
    if (parser.isSet(u"help"_s))
        return Exit(0, HelpText(parser, program));
    if (!parser.positionalArguments().isEmpty())
        return UsageError(program, u"looks takes no arguments"_s);
    CommandLine result;
    result.FAction = TAction::ListLooks;
    return result;
}

CommandLine CommandLine::ParseRender(const QStringList& arguments, int cores)
{
    const QString program = kProgram + u" render"_s;
    QCommandLineParser parser;
    DeclareRenderOptions(parser);
    // QCommandLineParser has no options with an optional value
    QStringList rest = arguments.mid(2);
    for (QString& argument : rest) {
        if (argument.startsWith(u"--trim="_s))
            argument = u"--trim-margin="_s + argument.mid(7);
    }
    const QString qtOption = QtOptionIn(rest);
    if (!qtOption.isEmpty())
        return UsageError(program, qtOption);
    if (!parser.parse(QStringList {arguments.value(0)} + rest))
        return UsageError(program, ParserError(parser));
    if (parser.isSet(u"help"_s))
        return Exit(0,
                    HelpText(parser, program + u" [options] FILE.qvd... | --text TEXT -o OUT"_s));
    if (parser.isSet(u"version"_s))
        return Exit(0, VersionText());

    RenderRequest r;
    r.inputs = parser.positionalArguments();
    r.jobs = cores;
    for (const TRenderOption& option : DeclaredRenderOptions()) {
        if (!parser.isSet(option.names.first()))
            continue;
        // a switch has no values; an option given twice is checked twice, the last one wins
        const QStringList values = option.valueName.isEmpty() ? QStringList {QString()}
                                                              : parser.values(option.names.first());
        for (const QString& value : values) {
            const QString problem = option.check(value, r);
            if (!problem.isEmpty())
                return UsageError(program, problem);
        }
    }
    const QString problem = CheckRules(r, rest);
    if (!problem.isEmpty())
        return UsageError(program, problem);
    CommandLine result;
    result.FAction = TAction::Render;
    result.FRequest = r;
    return result;
}
