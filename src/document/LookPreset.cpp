// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LookPreset.h"

#include "document/LogoFile.h"
#include "platform/ErrorText.h"
#include "platform/TIniFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString kLookSection = u"LOOK"_s;
const QString kLogoSection = u"SET"_s;

// A width or depth that was set stays at least a pixel.
int Scaled(int value, double factor, int max)
{
    return std::clamp(int(std::lround(value * factor)), value > 0 ? 1 : 0, max);
}

// A look's widths and depths are meant for letters of the design size.
void ScaleWidths(LogoDocument& look, double factor)
{
    look.Depth = Scaled(look.Depth, factor, LogoDocument::kMaxDepth);
    for (int* width : {&look.Edge1Width, &look.Edge2Width, &look.Edge3Width})
        *width = Scaled(*width, factor, LogoDocument::kMaxEdgeWidth);
    look.ShadowBlur = Scaled(look.ShadowBlur, factor, LogoDocument::kMaxBlur);
    look.GlowSize = Scaled(look.GlowSize, factor, LogoDocument::kMaxBlur);
}

double FactorFor(int size)
{
    return double(size) / LookPreset::kDesignSize;
}

bool SetsFontStyle(const TIniFile& ini)
{
    static const QString styleKeys[] = {u"Bold"_s, u"Italic"_s, u"Under"_s, u"Strike"_s};
    return std::any_of(std::begin(styleKeys), std::end(styleKeys),
                       [&](const QString& key) { return ini.ValueExists(kLogoSection, key); });
}

} // namespace

std::optional<LookPreset> LookPreset::Load(const QString& fileName, bool builtIn, QString* error)
{
    const TIniFile ini(fileName);
    const QStringList keys = LogoFile::KeyNames();
    const auto sets = [&](const QString& key) {
        return ini.ValueExists(kLogoSection, key);
    };
    QString reason;
    if (!QFileInfo(fileName).isFile())
        reason = ErrorText::Say(u"ファイルガアリマセン"_s, u"no such file"_s);
    else if (!ini.ReadError().isEmpty())
        reason = ini.ReadError();
    else if (std::none_of(keys.begin(), keys.end(), sets))
        reason = ErrorText::Say(u"見タ目デハアリマセン ([SET] ニ設定ガアリマセン)"_s,
                                u"not a look (no settings under [SET])"_s);
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return std::nullopt;
    }
    LookPreset look;
    look.FId = QFileInfo(fileName).completeBaseName();
    look.FName = ini.ReadString(kLookSection, u"Name"_s, look.FId);
    look.FOrder = ini.ReadInteger(kLookSection, u"Order"_s, 0);
    look.FFileName = fileName;
    look.FBuiltIn = builtIn;
    look.FSetsFontStyle = SetsFontStyle(ini);
    for (const QString& key : keys) {
        if (LogoFile::IsLayoutKey(key) && !sets(key))
            look.FKeptLayout.append(key);
    }
    look.FLook = LogoFile::Read(ini, LogoDocument());
    return look;
}

void LookPreset::Save(const LogoDocument& document, const QString& name, const QString& fileName)
{
    TIniFile ini(fileName);
    ini.WriteString(kLookSection, u"Name"_s, name);
    // stored at the design size, so the look scales back to any logo it is applied to
    LogoDocument look = document;
    ScaleWidths(look, 1.0 / FactorFor(std::max(document.Size, LogoDocument::kMinSize)));
    LogoFile::WriteLook(look, ini);
    ini.UpdateFile();
}

LogoDocument LookPreset::AppliedTo(const LogoDocument& document) const
{
    LogoDocument result = FLook;
    result.Text = document.Text;
    result.Tagline = document.Tagline;
    result.FontName = document.FontName;
    result.Size = document.Size;
    result.TextureFile = document.TextureFile;
    result.BackgroundFile = document.BackgroundFile;
    if (!FSetsFontStyle)
        result.FontStyle = document.FontStyle;
    for (const QString& key : FKeptLayout)
        result = LogoFile::WithKeyOf(result, key, document);
    ScaleWidths(result, FactorFor(document.Size));
    return result;
}
