// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoFile.h"

#include "platform/ErrorText.h"
#include "platform/IniInteger.h"
#include "platform/TIniFile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <type_traits>
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

// A clamped integer written only where `written` says so: the warp's for a warped logo, a
// decoration's where it differs from its default. A logo without them is saved as before and
// other readers never meet them; missing, they read as the default document's.
struct TOptionalField
{
    int (*get)(const LogoDocument&);
    void (*set)(LogoDocument&, int);
    int min;
    int max;
    bool (*written)(const LogoDocument&);
};

template<auto Member> int Get(const LogoDocument& document)
{
    return int(document.*Member);
}

template<auto Member> void Set(LogoDocument& document, int value)
{
    using Value = std::remove_cvref_t<decltype(document.*Member)>;
    document.*Member = Value(value);
}

template<auto Member> bool Differs(const LogoDocument& document)
{
    return document.*Member != LogoDocument().*Member;
}

// Both warp keys for a warped logo; an amount kept without a warp goes on to the next file too.
template<auto Member> bool Warped(const LogoDocument& document)
{
    return document.Warp != TLogoWarp::None || Differs<Member>(document);
}

template<auto Member> TOptionalField Warping(int min, int max)
{
    return {Get<Member>, Set<Member>, min, max, Warped<Member>};
}

template<auto Member>
TOptionalField Decoration(int min = std::numeric_limits<int>::min(),
                          int max = std::numeric_limits<int>::max())
{
    return {Get<Member>, Set<Member>, min, max, Differs<Member>};
}

// A string written only when it is not empty, as the tagline: a logo without one is saved as
// before.
struct TOptionalText
{
    QString LogoDocument::*member;
};

// A string, a clamped integer, a colour (a signed integer), one boolean of a button group, or an
// optional setting.
using TField = std::variant<QString LogoDocument::*, TRangeField, TColor LogoDocument::*,
                            TChoiceField<TLogoFontStyle>, TChoiceField<TLogoLabelStyle>,
                            TChoiceField<TLogoShadowStyle>, TOptionalField, TOptionalText>;

// Content is the logo's own; layout decides how its lines are set, which a look keeps unless it
// names it; the rest is its look.
enum class TKeyRole : std::uint8_t { Look, Content, Layout };

struct TKey
{
    const char16_t* name;
    TField field;
    TKeyRole role = TKeyRole::Look;
};

using D = LogoDocument;
using FS = TLogoFontStyle;
using LS = TLogoLabelStyle;
using SS = TLogoShadowStyle;

