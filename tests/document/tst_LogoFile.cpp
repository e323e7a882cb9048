// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoFile.h"
#include "platform/Cp932Codec.h"
#include "platform/TIniFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace FileTesting;

Q_DECLARE_METATYPE(LogoDocument)

namespace {

// A document unlike the defaults in every setting, so that a key that is read shows.
LogoDocument Base()
{
    LogoDocument d;
    d.Text = u"ベース"_s;
    d.FontName = u"DejaVu Sans"_s;
    d.FontStyle = TLogoFontStyle::Bold;
    d.Size = 55;
    d.Angle = 15;
    d.LabelStyle = TLogoLabelStyle::Outline;
    d.ShadowStyle = TLogoShadowStyle::Deep;
    d.Depth = 12;
    d.Direction = 4;
    d.TextColor = 0x00123456;
    d.ShadowColor = 0x00654321;
    d.BackgroundColor = 0x00ABCDEF;
    d.TextureFile = u"/pictures/texture.bmp"_s;
    d.BackgroundFile = u"/pictures/back.bmp"_s;
    return d;
}

LogoDocument BaseWith(const std::function<void(LogoDocument&)>& change)
{
    LogoDocument d = Base();
    change(d);
    return d;
}

// Base() as a file without a Font key reads it: in the default face.
LogoDocument FacelessWith(const std::function<void(LogoDocument&)>& change)
{
    LogoDocument d = Base();
    d.FontName = LogoDocument().FontName;
    if (change)
        change(d);
    return d;
}

// Every decoration away from its default.
void Decorate(LogoDocument& d)
{
    d.Edge1Width = 4;
    d.Edge1Color = clRed;
    d.Edge2Width = 40;
    d.Edge2Color = clBlack;
    d.Edge3Width = 1;
    d.Edge3Color = clBtnFace;
    d.Fill = TLogoFill::Gradient;
    d.FillColor2 = clWhite;
    d.FillColor3 = clBlue;
    d.FillAngle = 359;
    d.ShadowBlur = 50;
    d.ShadowOpacity = 0;
    d.GlowSize = 12;
    d.GlowColor = clAqua;
    d.GlowOpacity = 45;
    d.Spacing = -50;
}

const QByteArray kDefaultFile =
    "[SET]\r\nLabel=Tamrin - Quilvoro\r\nFont=\x82\x6c\x82\x72 "
    "\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
    "Bold=0\r\nItalic=0\r\nUnder=0\r\nStrike=0\r\nSize=40\r\nAngle=0\r\n"
    "Style1=1\r\nStyle2=0\r\nStyle3=0\r\nShadow1=0\r\nShadow2=0\r\n"
    "Shadow3=1\r\nDepth=30\r\nOrientation=0\r\nColor1=16777215\r\n"
    "Color2=8421504\r\nColor3=0\r\nImage1=\r\nImage2=\r\n";

} // namespace

