// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command/CommandLine.h"
#include "document/LookLibrary.h"

#include <QImage>
#include <QMutex>

#include <atomic>
#include <cstdio>
#include <optional>

struct LogoDocument;

// Carries out `quilvoro render`: reads each logo file, draws it with DocumentRenderer, crops
// and fits it as asked and writes the picture atomically (or in place when asked), on as many
// threads as asked. Errors and warnings name their file and go to `errors`; a failed file does not
// stop the others. On a terminal, a batch shows its progress on the last line.
class RenderCommand
{
public:
    static constexpr int kAllWritten = 0;
    static constexpr int kSomeFailed = 1;
    // A look, face or key of the request that is not known: nothing is written.
    static constexpr int kUnknownName = CommandLine::kUsageError;

    explicit RenderCommand(RenderRequest request, std::FILE* errors = stderr);

    // kAllWritten, kSomeFailed or kUnknownName. `looksFolder` holds the built-in looks.
    int Run(const QString& looksFolder = QString());

    // The picture of `document` as the request asks for it (region, scale, transparency,
    // trim and size), with its pictures already loaded. Null when the region is invalid. A
    // size beyond what the largest scale draws gives that largest picture and a `warning`.
    static QImage Picture(const LogoDocument& document, const QImage& texture,
                          const QImage& background, const RenderRequest& request,
                          QString* warning = nullptr);
    // The file contents of `image` in `format`; BMP is 24 bits as the window writes it.
    static std::optional<QByteArray> Encode(const QImage& image, const QByteArray& format);

private:
    bool RenderFileSafely(const QString& input);
    bool RenderFile(const QString& input);
    bool RenderLogo(const QString& input, const LogoDocument& document);
    QImage LoadPicture(const QString& input, const QString& fileName, const QString& what,
                       QRect (*shown)(QSize));
    void Report(const QString& file, const QString& message);
    void FileDone();

    const RenderRequest FRequest;
    LookLibrary FLooks;
    std::FILE* FErrors;
    const bool FShowProgress;
    QMutex FLock; // guards the error stream and the progress line
    int FDone = 0;
    std::atomic<int> FFailed = 0;
};