// Every key of a logo file, in file order: the one place the keys are named.
const std::array<TKey, 45> kKeys = {{
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
    {u"Warp", Warping<&D::Warp>(D::kMinWarp, D::kMaxWarp)},
    {u"WarpAmount", Warping<&D::WarpAmount>(D::kMinWarpAmount, D::kMaxWarpAmount)},
    {u"Edge1Width", Decoration<&D::Edge1Width>(D::kMinEdgeWidth, D::kMaxEdgeWidth)},
    {u"Edge1Color", Decoration<&D::Edge1Color>()},
    {u"Edge2Width", Decoration<&D::Edge2Width>(D::kMinEdgeWidth, D::kMaxEdgeWidth)},
    {u"Edge2Color", Decoration<&D::Edge2Color>()},
    {u"Edge3Width", Decoration<&D::Edge3Width>(D::kMinEdgeWidth, D::kMaxEdgeWidth)},
    {u"Edge3Color", Decoration<&D::Edge3Color>()},
    {u"Fill", Decoration<&D::Fill>(D::kMinFill, D::kMaxFill)},
    {u"FillColor2", Decoration<&D::FillColor2>()},
    {u"FillColor3", Decoration<&D::FillColor3>()},
    {u"FillAngle", Decoration<&D::FillAngle>(D::kMinFillAngle, D::kMaxFillAngle)},
    {u"ShadowBlur", Decoration<&D::ShadowBlur>(D::kMinBlur, D::kMaxBlur)},
    {u"ShadowOpacity", Decoration<&D::ShadowOpacity>(D::kMinOpacity, D::kMaxOpacity)},
    {u"GlowSize", Decoration<&D::GlowSize>(D::kMinBlur, D::kMaxBlur)},
    {u"GlowColor", Decoration<&D::GlowColor>()},
    {u"GlowOpacity", Decoration<&D::GlowOpacity>(D::kMinOpacity, D::kMaxOpacity)},
    {u"Spacing", Decoration<&D::Spacing>(D::kMinSpacing, D::kMaxSpacing)},
    {u"Tagline", TOptionalText {&D::Tagline}, TKeyRole::Content},
    {u"TaglineSize", Decoration<&D::TaglineSize>(D::kMinTaglineSize, D::kMaxTaglineSize),
     TKeyRole::Layout},
    {u"TaglinePlace",
     Decoration<&D::TaglinePlace>(int(TLogoTaglinePlace::Under), int(TLogoTaglinePlace::Above)),
     TKeyRole::Layout},
    {u"TaglineAlign",
     Decoration<&D::TaglineAlign>(int(TLogoTaglineAlign::Left), int(TLogoTaglineAlign::Right)),
     TKeyRole::Layout},
    {u"TaglineGap", Decoration<&D::TaglineGap>(D::kMinTaglineGap, D::kMaxTaglineGap),
     TKeyRole::Layout},
    {u"Vertical", Decoration<&D::Vertical>(0, 1), TKeyRole::Layout},
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
    void operator()(const TOptionalField& f) const
    {
        // A key already in the file is overwritten, so an old value cannot outlive its removal.
        if (f.written(document) || ini.ValueExists(kSection, key))
            ini.WriteInteger(kSection, key, f.get(document));
    }
    void operator()(const TOptionalText& f) const
    {
        if (!(document.*f.member).isEmpty() || ini.ValueExists(kSection, key))
            ini.WriteString(kSection, key, document.*f.member);
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
    void operator()(const TOptionalField& f) const
    {
        const int value = ini.ReadInteger(kSection, key, f.get(LogoDocument()));
        f.set(document, std::clamp(value, f.min, f.max));
    }
    void operator()(const TOptionalText& f) const
    {
        document.*f.member =
            LogoDocument::FittedText(ini.ReadString(kSection, key, LogoDocument().*f.member));
    }
};

// The text, tagline, face, size and pictures are the logo's own.
bool IsContent(const TKey& key)
{
    if (key.role == TKeyRole::Content || std::holds_alternative<QString LogoDocument::*>(key.field))
        return true;
    const auto* range = std::get_if<TRangeField>(&key.field);
    return range && range->member == &D::Size;
}

const TKey* Find(const QString& key)
{
    const auto found = std::find_if(kKeys.begin(), kKeys.end(), [&](const TKey& k) {
        return key.compare(QString::fromUtf16(k.name), Qt::CaseInsensitive) == 0;
    });
    return found == kKeys.end() ? nullptr : &*found;
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
        if (!IsContent(key) && key.role != TKeyRole::Layout)
            std::visit(TWriter {document, ini, QString::fromUtf16(key.name)}, key.field);
    }
}

std::optional<LogoDocument> LogoFile::WithKey(const LogoDocument& document, const QString& key,
                                              const QString& value, QString* error)
{
    const TKey* found = Find(key);
    if (!found) {
        *error = u"no logo key '%1'; the keys are %2"_s.arg(key, KeyNames().join(u", "_s));
        return std::nullopt;
    }
    const QString name = QString::fromUtf16(found->name);
    const bool text = std::holds_alternative<QString D::*>(found->field)
        || std::holds_alternative<TOptionalText>(found->field);
    if (!text && !IniInteger::Parse(value)) {
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
    const TKey* found = Find(key);
    return found && IsContent(*found);
}

bool LogoFile::IsLayoutKey(const QString& key)
{
    const TKey* found = Find(key);
    return found && found->role == TKeyRole::Layout;
}

LogoDocument LogoFile::WithKeyOf(const LogoDocument& document, const QString& key,
                                 const LogoDocument& source)
{
    const TKey* found = Find(key);
    if (!found)
        return document;
    const QString name = QString::fromUtf16(found->name);
    TIniFile ini {QString()}; // in memory only
    std::visit(TWriter {source, ini, name}, found->field);
    LogoDocument result = document;
    std::visit(TReader {result, ini, name}, found->field);
    return result;
}
