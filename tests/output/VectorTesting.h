// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "render/DocumentRenderer.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

// How far a picture drawn by another program lies from Quilvoro's own raster.
struct PictureDifference
{
    double meanLevels = 0; // mean absolute difference per channel
    double farShare = 0; // share of pixels with some channel off by more than 32 levels
};

// Compares premultiplied colour and alpha, so transparent pictures compare as they composite.
inline PictureDifference Difference(const QImage& ours, const QImage& theirs)
{
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = theirs.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (a.size() != b.size() || a.isNull())
        return {255, 1};
    double sum = 0;
    long long far = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const quint32*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const quint32*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            int worst = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = std::abs(int((p[x] >> shift) & 0xFF) - int((q[x] >> shift) & 0xFF));
                if (shift < 24)
                    sum += d;
                worst = std::max(worst, d);
            }
            far += worst > 32;
        }
    }
    const double pixels = double(a.width()) * a.height();
    return {sum / (pixels * 3), double(far) / pixels};
}

// Runs a program to its end; its exit code, or -1 when it could not start or timed out.
inline int Run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Pictures for logos with a texture and a background: a small tile and a larger gradient.
inline QImage TestTexture()
{
    QImage tile(13, 11, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, qRgb(40 + 15 * x, 200 - 12 * y, (x + y) % 2 ? 90 : 160));
    return tile;
}

inline QImage TestBackground()
{
    QImage picture(420, 250, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 420, 120, y * 255 / 250));
    return picture;
}

inline bool WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Logo
{
    LogoDocument document;
    RenderPictures pictures;
    RenderOptions options;
};

// A logo described by words in its row name.
inline Logo LogoFor(const QString& tag)
{
    Logo logo;
    LogoDocument& d = logo.document;
    d.FontName = QStringLiteral("DejaVu Sans");
    d.Text = QStringLiteral("Quilvoro 3D");
    const QStringList words = tag.split(u' ');
    for (const QString& word : words) {
        if (word == u"normal")
            d.ShadowStyle = TLogoShadowStyle::Normal;
        else if (word == u"deep")
            d.ShadowStyle = TLogoShadowStyle::Deep;
        else if (word == u"gradation")
            d.ShadowStyle = TLogoShadowStyle::Gradation;
        else if (word == u"outline")
            d.LabelStyle = TLogoLabelStyle::Outline;
        else if (word == u"solid")
            d.LabelStyle = TLogoLabelStyle::Solid;
        else if (word == u"bold")
            d.FontStyle = TLogoFontStyle::Bold;
        else if (word == u"italic")
            d.FontStyle = TLogoFontStyle::Italic;
        else if (word == u"underline")
            d.FontStyle = TLogoFontStyle::Underline;
        else if (word == u"strikeout")
            d.FontStyle = TLogoFontStyle::StrikeOut;
        else if (word == u"gothic") {
            d.FontName = QStringLiteral("IPAPGothic");
            d.Text = QStringLiteral("ロゴ工房");
        } else if (word == u"textured")
            logo.pictures.texture = TestTexture();
        else if (word == u"backdrop")
            logo.pictures.background = TestBackground();
        else if (word == u"transparent")
            logo.options.transparent = true;
        else if (word == u"bevel")
            logo.options.region = QRect(-4, -4, 300, 200);
        else if (word == u"colours") {
            d.TextColor = RGB(250, 200, 20);
            d.ShadowColor = RGB(20, 80, 200);
            d.BackgroundColor = RGB(240, 240, 250);
        } else if (word == u"rings") {
            d.Edge1Width = 3;
            d.Edge1Color = clWhite;
            d.Edge2Width = 4;
            d.Edge2Color = RGB(20, 20, 120);
        } else if (word == u"gradient") {
            d.Fill = TLogoFill::Gradient;
            d.FillColor2 = RGB(200, 30, 30);
            d.FillColor3 = RGB(250, 230, 60);
            d.FillAngle = 60;
        } else if (word == u"glow") {
            d.GlowSize = 14;
            d.GlowColor = RGB(60, 220, 250);
            d.GlowOpacity = 80;
        } else if (word == u"blur") {
            d.ShadowBlur = 8;
        } else if (word == u"faint") {
            d.ShadowOpacity = 50;
        } else if (word == u"spaced") {
            d.Spacing = 30;
        } else if (word == u"vertical") {
            d.FontName = QStringLiteral("IPAPGothic");
            d.Text = QStringLiteral("らーめん 一番");
            d.Vertical = true;
        } else if (word == u"tagline") {
            d.Tagline =
                d.Vertical ? QStringLiteral("since 1962 本店") : QStringLiteral("logo tool");
        } else if (word.startsWith(u"size"))
            d.Size = word.mid(4).toInt();
        else if (word.startsWith(u"depth"))
            d.Depth = word.mid(5).toInt();
        else if (word.startsWith(u"angle"))
            d.Angle = word.mid(5).toInt();
        else if (word.startsWith(u"dir"))
            d.Direction = word.mid(3).toInt();
        else if (word.startsWith(u"scale"))
            logo.options.scale = word.mid(5).toInt();
        else if (word.startsWith(u"warp")) { // warpK:AMOUNT
            d.Warp = TLogoWarp(word.mid(4).section(u':', 0, 0).toInt());
            d.WarpAmount = word.section(u':', 1).toInt();
        }
    }
    return logo;
}