class tst_LogoFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheDefaultsInKeyOrder()
    {
        const QString file = FDir.filePath(u"new.qvd"_s);
        LogoFile::Write(LogoDocument(), file);
        QCOMPARE(ReadAll(file), kDefaultFile);
        QCOMPARE(LogoFile::Read(file, Base()), LogoDocument());
    }

    void writesWhatItReads_data()
    {
        QTest::addColumn<LogoDocument>("document");
        QTest::addColumn<QByteArray>("fragment");

        QTest::newRow("base") << Base() << QByteArray("Bold=1\r\nItalic=0\r\n");
        QTest::newRow("strike") << BaseWith([](auto& d) {
            d.FontStyle = TLogoFontStyle::StrikeOut;
        }) << QByteArray("Under=0\r\nStrike=1\r\n");
        QTest::newRow("solid, gradation") << BaseWith([](auto& d) {
            d.LabelStyle = TLogoLabelStyle::Solid;
            d.ShadowStyle = TLogoShadowStyle::Normal;
        }) << QByteArray("Style1=0\r\nStyle2=0\r\nStyle3=1\r\nShadow1=1\r\nShadow2=0\r\n");
        QTest::newRow("system colour is negative")
            << BaseWith([](auto& d) { d.ShadowColor = clBtnFace; })
            << QByteArray("Color2=-2147483633\r\n");
        QTest::newRow("no pictures") << BaseWith([](auto& d) {
            d.TextureFile.clear();
            d.BackgroundFile.clear();
        }) << QByteArray("Image1=\r\nImage2=\r\n");
        QTest::newRow("warp after the other keys") << BaseWith([](auto& d) {
            d.Warp = TLogoWarp::Arch;
            d.WarpAmount = -35;
        }) << QByteArray("Image2=/pictures/back.bmp\r\nWarp=1\r\nWarpAmount=-35\r\n");
        QTest::newRow("last warp") << BaseWith([](auto& d) {
            d.Warp = TLogoWarp::Slant;
            d.WarpAmount = 100;
        }) << QByteArray("Warp=9\r\nWarpAmount=100\r\n");
        QTest::newRow("an amount without a warp")
            << BaseWith([](auto& d) { d.WarpAmount = 30; })
            << QByteArray("Image2=/pictures/back.bmp\r\nWarpAmount=30\r\n");
        QTest::newRow("decorations after the warp")
            << BaseWith([](auto& d) {
                   d.Warp = TLogoWarp::Wave;
                   d.WarpAmount = 5;
                   Decorate(d);
               })
            << QByteArray("WarpAmount=5\r\nEdge1Width=4\r\nEdge1Color=255\r\nEdge2Width=40\r\n"
                          "Edge2Color=0\r\nEdge3Width=1\r\nEdge3Color=-2147483633\r\nFill=1\r\n"
                          "FillColor2=16777215\r\nFillColor3=16711680\r\nFillAngle=359\r\n"
                          "ShadowBlur=50\r\nShadowOpacity=0\r\nGlowSize=12\r\n"
                          "GlowColor=16776960\r\nGlowOpacity=45\r\nSpacing=-50\r\n");
        // the last key straight after the pictures: nothing else is written
        QTest::newRow("only the decoration that differs")
            << BaseWith([](auto& d) { d.Spacing = 200; })
            << QByteArray("Image2=/pictures/back.bmp\r\nSpacing=200\r\n");
        QTest::newRow("tagline and vertical after the decorations")
            << BaseWith([](auto& d) {
                   d.Spacing = 10;
                   d.Tagline = u"本店"_s;
                   d.TaglineSize = 20;
                   d.TaglinePlace = TLogoTaglinePlace::Above;
                   d.TaglineAlign = TLogoTaglineAlign::Right;
                   d.TaglineGap = 0;
                   d.Vertical = true;
               })
            << QByteArray("Spacing=10\r\nTagline=\x96\x7b\x93\x58\r\nTaglineSize=20\r\n"
                          "TaglinePlace=1\r\nTaglineAlign=2\r\nTaglineGap=0\r\nVertical=1\r\n");
        QTest::newRow("only the tagline")
            << BaseWith([](auto& d) { d.Tagline = u"since 1962"_s; })
            << QByteArray("Image2=/pictures/back.bmp\r\nTagline=since 1962\r\n");
        QTest::newRow("left-aligned tagline, no text")
            << BaseWith([](auto& d) { d.TaglineAlign = TLogoTaglineAlign::Left; })
            << QByteArray("Image2=/pictures/back.bmp\r\nTaglineAlign=0\r\n");
        QTest::newRow("gradient of two colours") << BaseWith([](auto& d) {
            d.Fill = TLogoFill::Gradient;
            d.FillColor2 = clRed;
            d.FillAngle = 90;
        }) << QByteArray("Fill=1\r\nFillColor2=255\r\nFillAngle=90\r\n");
    }

    void writesWhatItReads()
    {
        QFETCH(LogoDocument, document);
        QFETCH(QByteArray, fragment);
        const QString file = FDir.filePath(u"roundtrip.qvd"_s);
        QFile::remove(file);
        LogoFile::Write(document, file);
        QVERIFY2(ReadAll(file).contains(fragment), ReadAll(file).constData());
        QCOMPARE(LogoFile::Read(file, LogoDocument()), document);
    }

    void readsKeysOverADocument_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<LogoDocument>("expected");

        QTest::newRow("no keys") << QByteArray("Other=1") << Base();
        // a file without a face is drawn in the default one, whatever face was shown
        QTest::newRow("label") << QByteArray("Label=Hello")
                               << FacelessWith([](auto& d) { d.Text = u"Hello"_s; });
        QTest::newRow("empty label is a value")
            << QByteArray("Label=") << FacelessWith([](auto& d) { d.Text.clear(); });
        QTest::newRow("font") << QByteArray("Font=IPAPGothic")
                              << FacelessWith([](auto& d) { d.FontName = u"IPAPGothic"_s; });
        QTest::newRow("names without case")
            << QByteArray("  sIZE = 64") << FacelessWith([](auto& d) { d.Size = 64; });
        QTest::newRow("hex 0x") << QByteArray("Size=0x1F")
                                << FacelessWith([](auto& d) { d.Size = 31; });
        QTest::newRow("hex dollar")
            << QByteArray("Angle=$20") << FacelessWith([](auto& d) { d.Angle = 32; });
        QTest::newRow("letters keep") << QByteArray("Size=abc") << FacelessWith({});
        QTest::newRow("unit keeps") << QByteArray("Depth=12px") << FacelessWith({});
        QTest::newRow("empty integer keeps") << QByteArray("Depth=") << FacelessWith({});
        QTest::newRow("size -0 clamps to 1")
            << QByteArray("Size=-0") << FacelessWith([](auto& d) { d.Size = 1; });
        QTest::newRow("size 900 clamps")
            << QByteArray("Size=900") << FacelessWith([](auto& d) { d.Size = 200; });
        QTest::newRow("angle 361 clamps")
            << QByteArray("Angle=361") << FacelessWith([](auto& d) { d.Angle = 360; });
        QTest::newRow("negative angle clamps")
            << QByteArray("Angle=-1") << FacelessWith([](auto& d) { d.Angle = 0; });
        QTest::newRow("depth 201 clamps")
            << QByteArray("Depth=201") << FacelessWith([](auto& d) { d.Depth = 200; });
        QTest::newRow("direction 9 clamps")
            << QByteArray("Orientation=9") << FacelessWith([](auto& d) { d.Direction = 7; });
        QTest::newRow("direction -3 clamps")
            << QByteArray("Orientation=-3") << FacelessWith([](auto& d) { d.Direction = 0; });
        QTest::newRow("colours") << QByteArray("Color1=255\nColor2=0xFF00\nColor3=-2147483633")
                                 << FacelessWith([](auto& d) {
                                        d.TextColor = 0xFF;
                                        d.ShadowColor = 0xFF00;
                                        d.BackgroundColor = clBtnFace;
                                    });
        QTest::newRow("hex colour above 31 bits")
            << QByteArray("Color1=$80000005")
            << FacelessWith([](auto& d) { d.TextColor = clWindow; });
        QTest::newRow("pictures") << QByteArray("Image1=\nImage2=C:\\back.bmp")
                                  << FacelessWith([](auto& d) {
                                         d.TextureFile.clear();
                                         d.BackgroundFile = u"C:\\back.bmp"_s;
                                     });

        // font styles: one group where all buttons may be up
        QTest::newRow("bold then italic: italic")
            << QByteArray("Bold=1\nItalic=1")
            << FacelessWith([](auto& d) { d.FontStyle = TLogoFontStyle::Italic; });
        QTest::newRow("all four 0: none")
            << QByteArray("Bold=0\nItalic=0\nUnder=0\nStrike=0")
            << FacelessWith([](auto& d) { d.FontStyle = TLogoFontStyle::None; });
        QTest::newRow("0 on another style keeps")
            << QByteArray("Italic=0\nStrike=0") << FacelessWith({});
        QTest::newRow("strike wins after a later 0")
            << QByteArray("Strike=1\nUnder=0")
            << FacelessWith([](auto& d) { d.FontStyle = TLogoFontStyle::StrikeOut; });
        QTest::newRow("style key yes") << QByteArray("Under=yes") << FacelessWith({});

        // label and shadow styles: one button is always down
        QTest::newRow("all label styles 0 keep")
            << QByteArray("Style1=0\nStyle2=0\nStyle3=0") << FacelessWith({});
        QTest::newRow("last label style wins")
            << QByteArray("Style1=1\nStyle3=1\nStyle2=0")
            << FacelessWith([](auto& d) { d.LabelStyle = TLogoLabelStyle::Solid; });
        QTest::newRow("all shadow styles 0 keep")
            << QByteArray("Shadow1=0\nShadow2=0\nShadow3=0") << FacelessWith({});
        QTest::newRow("shadow gradation")
            << QByteArray("Shadow2=0\nShadow3=2")
            << FacelessWith([](auto& d) { d.ShadowStyle = TLogoShadowStyle::Gradation; });
    }

    void readsKeysOverADocument()
    {
        QFETCH(QByteArray, lines);
        QFETCH(LogoDocument, expected);
        const QString file = FDir.filePath(u"hand.qvd"_s);
        WriteAll(file, "[Other]\nSize=3\n[set]\n" + lines + "\n");
        QCOMPARE(LogoFile::Read(file, Base()), expected);
    }

    void readsWarpKeys_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("warp");
        QTest::addColumn<int>("amount");

        const int amount = LogoDocument().WarpAmount;
        QTest::newRow("absent: no warp") << QByteArray("Size=12") << 0 << amount;
        QTest::newRow("both") << QByteArray("Warp=3\nWarpAmount=-20") << 3 << -20;
        QTest::newRow("kind only") << QByteArray("Warp=4") << 4 << amount;
        QTest::newRow("kind 10 clamps") << QByteArray("Warp=10\nWarpAmount=5") << 9 << 5;
        QTest::newRow("kind -1 clamps") << QByteArray("Warp=-1\nWarpAmount=5") << 0 << 5;
        QTest::newRow("amount 250 clamps") << QByteArray("Warp=2\nWarpAmount=250") << 2 << 100;
        QTest::newRow("amount -101 clamps") << QByteArray("Warp=2\nWarpAmount=-101") << 2 << -100;
        QTest::newRow("unreadable amount") << QByteArray("Warp=2\nWarpAmount=lots") << 2 << amount;
    }

    // Over a warped document: a logo file without the keys is a straight logo.
    void readsWarpKeys()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, warp);
        QFETCH(int, amount);
        const QString file = FDir.filePath(u"warp.qvd"_s);
        WriteAll(file, "[SET]\n" + lines + "\n");
        const LogoDocument warped = BaseWith([](auto& d) {
            d.Warp = TLogoWarp::Flag;
            d.WarpAmount = 77;
        });
        const LogoDocument read = LogoFile::Read(file, warped);
        QCOMPARE(int(read.Warp), warp);
        QCOMPARE(read.WarpAmount, amount);
        QCOMPARE(read.Text, warped.Text);
    }

    void aWarpRemovedIsRemovedFromTheFile()
    {
        const QString file = FDir.filePath(u"unwarped.qvd"_s);
        QFile::remove(file);
        LogoFile::Write(BaseWith([](auto& d) {
                            d.Warp = TLogoWarp::Circle;
                            d.WarpAmount = 40;
                        }),
                        file);
        const LogoDocument straight = BaseWith([](auto& d) { d.WarpAmount = 40; });
        LogoFile::Write(straight, file);
        QVERIFY(ReadAll(file).endsWith("Warp=0\r\nWarpAmount=40\r\n"));
        QCOMPARE(LogoFile::Read(file, LogoDocument()), straight);
    }

    void readsDecorationKeys_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<LogoDocument>("expected");

        QTest::newRow("absent: none") << QByteArray("Size=55") << FacelessWith({});
        QTest::newRow("out of range clamps")
            << QByteArray("Edge1Width=41\nEdge2Width=-1\nGlowSize=51\nFill=2\nFillAngle=360\n"
                          "GlowOpacity=-3\nShadowBlur=99\nSpacing=-51")
            << FacelessWith([](auto& d) {
                   d.Edge1Width = 40;
                   d.GlowSize = 50;
                   d.Fill = TLogoFill::Gradient;
                   d.FillAngle = 359;
                   d.GlowOpacity = 0;
                   d.ShadowBlur = 50;
                   d.Spacing = -50;
               });
        QTest::newRow("tagline keys clamp")
            << QByteArray("TaglineSize=5\nTaglinePlace=7\nTaglineAlign=-1\nTaglineGap=101\n"
                          "Vertical=2")
            << FacelessWith([](auto& d) {
                   d.TaglineSize = LogoDocument::kMinTaglineSize;
                   d.TaglinePlace = TLogoTaglinePlace::Above;
                   d.TaglineAlign = TLogoTaglineAlign::Left;
                   d.TaglineGap = LogoDocument::kMaxTaglineGap;
                   d.Vertical = true;
               });
    }

    // Over a decorated document: a logo file without the keys has no decorations.
    void readsDecorationKeys()
    {
        QFETCH(QByteArray, lines);
        QFETCH(LogoDocument, expected);
        const QString file = FDir.filePath(u"decorated.qvd"_s);
        WriteAll(file, "[SET]\n" + lines + "\n");
        QCOMPARE(LogoFile::Read(file, BaseWith(Decorate)), expected);
    }

    // As --set gives them: the tagline takes any text, its numbers take whole numbers only.
    void setsOneKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("taken");
        QTest::newRow("tagline") << u"tagline"_s << u"本店 since 1962"_s << true;
        QTest::newRow("vertical") << u"Vertical"_s << u"1"_s << true;
        QTest::newRow("align in words") << u"TaglineAlign"_s << u"right"_s << false;
    }

    void setsOneKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, taken);
        QString error;
        const std::optional<LogoDocument> set =
            LogoFile::WithKey(LogoDocument(), key, value, &error);
        QCOMPARE(set.has_value(), taken);
        if (!taken) {
            QVERIFY(error.contains(value));
            return;
        }
        LogoDocument expected;
        if (key == u"Vertical"_s)
            expected.Vertical = true;
        else
            expected.Tagline = value;
        QCOMPARE(*set, expected);
    }

    void aDecorationRemovedIsWrittenAsItsDefault()
    {
        const QString file = FDir.filePath(u"undecorated.qvd"_s);
        QFile::remove(file);
        LogoFile::Write(BaseWith([](auto& d) { d.GlowSize = 9; }), file);
        LogoFile::Write(Base(), file);
        QVERIFY(ReadAll(file).endsWith("Image2=/pictures/back.bmp\r\nGlowSize=0\r\n"));
        QCOMPARE(LogoFile::Read(file, BaseWith(Decorate)), Base());
    }

    void readsBothEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        QTest::newRow("cp932") << QByteArray("[SET]\r\nLabel=\x83\x8d\x83\x53\r\n") << u"ロゴ"_s;
        QTest::newRow("utf-8 with bom")
            << QByteArray("\xEF\xBB\xBF[SET]\r\nLabel=\xF0\x9F\x98\x80 \xE3\x83\xAD\r\n")
            << u"😀 ロ"_s;
    }

    void readsBothEncodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString file = FDir.filePath(u"encoded.qvd"_s);
        WriteAll(file, bytes);
        QCOMPARE(LogoFile::Read(file, Base()).Text, text);
    }

    void writesUtf8OnlyWhenCp932CannotHoldTheText()
    {
        const QString file = FDir.filePath(u"encoding.qvd"_s);
        QFile::remove(file);
        LogoDocument document;
        document.Text = u"ロゴ"_s;
        LogoFile::Write(document, file);
        QVERIFY(ReadAll(file).startsWith("[SET]\r\nLabel=\x83\x8d\x83\x53\r\n"));

        document.Text = u"ロゴ😀"_s;
        LogoFile::Write(document, file);
        QVERIFY(ReadAll(file).startsWith("\xEF\xBB\xBF[SET]\r\nLabel=\xE3\x83\xAD"));
        QCOMPARE(LogoFile::Read(file, Base()), document);
    }

    void updatesAnExistingFileInPlace()
    {
        const QString file = FDir.filePath(u"existing.qvd"_s);
        WriteAll(file, "[Other]\r\nKeep=me\r\n[SET]\r\nSize=12\r\n; note\r\n[Tail]\r\nA=1\r\n");
        LogoFile::Write(Base(), file);
        LogoFile::Write(LogoDocument(), file);
        const QByteArray bytes = ReadAll(file);
        QVERIFY(bytes.startsWith("[Other]\r\nKeep=me\r\n[SET]\r\nSize=40\r\n; note\r\nLabel="));
        QVERIFY(bytes.endsWith("Image2=\r\n[Tail]\r\nA=1\r\n"));
        QCOMPARE(bytes.count("Size="), 1);
        QCOMPARE(bytes.count("Strike="), 1);
        QCOMPARE(LogoFile::Read(file, Base()), LogoDocument());
    }

    void aFileThatCannotBeReadKeepsTheDocument()
    {
        QCOMPARE(LogoFile::Read(FDir.filePath(u"missing.qvd"_s), Base()), Base());
        QCOMPARE(LogoFile::Read(FDir.path(), Base()), Base());
    }

    void loadRefusesWhatIsNoLogoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing") << u"missing.qvd"_s << QByteArray() << u"ファイルガアリマセン"_s;
        QTest::newRow("folder") << u"."_s << QByteArray() << u"フォルダデス"_s;
        QTest::newRow("no section")
            << u"plain.qvd"_s << QByteArray("Size=3\r\n") << u"ロゴデータデハアリマセン"_s;
        QTest::newRow("other keys only") << u"other.qvd"_s << QByteArray("[SET]\r\nWidth=3\r\n")
                                         << u"ロゴデータデハアリマセン"_s;
        QByteArray big("[SET]\r\nSize=30\r\n;");
        big.append(TIniFile::MaxFileSize + 1 - big.size(), 'x');
        QTest::newRow("over the size limit") << u"big.qvd"_s << big << u"大キスギ"_s;
    }

    void loadRefusesWhatIsNoLogoFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString file = FDir.filePath(name);
        if (!bytes.isEmpty())
            WriteAll(file, bytes);
        QString error;
        QVERIFY(!LogoFile::Load(file, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void loadReadsOverTheDefaults()
    {
        const QString file = FDir.filePath(u"few.qvd"_s);
        WriteAll(file, "[SET]\r\nDepth=90\r\n");
        QString error;
        const std::optional<LogoDocument> document = LogoFile::Load(file, &error);
        QVERIFY(document);
        LogoDocument expected;
        expected.Depth = 90;
        QCOMPARE(*document, expected);
        QVERIFY(error.isEmpty());
    }

    void fileAtTheSizeLimitLoads()
    {
        const QString file = FDir.filePath(u"limit.qvd"_s);
        QByteArray bytes("[SET]\r\nSize=30\r\n;");
        bytes.append(TIniFile::MaxFileSize - bytes.size(), 'x');
        WriteAll(file, bytes);
        QString error;
        const std::optional<LogoDocument> document = LogoFile::Load(file, &error);
        QVERIFY2(document, qPrintable(error));
        QCOMPARE(document->Size, 30);
    }

    // A label longer than the text field holds is cut where the field would cut it, but never
    // between the halves of a surrogate pair.
    void longLabelsAreCutToTheTextField_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        const int limit = LogoDocument::kMaxTextLength;
        const QString full(limit, u'a');
        QTest::newRow("at the limit") << full << full;
        QTest::newRow("one over") << full + u'b' << full;
        QTest::newRow("far over") << QString(limit * 5, u'c') << QString(limit, u'c');
        const QString pair = u"\U0001F600"_s;
        QTest::newRow("pair across the limit")
            << QString(limit - 1, u'a') + pair << QString(limit - 1, u'a');
        QTest::newRow("pair ending at the limit")
            << QString(limit - 2, u'a') + pair + u'z' << QString(limit - 2, u'a') + pair;
    }

    void longLabelsAreCutToTheTextField()
    {
        QFETCH(QString, label);
        QFETCH(QString, expected);
        const QString file = FDir.filePath(u"long.qvd"_s);
        WriteAll(file, "\xEF\xBB\xBF[SET]\r\nLabel=" + label.toUtf8() + "\r\n");
        QCOMPARE(LogoFile::Read(file, Base()).Text, expected);
        QString error;
        QCOMPARE(LogoFile::Load(file, &error)->Text, expected);
    }

    // Whatever loads saves again into a file that loads to the same document, within the size
    // limit; bytes that are no CP932 stay as they were.
    void whatLoadsSavesAndLoadsAgain_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray stray = "\x82\xA0\xFF\x82\xA0\x80";
        QTest::newRow("stray bytes in the label") << "[SET]\r\nLabel=" + stray + "\r\n";
        QTest::newRow("lead byte at the end of a line") << QByteArray("[SET]\r\nLabel=ab\x82\r\n");
        QTest::newRow("stray bytes in a picture name")
            << QByteArray("[SET]\r\nImage1=/p/\xFD\xFE.bmp\r\nImage2=\xA0\r\n");
        QByteArray cut("[SET]\r\nLabel=");
        for (int i = 0; i < 20000; ++i)
            cut.append("\x82\xA0\xFF"); // longer than the field, with stray bytes all along
        cut.append("\r\n;");
        // the rest of the file half-width kana, which would triple as UTF-8
        cut.append(TIniFile::MaxFileSize - cut.size() - 2, '\xB1');
        cut.append("\r\n");
        QTest::newRow("cut label with stray bytes, full file") << cut;
        QByteArray utf8("\xEF\xBB\xBF[SET]\r\nImage1=");
        utf8.append(TIniFile::MaxFileSize / 2, '\xFF'); // not UTF-8 at all
        utf8.append("\r\nLabel=x\r\n");
        QTest::newRow("UTF-8 file with invalid bytes") << utf8;
    }

    void whatLoadsSavesAndLoadsAgain()
    {
        QFETCH(QByteArray, bytes);
        const QString file = FDir.filePath(u"again.qvd"_s);
        WriteAll(file, bytes);
        QString error;
        const std::optional<LogoDocument> first = LogoFile::Load(file, &error);
        QVERIFY2(first, qPrintable(error));
        LogoFile::Write(*first, file);
        QVERIFY(QFileInfo(file).size() <= TIniFile::MaxFileSize);
        const std::optional<LogoDocument> second = LogoFile::Load(file, &error);
        QVERIFY2(second, qPrintable(error));
        QCOMPARE(*second, *first);
        LogoFile::Write(*second, file);
        const QByteArray saved = ReadAll(file);
        LogoFile::Write(*second, file);
        QCOMPARE(ReadAll(file), saved);
    }

    // A change that would grow the file past the limit fails the save and keeps the old file.
    void saveThatWouldNotLoadAgainIsRefused()
    {
        const QString file = FDir.filePath(u"grows.qvd"_s);
        QByteArray bytes("[SET]\r\nLabel=x\r\n;");
        bytes.append(TIniFile::MaxFileSize / 2, '\xB1');
        bytes.append("\r\n");
        WriteAll(file, bytes);
        LogoDocument document = LogoFile::Read(file);
        document.Text = u"\U0001F600"_s; // no CP932: the whole file turns UTF-8, three times larger
        const QString message =
            FailureOf<EIniFileException>([&] { LogoFile::Write(document, file); });
        QVERIFY2(message.contains(u"大キスギ"_s), qPrintable(message));
        QCOMPARE(ReadAll(file), bytes);
    }

    void aRefusedWriteNamesTheFile()
    {
        // a parent that is a file refuses the write even to root
        const QString parent = FDir.filePath(u"plain-file"_s);
        WriteAll(parent, "x");
        const QString file = parent + u"/logo.qvd"_s;
        const QString message =
            FailureOf<EIniFileException>([&] { LogoFile::Write(Base(), file); });
        QVERIFY2(message.contains(file), qPrintable(message));
    }

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_LogoFile)
#include "tst_LogoFile.moc"
