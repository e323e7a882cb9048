// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `quilvoro looks` and logos made from text and a look, run as a script runs them.
#include "document/LogoFile.h"
#include "document/LookLibrary.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace FileTesting;

Q_DECLARE_METATYPE(LogoDocument)

namespace {

const QString kBuiltIn = QStringLiteral(QUILVORO_LOOKS_DIR);

LogoDocument WithText(const QString& text)
{
    LogoDocument document;
    document.Text = text;
    return document;
}

} // namespace

class tst_LooksCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FontInfo::InstallSubstitutions();
        // the user's own looks, one of them unreadable
        QVERIFY(QDir().mkpath(FData.filePath(u"quilvoro/looks"_s)));
        WriteAll(FData.filePath(u"quilvoro/looks/mine.qvd"_s),
                 "\xEF\xBB\xBF"
                     + u"[LOOK]\r\nName=私の青\r\n[SET]\r\nColor1=16711680\r\n"_s.toUtf8());
        WriteAll(FData.filePath(u"quilvoro/looks/broken.qvd"_s), "no look here\r\n");
        WriteAll(Path(u"logo.qvd"_s), "[SET]\r\nLabel=Logo\r\nSize=50\r\n");
    }

    void listsTheLooksOnePerLineIdFirst()
    {
        const ProgramRun::TRun run = Run({u"looks"_s});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), u"mine\t私の青\tuser"_s);
        QStringList builtIn;
        for (const QString& line : lines.mid(1)) {
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 3);
            QCOMPARE(fields[2], u"built-in"_s);
            builtIn.append(fields[0]);
        }
        QStringList files = QDir(kBuiltIn).entryList({u"*.qvd"_s}, QDir::Files);
        files.replaceInStrings(u".qvd"_s, QString());
        builtIn.sort();
        QCOMPARE(builtIn, files);
        // the unreadable one is named and skipped, not fatal
        QVERIFY2(run.err.contains(u"broken.qvd"_s), qPrintable(run.err));
    }

    // The picture is the renderer's for the logo the options describe.
    void rendersTheLogoTheOptionsDescribe_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<LogoDocument>("expected");

        LogoDocument logo = LogoFile::Read(Path(u"logo.qvd"_s));
        QTest::newRow("file in a look") << QStringList {u"logo.qvd"_s, u"--look"_s, u"neon-pink"_s}
                                        << InLook(u"neon-pink"_s, logo);
        QTest::newRow("text in a look")
            << QStringList {u"--text"_s, u"Grand Opening"_s, u"--look"_s, u"gold-extrude"_s}
            << InLook(u"gold-extrude"_s, WithText(u"Grand Opening"_s));
        LogoDocument sized = WithText(u"看板"_s);
        sized.Size = 90;
        sized.FontName = u"DejaVu Serif"_s;
        QTest::newRow("text, face and size in a look")
            << QStringList {u"--text"_s,   u"看板"_s, u"--face"_s, u"dejavu serif"_s,
                            u"--points"_s, u"90"_s,   u"--look"_s, u"telop"_s}
            << InLook(u"telop"_s, sized);
        LogoDocument set = InLook(u"pop"_s, WithText(u"Set"_s));
        set.BackgroundColor = 0x00FF0000;
        set.Warp = TLogoWarp::Wave;
        QTest::newRow("keys set over the look")
            << QStringList {u"--text"_s,          u"Set"_s,   u"--look"_s, u"pop"_s, u"--set"_s,
                            u"Color3=16711680"_s, u"--set"_s, u"warp=4"_s}
            << set;
        QTest::newRow("the user's own look")
            << QStringList {u"--text"_s, u"Mine"_s, u"--look"_s, u"mine"_s}
            << InLook(u"mine"_s, WithText(u"Mine"_s));
    }

    void rendersTheLogoTheOptionsDescribe()
    {
        QFETCH(QStringList, arguments);
        QFETCH(LogoDocument, expected);
        const QString output = Path(u"out.png"_s);
        QFile::remove(output);
        const ProgramRun::TRun run =
            Run(QStringList {u"render"_s} + arguments + QStringList {u"-o"_s, output});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(QImage(output).convertToFormat(QImage::Format_RGB32),
                 DocumentRenderer::Render(expected, {}).convertToFormat(QImage::Format_RGB32));
    }

    void writesAVectorLogoFromTextAlone()
    {
        const ProgramRun::TRun run = Run({u"render"_s, u"--text"_s, u"Grand Opening"_s, u"--look"_s,
                                          u"gold-extrude"_s, u"-o"_s, u"sign.svg"_s});
        QCOMPARE(run.exitCode, 0);
        const QByteArray svg = ReadAll(Path(u"sign.svg"_s));
        QVERIFY(svg.startsWith("<?xml") && svg.contains("<svg"));
        QVERIFY(svg.contains("aria-label=\"Grand Opening\""));
        // the look's gradient face, not the plain default
        QVERIFY(svg.contains("<linearGradient"));
    }

    void namesTheKnownOnesForAnUnknownName_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("unknown");
        QTest::addColumn<QString>("known");

        QTest::newRow("look") << QStringList {u"--look"_s, u"glitter"_s} << u"no look 'glitter'"_s
                              << u"gold-extrude"_s;
        QTest::newRow("face") << QStringList {u"--face"_s, u"No Such Face"_s}
                              << u"no face 'No Such Face'"_s << u"DejaVu Sans"_s;
        QTest::newRow("key") << QStringList {u"--set"_s, u"Colour9=1"_s}
                             << u"no logo key 'Colour9'"_s << u"Color1"_s;
        QTest::newRow("value") << QStringList {u"--set"_s, u"Depth=deep"_s}
                               << u"Depth takes a whole number"_s << u"'deep'"_s;
    }

    void namesTheKnownOnesForAnUnknownName()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, unknown);
        QFETCH(QString, known);
        QFile::remove(Path(u"never.png"_s));
        const ProgramRun::TRun run = Run(
            QStringList {u"render"_s, u"--text"_s, u"x"_s, u"-o"_s, u"never.png"_s} + arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(u"quilvoro render: "_s + unknown) && run.err.contains(known),
                 qPrintable(run.err.left(400)));
        QVERIFY(!QFileInfo::exists(Path(u"never.png"_s)));
    }

private:
    QString Path(const QString& name) const { return FDir.filePath(name); }

    LogoDocument InLook(const QString& id, const LogoDocument& document) const
    {
        const LookLibrary library(kBuiltIn, FData.filePath(u"quilvoro/looks"_s));
        const LookPreset* look = library.Find(id);
        return look ? look->AppliedTo(document) : LogoDocument();
    }

    ProgramRun::TRun Run(const QStringList& arguments) const
    {
        return ProgramRun::Run(arguments, FDir.path(), QStringLiteral(QUILVORO_PROGRAM),
                               {{u"XDG_DATA_HOME"_s, FData.path()}});
    }

    QTemporaryDir FDir;
    QTemporaryDir FData;
};

QUILVORO_APP_TEST_MAIN(tst_LooksCommandLine)
#include "tst_LooksCommandLine.moc"
