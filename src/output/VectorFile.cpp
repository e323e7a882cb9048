// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/VectorFile.h"

#include "output/PdfWriter.h"
#include "output/SvgWriter.h"

namespace VectorFile {

bool IsVectorFormat(const QByteArray& format)
{
    return format == "svg" || format == "pdf";
}

QByteArray Encode(const VectorScene& scene, const QByteArray& format)
{
    if (format == "svg")
        return SvgWriter::Write(scene);
    if (format == "pdf")
        return PdfWriter::Write(scene);
    return {};
}

} // namespace VectorFile
