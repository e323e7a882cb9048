// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QString>
#include <QStringList>

#include <optional>

class LookLibrary;

// What the command line says of the logos it renders beyond their files: a look, a face, a
// size in points, keys set by their file names, or the text of a logo made without a file.
struct LogoRecipe
{
    std::optional<QString> text; // --text: a logo from New's settings, without a file
    QString face; // --face
    std::optional<int> points; // --points
    QString look; // --look ID
    QStringList settings; // --set KEY=VALUE, in the order given

    bool ChangesLogos() const
    {
        return text || !face.isEmpty() || points || !look.isEmpty() || !settings.isEmpty();
    }

    // `document` as the command line changes it: the text, face and size first (a look scales
    // with the size), then the look, then the keys, so that a key can tweak a look. Nothing when
    // the look, face or a key is not known; `error` then names the known ones.
    std::optional<LogoDocument> AppliedTo(const LogoDocument& document, const LookLibrary& looks,
                                          QString* error) const;

    // The logo of --text.
    std::optional<LogoDocument> NewLogo(const LookLibrary& looks, QString* error) const
    {
        return AppliedTo(LogoDocument(), looks, error);
    }
};
