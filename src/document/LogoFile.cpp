// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoFile.h"

#include "platform/ErrorText.h"
#include "platform/IniInteger.h"
#include "platform/TIniFile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

const QString kSection = u"SET"_s;

// An integer setting held in a range.
struct TRangeField
{
    int LogoDocument::*member;
    int min;
    int max;
};

// One key of a group of buttons: "1" makes `value` the setting. "0" on the value that is set
// releases it to `released` where the group allows all buttons up, and is ignored elsewhere.
template<class E> struct TChoiceField
{
    E LogoDocument::*member;
    E value;
    std::optional<E> released;
};

// A clamped integer of the warp, written only for a warped logo or one that holds an amount,
// so that a straight one is saved as before and other readers never meet it. Missing, it reads
// as the default document's.
struct TWarpField
{
    int (*get)(const LogoDocument&);
    void (*set)(LogoDocument&, int);
    int min;
    int max;
};

// A string, a clamped integer, a colour (a signed integer), one boolean of a button group, or a
// warp setting.
using TField = std::variant<QString LogoDocument::*, TRangeField, TColor LogoDocument::*,
                            TChoiceField<TLogoFontStyle>, TChoiceField<TLogoLabelStyle>,
                            TChoiceField<TLogoShadowStyle>, TWarpField>;

struct TKey
{
    const char16_t* name;
    TField field;
};

using D = LogoDocument;
using FS = TLogoFontStyle;
using LS = TLogoLabelStyle;
using SS = TLogoShadowStyle;

// Every key of a logo file, in file order: the one place the keys are named.
const std::array<TKey, 23> kKeys = {{
    {u"Label", &D::Text},
    {u"Font", &D::FontName},
    {u"Bold", TChoiceField<FS> {&D::FontStyle, FS::Bold, FS::None}},
    {u"Italic", TChoiceField<FS> {&D::FontStyle, FS::Italic, FS::None}},
    {u"Under", TChoiceField<FS> {&D::FontStyle, FS::Underline, FS::None}},
    {u"Strike", TChoiceField<FS> {&D::FontStyle, FS::StrikeOut, FS::None}},
    {u"Size", TRangeField {&D::Size, D::kMinSize, D::kMaxSize}},
    {u"Angle", TRangeField {&D::Angle, D::kMinAngle, D::kMaxAngle}},
    {u"Style1", TChoiceField<LS> {&D::LabelStyle, LS::Normal, {}}},
    {u"Style2", TChoiceField<LS> {&D::LabelStyle, LS::Outline, {}}},
    {u"Style3", TChoiceField<LS> {&D::LabelStyle, LS::Solid, {}}},
    {u"Shadow1", TChoiceField<SS> {&D::ShadowStyle, SS::Normal, {}}},
    {u"Shadow2", TChoiceField<SS> {&D::ShadowStyle, SS::Deep, {}}},
    {u"Shadow3", TChoiceField<SS> {&D::ShadowStyle, SS::Gradation, {}}},
    {u"Depth", TRangeField {&D::Depth, D::kMinDepth, D::kMaxDepth}},
    {u"Orientation", TRangeField {&D::Direction, D::kMinDirection, D::kMaxDirection}},
    {u"Color1", &D::TextColor},
    {u"Color2", &D::ShadowColor},
    {u"Color3", &D::BackgroundColor},
    {u"Image1", &D::TextureFile},
    {u"Image2", &D::BackgroundFile},
    {u"Warp",
     TWarpField {[](const D& d) { return int(d.Warp); },
                 [](D& d, int value) { d.Warp = TLogoWarp(value); }, D::kMinWarp, D::kMaxWarp}},
    {u"WarpAmount",
     TWarpField {[](const D& d) { return d.WarpAmount; },
                 [](D& d, int value) { d.WarpAmount = value; }, D::kMinWarpAmount,
                 D::kMaxWarpAmount}},
}};

// Writes one key's value from the document.
struct TWriter
{
    const LogoDocument& document;
    TIniFile& ini;
    QString key;

    void operator()(QString D::*member) const { ini.WriteString(kSection, key, document.*member); }
    void operator()(const TRangeField& f) const
    {
        ini.WriteInteger(kSection, key, document.*f.member);
    }
    void operator()(TColor D::*member) const
    {
        ini.WriteInteger(kSection, key, int(document.*member));
    }
    template<class E> void operator()(const TChoiceField<E>& f) const
    {
        ini.WriteBool(kSection, key, document.*f.member == f.value);
    }
    void operator()(const TWarpField& f) const
    {
        // A key already in the file is overwritten, so an old warp cannot outlive its removal;
        // an amount kept without a warp goes on to the next file.
        if (document.Warp != TLogoWarp::None || f.get(document) != f.get(LogoDocument())
            || ini.ValueExists(kSection, key))
            ini.WriteInteger(kSection, key, f.get(document));
    }
};

// Reads one key's value into the document, with the document's value as the default.
struct TReader
{
    LogoDocument& document;
    const TIniFile& ini;
    QString key;

