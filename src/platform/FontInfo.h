// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

// Facts about fonts that the layout relies on, at the layout's 96 pixels per inch.
namespace FontInfo {

constexpr int kScreenPixelsPerInch = 96;

// Pixel height of a size in points: 40 pt -> 53 px.
int PointsToPixels(int points);

// Size in points of a pixel height, rounded to nearest: 53 px -> 40 pt.
int PixelsToPoints(int pixels);

// Whether the face that `font` resolves to is a scalable outline (TrueType or CFF) font. The
// answer is kept per face (any size) and forgotten when the installed fonts change.
bool IsTrueType(const QFont& font);

// Tests stand in for font files that this desktop does not offer (its font configuration hides
// bitmap faces): while set, the probe decides IsTrueType.
using TrueTypeProbe = std::function<bool(const QFont&)>;
void SetTrueTypeProbe(TrueTypeProbe value);

// The face that a layout name stands for on this system ("ＭＳ Ｐゴシック" -> "IPAPGothic").
QString ResolvedFamily(const QString& family);

// Whether two face names are the same when the case of ASCII letters is ignored (other letters
// must match exactly), as the face list compares them.
bool SameFaceName(const QString& a, const QString& b);

// Installed families that an application may offer, each once by its plain name (no
// "[Foundry]"): no private system faces, no generic aliases.
QStringList PublicFamilies();

// The entry of `faces` that the name `family` selects: the same name, else the face the layout
// name stands for, else one of its substitutes; -1 when none does.
int FindFace(const QStringList& faces, const QString& family);

// Registers the substitutions for the Windows face names that the layout uses. Idempotent.
void InstallSubstitutions();

// A font of the given face and pixel height, as the layout describes fonts.
QFont MakeFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace FontInfo
