// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command/LogoRecipe.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// A picture format the command line writes: its name for --format and the file name suffixes
// that ask for it (the first is the one written).
struct PictureFormat
{
    QByteArray name;
    QStringList suffixes;
    bool keepsAlpha = false;

    // The format called `name` (case-insensitive), or nothing.
    static std::optional<PictureFormat> Named(const QString& name);
    // The format a file name's suffix asks for, or nothing.
    static std::optional<PictureFormat> OfFileName(const QString& fileName);
    // "png, bmp, jpg, webp, svg, svgz or pdf".
    static QString Names();
};

// What `quilvoro render` is asked to write.
struct RenderRequest
{
    QStringList inputs;
    QString output; // -o: the one picture of the one input
    QString directory; // -d: one picture per input in that folder
    QByteArray format = "png";
    bool formatGiven = false;
    int scale = 1;
    bool scaleGiven = false;
    bool transparent = false;
    std::optional<QRect> region; // nothing: the selection frame's region
    std::optional<int> trimMargin; // set by --trim
    std::optional<int> size; // the longest side of the picture
    int jobs = 1;
    // -o is written into the file that is there, keeping its inode, for thumbnail services
    // that read back through the handle of the file they made.
    bool inPlace = false;
    LogoRecipe recipe;

    // Where the picture of `input` goes: -o, or the input's name with the format's suffix in
    // -d or beside the input.
    QString OutputFor(const QString& input) const;
};

// The program's arguments, read with QCommandLineParser before any application object exists,
// so Qt never takes options of its own (-platform, -style, ...) from them:
//   quilvoro [FILE.qvd]                       the window, with the logo file loaded
//   quilvoro render FILE.qvd... [options]     pictures, without any window or display
//   quilvoro render --text TEXT -o OUT        a picture of a logo made from text alone
//   quilvoro looks                            the looks, one a line
// Help, version and usage errors end the program with what they print.
class CommandLine
{
public:
    enum class TAction { OpenWindow, Render, ListLooks, Exit };

    static constexpr int kUsageError = 2;
    static constexpr int kMaxSize = 16384;
    // The longest side of a page that common PDF readers open, in points (a pixel is a point).
    static constexpr int kMaxPdfSide = 14400;

    // Whether the arguments ask for `render`.
    static bool IsRender(int argc, char** argv);

    // `arguments` as main() receives them, program first. `cores` is the default number of
    // render threads.
    static CommandLine Parse(const QStringList& arguments, int cores);

    TAction Action() const { return FAction; }
    // OpenWindow: the logo file to load, or empty.
    QString LogoFile() const { return FLogoFile; }
    // Render: what to write.
    const RenderRequest& Request() const { return FRequest; }
    // Exit: the status, and what goes to standard output and standard error.
    int ExitCode() const { return FExitCode; }
    QString Output() const { return FOutput; }
    QString Errors() const { return FErrors; }

private:
    static CommandLine ParseWindow(const QStringList& arguments);
    static CommandLine ParseRender(const QStringList& arguments, int cores);
    static CommandLine ParseLooks(const QStringList& arguments);
    static CommandLine Exit(int code, const QString& output, const QString& errors = QString());
    static CommandLine UsageError(const QString& program, const QString& message);

    TAction FAction = TAction::Exit;
    QString FLogoFile;
    RenderRequest FRequest;
    int FExitCode = 0;
    QString FOutput;
    QString FErrors;
};