    void operator()(QString D::*member) const
    {
        document.*member = ini.ReadString(kSection, key, document.*member);
    }
    void operator()(const TRangeField& f) const
    {
        const int value = ini.ReadInteger(kSection, key, document.*f.member);
        document.*f.member = std::clamp(value, f.min, f.max);
    }
    void operator()(TColor D::*member) const
    {
        document.*member = TColor(ini.ReadInteger(kSection, key, int(document.*member)));
    }
    template<class E> void operator()(const TChoiceField<E>& f) const
    {
        E& setting = document.*f.member;
        if (ini.ReadBool(kSection, key, setting == f.value))
            setting = f.value;
        else if (setting == f.value && f.released)
            setting = *f.released;
    }
    void operator()(const TWarpField& f) const
    {
        const int value = ini.ReadInteger(kSection, key, f.get(LogoDocument()));
        f.set(document, std::clamp(value, f.min, f.max));
    }
};

// The text, face, size and pictures are the logo's own; every other key is part of its look.
bool IsContent(const TKey& key)
{
    if (std::holds_alternative<QString LogoDocument::*>(key.field))
        return true;
    const auto* range = std::get_if<TRangeField>(&key.field);
    return range && range->member == &D::Size;
}

// Whether any key of a logo is set.
bool HoldsLogo(const TIniFile& ini)
{
    return std::any_of(kKeys.begin(), kKeys.end(), [&](const TKey& key) {
        return ini.ValueExists(kSection, QString::fromUtf16(key.name));
    });
}

} // namespace

LogoDocument LogoFile::Read(const QString& fileName, const LogoDocument& base)
{
    return Read(TIniFile(fileName), base);
}

LogoDocument LogoFile::Read(const TIniFile& ini, const LogoDocument& base)
{
    LogoDocument document = base;
    for (const TKey& key : kKeys)
        std::visit(TReader {document, ini, QString::fromUtf16(key.name)}, key.field);
    // a logo without a face is drawn in the default one wherever it is read, not in whatever
    // face the reader showed before
    if (HoldsLogo(ini) && !ini.ValueExists(kSection, u"Font"_s))
        document.FontName = LogoDocument().FontName;
    document.Text = LogoDocument::FittedText(document.Text);
    return document;
}

std::optional<LogoDocument> LogoFile::Load(const QString& fileName, QString* error)
{
    const TIniFile ini(fileName);
    const QString reason = [&] {
        if (!QFileInfo::exists(fileName))
            return ErrorText::Say(u"ファイルガアリマセン"_s, u"no such file"_s);
        if (!ini.ReadError().isEmpty())
            return ini.ReadError();
        return HoldsLogo(ini)
            ? QString()
            : ErrorText::Say(u"ロゴデータデハアリマセン ([SET] ニ設定ガアリマセン)"_s,
                             u"not a logo file (no settings under [SET])"_s);
    }();
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return std::nullopt;
    }
    return Read(ini, LogoDocument());
}

void LogoFile::Write(const LogoDocument& document, const QString& fileName)
{
    TIniFile ini(fileName);
    Write(document, ini);
    ini.UpdateFile();
}

void LogoFile::Write(const LogoDocument& document, TIniFile& ini)
{
    for (const TKey& key : kKeys)
        std::visit(TWriter {document, ini, QString::fromUtf16(key.name)}, key.field);
}

void LogoFile::WriteLook(const LogoDocument& document, TIniFile& ini)
{
    for (const TKey& key : kKeys) {
        if (!IsContent(key))
            std::visit(TWriter {document, ini, QString::fromUtf16(key.name)}, key.field);
    }
}

std::optional<LogoDocument> LogoFile::WithKey(const LogoDocument& document, const QString& key,
                                              const QString& value, QString* error)
{
    const auto found = std::find_if(kKeys.begin(), kKeys.end(), [&](const TKey& k) {
        return key.compare(QString::fromUtf16(k.name), Qt::CaseInsensitive) == 0;
    });
    if (found == kKeys.end()) {
        *error = u"no logo key '%1'; the keys are %2"_s.arg(key, KeyNames().join(u", "_s));
        return std::nullopt;
    }
    const QString name = QString::fromUtf16(found->name);
    if (!std::holds_alternative<QString D::*>(found->field) && !IniInteger::Parse(value)) {
        *error = u"%1 takes a whole number, not '%2'"_s.arg(name, value);
        return std::nullopt;
    }
    TIniFile ini {QString()}; // in memory only
    ini.WriteString(kSection, name, value);
    LogoDocument result = document;
    std::visit(TReader {result, ini, name}, found->field);
    return result;
}

QStringList LogoFile::KeyNames()
{
    QStringList names;
    for (const TKey& key : kKeys)
        names.append(QString::fromUtf16(key.name));
    return names;
}

bool LogoFile::IsContentKey(const QString& key)
{
    return std::any_of(kKeys.begin(), kKeys.end(), [&](const TKey& k) {
        return IsContent(k) && key.compare(QString::fromUtf16(k.name), Qt::CaseInsensitive) == 0;
    });
}
