// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FontInfo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QRawFont>

#include <cmath>

namespace FontInfo {

namespace {

struct Substitution
{
    const char16_t* windowsName;
    const char16_t* linuxName;
};

// Japanese Windows faces and their metric-compatible IPA stand-ins; "System" is the bold-capable
// sans the title bar expects.
constexpr Substitution kSubstitutions[] = {
    {u"ＭＳ Ｐゴシック", u"IPAPGothic"}, {u"ＭＳ ゴシック", u"IPAGothic"},
    {u"MS PGothic", u"IPAPGothic"},      {u"MS Gothic", u"IPAGothic"},
    {u"System", u"DejaVu Sans"},
};

TrueTypeProbe& CurrentProbe()
{
    static TrueTypeProbe probe;
    return probe;
}

// What decides the face a font resolves to; the size does not, so one answer serves them all.
QString FaceKey(const QFont& font)
{
    return QStringLiteral("%1\n%2\n%3\n%4\n%5")
        .arg(font.family(), font.styleName())
        .arg(font.weight())
        .arg(int(font.style()))
        .arg(font.stretch());
}

// Guards the answers: the command line renders logos on several threads at once.
QMutex& TrueTypeCacheLock()
{
    static QMutex lock;
    return lock;
}

// The answers so far, per face. Asking means copying the face's whole outline table, far too
// slow for every paint. The installed fonts changing may change what a name resolves to.
// Only used under TrueTypeCacheLock().
QHash<QString, bool>& TrueTypeCache()
{
    static QHash<QString, bool> cache;
    static const bool watching = [] {
        if (qGuiApp)
            QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp, [] {
                const QMutexLocker lock(&TrueTypeCacheLock());
                cache.clear();
            });
        return true;
    }();
    Q_UNUSED(watching);
    return cache;
}

bool ProbeTrueType(const QFont& font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return false;
    // Glyph outlines come with an index of them ('loca'), a small fraction of their size: a CJK
    // face's outlines run to megabytes, which a copy would spend most of a render's start on.
    return !raw.fontTable("loca").isEmpty() || !raw.fontTable("CFF ").isEmpty()
        || !raw.fontTable("CFF2").isEmpty();
}

} // namespace

void SetTrueTypeProbe(TrueTypeProbe value)
{
    CurrentProbe() = std::move(value);
}

int PointsToPixels(int points)
{
    return int(std::lround(points * double(kScreenPixelsPerInch) / 72.0));
}

int PixelsToPoints(int pixels)
{
    return int(std::lround(pixels * 72.0 / double(kScreenPixelsPerInch)));
}

bool IsTrueType(const QFont& font)
{
    if (CurrentProbe())
        return CurrentProbe()(font);
    const QMutexLocker lock(&TrueTypeCacheLock());
    QHash<QString, bool>& cache = TrueTypeCache();
    const QString key = FaceKey(font);
    const auto known = cache.constFind(key);
    if (known != cache.constEnd())
        return *known;
    const bool trueType = ProbeTrueType(font);
    cache.insert(key, trueType);
    return trueType;
}

QString ResolvedFamily(const QString& family)
{
    for (const Substitution& s : kSubstitutions) {
        if (family.compare(QString::fromUtf16(s.windowsName), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(s.linuxName);
    }
    return family;
}

bool SameFaceName(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    auto lower = [](QChar c) {
        return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

QStringList PublicFamilies()
{
    // Qt's names for the generic families are aliases, not installed faces.
    auto generic = [](const QString& f) {
        return f == u"Serif" || f == u"Sans Serif" || f == u"Monospace";
    };
    QStringList families = QFontDatabase::families();
    families.removeIf(
        [&](const QString& f) { return generic(f) || QFontDatabase::isPrivateFamily(f); });
    // A family of several foundries comes once per foundry as "Family [Foundry]"; a face is
    // chosen by its family name alone, so it is offered once by that name.
    for (QString& family : families) {
        const qsizetype foundry =
            family.endsWith(u']') ? family.lastIndexOf(QStringLiteral(" [")) : -1;
        if (foundry > 0)
            family.truncate(foundry);
    }
    families.removeDuplicates();
    return families;
}

int FindFace(const QStringList& faces, const QString& family)
{
    auto find = [&](const QString& name) -> int {
        for (qsizetype i = 0; i < faces.size(); ++i) {
            if (SameFaceName(faces[i], name))
                return int(i);
        }
        return -1;
    };
    int index = find(family);
    if (index < 0) {
        const QString resolved = ResolvedFamily(family);
        if (resolved != family)
            index = find(resolved);
    }
    if (index < 0) {
        for (const QString& substitute : QFont::substitutes(family)) {
            index = find(substitute);
            if (index >= 0)
                break;
        }
    }
    return index;
}

void InstallSubstitutions()
{
    for (const Substitution& s : kSubstitutions) {
        const QString from = QString::fromUtf16(s.windowsName);
        const QString to = QString::fromUtf16(s.linuxName);
        if (!QFont::substitutes(from).contains(to))
            QFont::insertSubstitution(from, to);
    }
}

QFont MakeFont(const QString& family, int pixelHeight, bool bold)
{
    InstallSubstitutions();
    QFont font(family);
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace FontInfo
