// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoFile.h"
#include "document/LookLibrary.h"
#include "platform/TIniFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kBuiltIn = QStringLiteral(QUILVORO_LOOKS_DIR);

LogoDocument Logo(int size)
{
    LogoDocument d;
    d.Text = u"らーめん"_s;
    d.FontName = u"DejaVu Sans"_s;
    d.FontStyle = TLogoFontStyle::Italic;
    d.Size = size;
    d.TextureFile = u"/pictures/texture.png"_s;
    d.BackgroundFile = u"/pictures/back.png"_s;
    return d;
}

LookPreset LoadLook(const QString& fileName)
{
    QString error;
    const std::optional<LookPreset> look = LookPreset::Load(fileName, true, &error);
    if (!look)
        qFatal("%s: %s", qPrintable(fileName), qPrintable(error));
    return *look;
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class tst_LookPreset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtInLooksSetOnlyLookKeys()
    {
        const LookLibrary library(kBuiltIn, QString());
        QVERIFY2(library.Problems().isEmpty(), qPrintable(library.Problems().join(u'\n')));
        QVERIFY(library.Looks().size() >= 24);
        const QStringList known = LogoFile::KeyNames();
        QSet<QString> names;
        for (const LookPreset& look : library.Looks()) {
            QVERIFY2(look.Name() != look.Id() && !names.contains(look.Name()),
                     qPrintable(look.Id()));
            names.insert(look.Name());
            QFile file(look.FileName());
            QVERIFY(file.open(QIODevice::ReadOnly));
            bool inLogo = false;
            for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
                const QString text = line.trimmed();
                if (text.startsWith(u'['))
                    inLogo = text == u"[SET]"_s;
                else if (inLogo && text.contains(u'=')) {
                    const QString key = text.section(u'=', 0, 0);
                    QVERIFY2(known.contains(key), qPrintable(look.Id() + u": "_s + key));
                    QVERIFY2(!LogoFile::IsContentKey(key), qPrintable(look.Id() + u": "_s + key));
                }
            }
        }
    }

    void applyingKeepsTheLogosOwnSettings()
    {
        const LookLibrary library(kBuiltIn, QString());
        const LogoDocument logo = Logo(60);
        for (const LookPreset& look : library.Looks()) {
            const LogoDocument styled = look.AppliedTo(logo);
            QCOMPARE(styled.Text, logo.Text);
            QCOMPARE(styled.FontName, logo.FontName);
            QCOMPARE(styled.Size, logo.Size);
            QCOMPARE(styled.TextureFile, logo.TextureFile);
            QCOMPARE(styled.BackgroundFile, logo.BackgroundFile);
            QCOMPARE(styled.FontStyle, logo.FontStyle);
            // a look is a whole: what was applied before does not show through
            const LookPreset& other = library.Looks().constFirst();
            QCOMPARE(look.AppliedTo(other.AppliedTo(logo)), styled);
        }
    }

    // The tagline is the logo's; how the lines are set stays unless the look names it.
    void applyingKeepsTheTaglineAndLayout()
    {
        LogoDocument logo = Logo(60);
        logo.Tagline = u"本店"_s;
        logo.TaglineSize = 70;
        logo.TaglinePlace = TLogoTaglinePlace::Above;
        logo.Vertical = true;
        QTemporaryDir dir;
        const LookPreset plain = LoadLook(kBuiltIn + u"/gold-extrude.qvd"_s);
        const LogoDocument styled = plain.AppliedTo(logo);
        QCOMPARE(styled.Tagline, logo.Tagline);
        QCOMPARE(styled.TaglineSize, 70);
        QCOMPARE(styled.TaglinePlace, TLogoTaglinePlace::Above);
        QVERIFY(styled.Vertical);

        const QString file = dir.filePath(u"noren.qvd"_s);
        WriteFile(file, "[SET]\nColor1=255\nVertical=0\nTaglineGap=50\n");
        const LogoDocument noren = LoadLook(file).AppliedTo(logo);
        QVERIFY(!noren.Vertical);
        QCOMPARE(noren.TaglineGap, 50);
        QCOMPARE(noren.TaglineSize, 70);
        QCOMPARE(noren.Tagline, logo.Tagline);

        // a look saved from the logo records neither its tagline nor its layout
        const QString saved = dir.filePath(u"saved.qvd"_s);
        LookPreset::Save(logo, u"saved"_s, saved);
        QFile back(saved);
        QVERIFY(back.open(QIODevice::ReadOnly));
        const QByteArray bytes = back.readAll();
        QVERIFY2(!bytes.contains("Tagline") && !bytes.contains("Vertical"), bytes.constData());
    }

    void depthsScaleWithTheLetters_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("depth");
        // gold-extrude's extrusion is 18 pixels at 60 points
        QTest::newRow("design size") << 60 << 18;
        QTest::newRow("double") << 120 << 36;
        QTest::newRow("small") << 20 << 6;
        QTest::newRow("tiny keeps a pixel") << 1 << 1;
        QTest::newRow("largest") << 200 << 60;
    }

    void depthsScaleWithTheLetters()
    {
        QFETCH(int, size);
        QFETCH(int, depth);
        const LookPreset look = LoadLook(kBuiltIn + u"/gold-extrude.qvd"_s);
        QCOMPARE(look.AppliedTo(Logo(size)).Depth, depth);
    }

    void userLooksRoundTripAndComeFirst()
    {
        QTemporaryDir user;
        LogoDocument mine = Logo(120);
        mine.ShadowStyle = TLogoShadowStyle::Deep;
        mine.Depth = 40;
        mine.TextColor = 0x0000A5FF;
        mine.Warp = TLogoWarp::Wave;
        mine.WarpAmount = 35;
        const QString file = LookLibrary::NewFileName(user.path(), u"私の 見た目"_s);
        LookPreset::Save(mine, u"私の 見た目"_s, file);
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY(bytes.contains("Depth=20") && !bytes.contains("Label") && !bytes.contains("Size"));

        const LookLibrary library(kBuiltIn, user.path());
        const LookPreset& first = library.Looks().constFirst();
        QCOMPARE(first.Name(), u"私の 見た目"_s);
        QVERIFY(!first.BuiltIn());
        LogoDocument other = Logo(120);
        other.Text = u"other"_s;
        LogoDocument expected = mine;
        expected.Text = other.Text;
        QCOMPARE(first.AppliedTo(other), expected);
        // a second look of the same name gets a file of its own
        QVERIFY(LookLibrary::NewFileName(user.path(), u"私の 見た目"_s) != file);
    }

    // A user look never takes a built-in look's id (it would hide it), and a file that cannot
    // be written or removed is a failure that names it, not a silent success.
    void userLookFilesKeepToTheirOwnNames()
    {
        QTemporaryDir user;
        const QStringList builtIn = LookLibrary(kBuiltIn, QString()).Ids();
        const QString pop = LookLibrary::SaveUserLook(Logo(60), u"Pop"_s, user.path(), builtIn);
        QCOMPARE(QFileInfo(pop).fileName(), u"pop-2.qvd"_s);
        const LookLibrary library(kBuiltIn, user.path());
        QVERIFY(library.Find(u"pop"_s)->BuiltIn());
        const LookPreset mine = *library.Find(u"pop-2"_s);

        LookLibrary::RenameUserLook(mine, u"Fire"_s, builtIn);
        const LookLibrary renamed(kBuiltIn, user.path());
        QCOMPARE(renamed.Find(u"fire-2"_s)->Name(), u"Fire"_s);
        QVERIFY(renamed.Find(u"fire"_s)->BuiltIn());

        LookLibrary::DeleteUserLook(*renamed.Find(u"fire-2"_s));
        const QString gone = user.filePath(u"fire-2.qvd"_s);
        QVERIFY(!QFileInfo::exists(gone));
        QVERIFY(FileTesting::FailureOf<EIniFileException>([&] {
                    LookLibrary::DeleteUserLook(mine);
                }).contains(mine.FileName()));
        const QString notAFolder = user.filePath(u"plain"_s);
        WriteFile(notAFolder, "x");
        QVERIFY(FileTesting::FailureOf<EIniFileException>([&] {
                    LookLibrary::SaveUserLook(Logo(60), u"x"_s, notAFolder + u"/looks"_s);
                }).contains(notAFolder));
    }

    void unreadableLooksAreSkippedAndNamed()
    {
        QTemporaryDir user;
        WriteFile(user.filePath(u"empty.qvd"_s), {});
        WriteFile(user.filePath(u"noise.qvd"_s), QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11));
        WriteFile(user.filePath(u"good.qvd"_s), "[SET]\r\nColor1=255\r\n");
        QVERIFY(QDir(user.path()).mkdir(u"folder.qvd"_s));
        const LookLibrary library(kBuiltIn, user.path());
        QCOMPARE(library.Problems().size(), 2);
        QVERIFY(library.Problems().join(u'\n').contains(u"empty.qvd"_s));
        QVERIFY(library.Problems().join(u'\n').contains(u"noise.qvd"_s));
        QVERIFY(library.Find(u"good"_s));
        QCOMPARE(library.Find(u"good"_s)->AppliedTo(Logo(60)).TextColor, TColor(255));
    }
};

QUILVORO_APP_TEST_MAIN(tst_LookPreset)
#include "tst_LookPreset.moc"
