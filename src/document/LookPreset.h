// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QString>
#include <QStringList>

#include <optional>

// A look: the decorative part of a logo (colours, label style, shadow, warp, turn and the
// decorations; a font style, and how the lines are laid out, when it names them), never its
// text, tagline, face, size or pictures. A look
// is a .qvd file of only the keys it sets under [SET], with its gallery name and place under
// [LOOK] (`Name=`, `Order=`); its id is the file's base name. A look is a whole: applying one
// resets every look setting it does not name to its default, so no two looks ever mix.
class LookPreset
{
public:
    // The size the look's widths and depths are designed at; they scale with the logo's size.
    static constexpr int kDesignSize = 60;

    // The look in `fileName`, or nothing when it cannot be read or sets no logo key; `error`
    // then says why.
    static std::optional<LookPreset> Load(const QString& fileName, bool builtIn, QString* error);

    // Writes the look of `document` under `name` as a user look; throws EIniFileException.
    static void Save(const LogoDocument& document, const QString& name, const QString& fileName);

    QString Id() const { return FId; }
    QString Name() const { return FName; }
    QString FileName() const { return FFileName; }
    int Order() const { return FOrder; }
    bool BuiltIn() const { return FBuiltIn; }

    // `document` in this look: its text, face, size and pictures kept, its depths and widths
    // scaled from the design size to its own.
    LogoDocument AppliedTo(const LogoDocument& document) const;

private:
    QString FId;
    QString FName;
    QString FFileName;
    int FOrder = 0;
    bool FBuiltIn = true;
    bool FSetsFontStyle = false;
    // The layout keys the look does not name: applied, it keeps the logo's.
    QStringList FKeptLayout;
    LogoDocument FLook;
};