// One row per logo, or per logo and program when programs are given.
inline void AddLogoRows(const QStringList& programs = {})
{
    QTest::addColumn<QString>("tag");
    if (!programs.isEmpty())
        QTest::addColumn<QString>("program");
    const char* rows[] = {
        "gradation depth30",
        "gradation depth200 size100 angle30",
        "gradation depth200 size100 angle30 colours dir5",
        "deep depth200 size100 angle30",
        "deep depth1 size60",
        "deep depth7 size60 dir1",
        "deep depth60 size50 dir2 bold",
        "deep depth60 size50 dir3 italic angle350",
        "deep depth40 size50 dir4 underline",
        "gradation depth40 size50 dir5 strikeout colours",
        "gradation depth90 size70 dir6 angle90",
        "gradation depth120 size40 dir7 angle200",
        "normal depth12 size60",
        "normal depth0 size60 outline",
        "gradation depth30 size60 outline dir2",
        "deep depth25 size60 solid",
        "gradation depth50 size60 solid angle15 colours",
        "deep depth30 size70 textured",
        "gradation depth30 size70 textured solid angle20",
        "gradation depth60 size70 backdrop",
        "deep depth60 size70 backdrop textured dir6",
        "gradation depth60 size70 transparent",
        "deep depth40 size70 transparent outline",
        "deep depth40 size70 transparent colours dir2",
        "gradation depth40 size60 gothic angle45",
        "deep depth30 size60 bevel",
        "gradation depth100 size80 angle30 scale2",
        "gradation depth60 size60 warp1:80",
        "deep depth40 size50 dir4 underline warp3:100 angle20",
        "gradation depth30 size60 outline warp5:-70",
        "deep depth30 size70 rings",
        "gradation depth40 size60 rings gradient angle20",
        "normal depth10 size70 blur glow",
        "deep depth30 size60 glow faint rings transparent",
        "gradation depth30 size60 spaced gradient warp1:60",
        "gradation depth20 size70 outline rings glow",
        "deep depth60 size36 vertical tagline",
        "gradation depth30 size30 vertical tagline warp1:50 angle15 rings",
        "deep depth40 size50 tagline warp1:60",
    };
    for (const char* row : rows) {
        if (programs.isEmpty())
            QTest::newRow(row) << QString::fromLatin1(row);
        for (const QString& program : programs)
            QTest::addRow("%s, %s", row, qPrintable(program))
                << QString::fromLatin1(row) << program;
    }
}
