// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/LogoRecipe.h"

#include "document/LogoFile.h"
#include "document/LookLibrary.h"

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace {

// The installed family called `face` in any case, or nothing.
std::optional<QString> InstalledFamily(const QString& face)
{
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(face, Qt::CaseInsensitive) == 0)
            return family;
    }
    return std::nullopt;
}

} // namespace

std::optional<LogoDocument> LogoRecipe::AppliedTo(const LogoDocument& document,
                                                  const LookLibrary& looks, QString* error) const
{
    LogoDocument result = document;
    if (text)
        result.Text = LogoDocument::FittedText(*text);
    if (points)
        result.Size = *points;
    if (!face.isEmpty()) {
        const std::optional<QString> family = InstalledFamily(face);
        if (!family) {
            *error = u"no face '%1'; the faces are %2"_s.arg(
                face, QFontDatabase::families().join(u", "_s));
            return std::nullopt;
        }
        result.FontName = *family;
    }
    if (!look.isEmpty()) {
        const LookPreset* preset = looks.Find(look);
        if (!preset) {
            *error = u"no look '%1'; the looks are %2"_s.arg(look, looks.Ids().join(u", "_s));
            return std::nullopt;
        }
        result = preset->AppliedTo(result);
    }
    for (const QString& setting : settings) {
        const qsizetype equals = setting.indexOf(u'=');
        if (equals <= 0) {
            *error = u"--set takes KEY=VALUE, not '%1'"_s.arg(setting);
            return std::nullopt;
        }
        const std::optional<LogoDocument> changed =
            LogoFile::WithKey(result, setting.left(equals), setting.mid(equals + 1), error);
        if (!changed)
            return std::nullopt;
        result = *changed;
    }
    return result;
}
