// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TIniFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace FileTesting;

namespace {

const QString kSet = u"SET"_s;

struct TLogo
{
    QString label = u"Quilvoro"_s;
    int size = 40;
    int color1 = 16777215;
};

// The 21 keys as the window's Save writes them, in file order.
void SaveLogo(const QString& path, const TLogo& logo)
{
    TIniFile ini(path);
    ini.WriteString(kSet, u"Label"_s, logo.label);
    ini.WriteString(kSet, u"Font"_s, u"ＭＳ Ｐゴシック"_s);
    ini.WriteBool(kSet, u"Bold"_s, false);
    ini.WriteBool(kSet, u"Italic"_s, false);
    ini.WriteBool(kSet, u"Under"_s, false);
    ini.WriteBool(kSet, u"Strike"_s, false);
    ini.WriteInteger(kSet, u"Size"_s, logo.size);
    ini.WriteInteger(kSet, u"Angle"_s, 0);
    ini.WriteBool(kSet, u"Style1"_s, true);
    ini.WriteBool(kSet, u"Style2"_s, false);
    ini.WriteBool(kSet, u"Style3"_s, false);
    ini.WriteBool(kSet, u"Shadow1"_s, false);
    ini.WriteBool(kSet, u"Shadow2"_s, false);
    ini.WriteBool(kSet, u"Shadow3"_s, true);
    ini.WriteInteger(kSet, u"Depth"_s, 30);
    ini.WriteInteger(kSet, u"Orientation"_s, 0);
    ini.WriteInteger(kSet, u"Color1"_s, logo.color1);
    ini.WriteInteger(kSet, u"Color2"_s, 8421504);
    ini.WriteInteger(kSet, u"Color3"_s, 0);
    ini.WriteString(kSet, u"Image1"_s, QString());
    ini.WriteString(kSet, u"Image2"_s, QString());
    ini.UpdateFile();
}

const QByteArray kNewFile = "[SET]\r\n"
                            "Label=Quilvoro\r\n"
                            "Font=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
                            "Bold=0\r\nItalic=0\r\nUnder=0\r\nStrike=0\r\n"
                            "Size=40\r\nAngle=0\r\n"
                            "Style1=1\r\nStyle2=0\r\nStyle3=0\r\n"
                            "Shadow1=0\r\nShadow2=0\r\nShadow3=1\r\n"
                            "Depth=30\r\nOrientation=0\r\n"
                            "Color1=16777215\r\nColor2=8421504\r\nColor3=0\r\n"
                            "Image1=\r\nImage2=\r\n";

} // namespace

class tst_TIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void newFileHasKeysInWriteOrder();
    void savingTwiceKeepsOneCopyOfEachKey();
    void otherSectionsAndLinesAreKept();
    void writesReachDiskOnlyOnUpdate();
    void missingFileOrKeyGivesDefault();
    void integersAndBooleansRead_data();
    void integersAndBooleansRead();
    void longValuesAreKeptWhole_data();
    void longValuesAreKeptWhole();
    void handEditedFileReads();
    void japaneseRoundTripsInCp932();
    void emojiRoundTripsInUtf8WithBom();
    void failedSaveKeepsOldFileAndNamesIt_data();
    void failedSaveKeepsOldFileAndNamesIt();
    void interruptedWriteKeepsOldFile();
    void unreadableFileIsNotReplaced();
    void fifoReadsAsEmptyAtOnceAndStays();
    void lineBreakInValueIsRefused();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString Path(const QString& name) const { return FDir->filePath(name); }
};

void tst_TIniFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

void tst_TIniFile::newFileHasKeysInWriteOrder()
{
    SaveLogo(Path(u"logo.qvd"_s), TLogo());
    QCOMPARE(ReadAll(Path(u"logo.qvd"_s)), kNewFile);
    // nothing but the file itself is left behind
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList {u"logo.qvd"_s});
}

void tst_TIniFile::savingTwiceKeepsOneCopyOfEachKey()
{
    const QString path = Path(u"logo.qvd"_s);
    SaveLogo(path, TLogo());
    SaveLogo(path, TLogo {u"Second"_s, 77, 255});

    QByteArray expected = kNewFile;
    expected.replace("Label=Quilvoro", "Label=Second")
        .replace("Size=40", "Size=77")
        .replace("Color1=16777215", "Color1=255");
    QCOMPARE(ReadAll(path), expected);
}

void tst_TIniFile::otherSectionsAndLinesAreKept()
{
    const QString path = Path(u"shared.ini"_s);
    const QByteArray before = "; notes by hand\r\n[Window]\r\nLeft=10\r\n\r\n"
                              "[SET]\r\nSize=12\r\nCustom=yes\r\n\r\n[Tail]\r\nx=1\r\n";
    WriteAll(path, before);

    TIniFile ini(path);
    ini.WriteInteger(kSet, u"Size"_s, 40);
    ini.WriteInteger(kSet, u"Depth"_s, 30);
    ini.UpdateFile();

    QCOMPARE(ReadAll(path),
             QByteArray("; notes by hand\r\n[Window]\r\nLeft=10\r\n\r\n"
                        "[SET]\r\nSize=40\r\nCustom=yes\r\nDepth=30\r\n\r\n"
                        "[Tail]\r\nx=1\r\n"));
}

void tst_TIniFile::writesReachDiskOnlyOnUpdate()
{
    const QString path = Path(u"logo.qvd"_s);
    WriteAll(path, "[SET]\r\nSize=12\r\n");

    TIniFile ini(path);
    QVERIFY(!ini.Modified());
    ini.WriteInteger(kSet, u"Size"_s, 40);
    QVERIFY(ini.Modified());
    QCOMPARE(ini.ReadInteger(kSet, u"Size"_s, 0), 40); // reads see the pending write
    QCOMPARE(ReadAll(path), QByteArray("[SET]\r\nSize=12\r\n"));

    ini.UpdateFile();
    QVERIFY(!ini.Modified());
    QCOMPARE(ReadAll(path), QByteArray("[SET]\r\nSize=40\r\n"));

    // an update without writes leaves the file alone, even a missing one
    TIniFile untouched(Path(u"never.qvd"_s));
    untouched.UpdateFile();
    QVERIFY(!QFile::exists(Path(u"never.qvd"_s)));
}

void tst_TIniFile::missingFileOrKeyGivesDefault()
{
    const TIniFile missing(Path(u"absent.qvd"_s));
    QCOMPARE(missing.ReadString(kSet, u"Label"_s, u"keep"_s), u"keep"_s);
    QCOMPARE(missing.ReadInteger(kSet, u"Size"_s, 55), 55);
    QCOMPARE(missing.ReadBool(kSet, u"Bold"_s, true), true);

    WriteAll(Path(u"partial.qvd"_s), "[Other]\r\nOrientation=3\r\n[SET]\r\nSize=20\r\n");
    const TIniFile partial(Path(u"partial.qvd"_s));
    QCOMPARE(partial.ReadInteger(kSet, u"Orientation"_s, 6), 6);
    QCOMPARE(partial.ReadString(kSet, u"Label"_s, u"keep"_s), u"keep"_s);
    QCOMPARE(partial.ReadInteger(kSet, u"Size"_s, 0), 20);
}

void tst_TIniFile::integersAndBooleansRead_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("boolean");

    // default integer 99, default boolean true
    QTest::newRow("0x1F") << QByteArray("0x1F") << 31 << true;
    QTest::newRow("$20") << QByteArray("$20") << 32 << true;
    QTest::newRow("-0") << QByteArray("-0") << 0 << false;
    QTest::newRow("abc") << QByteArray("abc") << 99 << true;
    QTest::newRow("12px") << QByteArray("12px") << 99 << true;
    QTest::newRow("empty") << QByteArray() << 99 << true;
    QTest::newRow("spaced") << QByteArray("  9  ") << 9 << true;
    QTest::newRow("0 is false") << QByteArray("0") << 0 << false;
    QTest::newRow("2 is true") << QByteArray("2") << 2 << true;
    QTest::newRow("true is no number") << QByteArray("true") << 99 << true;
    QTest::newRow("negative colour") << QByteArray("-2147483633") << -2147483633 << true;
    QTest::newRow("out of range") << QByteArray("4294967295") << 99 << true;
}

void tst_TIniFile::integersAndBooleansRead()
{
    QFETCH(QByteArray, value);
    QFETCH(int, integer);
    QFETCH(bool, boolean);

    WriteAll(Path(u"v.qvd"_s), "[SET]\r\nSize=" + value + "\r\n");
    const TIniFile ini(Path(u"v.qvd"_s));
    QCOMPARE(ini.ReadInteger(kSet, u"Size"_s, 99), integer);
    QCOMPARE(ini.ReadBool(kSet, u"Size"_s, true), boolean);
}

void tst_TIniFile::longValuesAreKeptWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("2047") << 2047;
    QTest::newRow("2048") << 2048;
    QTest::newRow("5000") << 5000;
}

void tst_TIniFile::longValuesAreKeptWhole()
{
    QFETCH(int, length);
    QString value;
    for (int i = 0; i < length; ++i)
        value += QChar(i % 3 == 0 ? u'ア' : u'a' + i % 26);

    TIniFile writer(Path(u"long.qvd"_s));
    writer.WriteString(kSet, u"Image1"_s, value);
    writer.UpdateFile();
    QCOMPARE(TIniFile(Path(u"long.qvd"_s)).ReadString(kSet, u"Image1"_s, QString()), value);
}

void tst_TIniFile::handEditedFileReads()
{
    WriteAll(Path(u"hand.qvd"_s),
             "Loose=1\n"
             "; Label=commented out\n"
             "\n"
             "[ set ]\n"
             "  label   =   Hand made  \n"
             "SIZE= 0x20\n"
             "bold =1\n");
    TIniFile ini(Path(u"hand.qvd"_s));
    QCOMPARE(ini.ReadString(kSet, u"Label"_s, QString()), u"Hand made"_s);
    QCOMPARE(ini.ReadInteger(kSet, u"Size"_s, 0), 32);
    QCOMPARE(ini.ReadBool(kSet, u"Bold"_s, false), true);
    QCOMPARE(ini.ReadString(kSet, u"Loose"_s, u"none"_s), u"none"_s);

    ini.WriteInteger(kSet, u"Size"_s, 40);
    ini.UpdateFile();
    QCOMPARE(ReadAll(Path(u"hand.qvd"_s)),
             QByteArray("Loose=1\r\n; Label=commented out\r\n\r\n[ set ]\r\n"
                        "  label   =   Hand made  \r\nSize=40\r\nbold =1\r\n"));
}

void tst_TIniFile::japaneseRoundTripsInCp932()
{
    TIniFile writer(Path(u"jp.qvd"_s));
    writer.WriteString(kSet, u"Label"_s, u"文字ロゴ"_s);
    writer.UpdateFile();
    // 文 95 B6, 字 8E 9A, ロ 83 8D, ゴ 83 53
    QCOMPARE(ReadAll(Path(u"jp.qvd"_s)),
             QByteArray("[SET]\r\nLabel=\x95\xB6\x8E\x9A\x83\x8D\x83\x53\r\n"));
    QCOMPARE(TIniFile(Path(u"jp.qvd"_s)).ReadString(kSet, u"Label"_s, QString()), u"文字ロゴ"_s);
}

void tst_TIniFile::emojiRoundTripsInUtf8WithBom()
{
    const QString label = u"ロゴ😀"_s;
    TIniFile writer(Path(u"emoji.qvd"_s));
    writer.WriteString(kSet, u"Label"_s, label);
    writer.WriteInteger(kSet, u"Size"_s, 40);
    writer.UpdateFile();
    QCOMPARE(ReadAll(Path(u"emoji.qvd"_s)),
             "\xEF\xBB\xBF[SET]\r\nLabel=" + label.toUtf8() + "\r\nSize=40\r\n");
    QCOMPARE(TIniFile(Path(u"emoji.qvd"_s)).ReadString(kSet, u"Label"_s, QString()), label);
}

void tst_TIniFile::failedSaveKeepsOldFileAndNamesIt_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("over a folder") << u"folder.qvd"_s;
    QTest::newRow("into a missing folder") << u"missing/logo.qvd"_s;
    QTest::newRow("through a file as folder") << u"plain.txt/logo.qvd"_s;
}

void tst_TIniFile::failedSaveKeepsOldFileAndNamesIt()
{
    QFETCH(QString, target);
    QVERIFY(QDir(FDir->path()).mkdir(u"folder.qvd"_s));
    WriteAll(Path(u"plain.txt"_s), "old");
    const QString path = Path(target);

    TIniFile ini(path);
    ini.WriteInteger(kSet, u"Size"_s, 40);
    const QString message = FailureOf<EIniFileException>([&] { ini.UpdateFile(); });
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY(ini.Modified()); // still pending: a retry would write it

    QCOMPARE(ReadAll(Path(u"plain.txt"_s)), QByteArray("old"));
    QVERIFY(QFileInfo(Path(u"folder.qvd"_s)).isDir());
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList {u"folder.qvd"_s, u"plain.txt"_s}));
}

void tst_TIniFile::interruptedWriteKeepsOldFile()
{
    const QString path = Path(u"logo.qvd"_s);
    SaveLogo(path, TLogo());

    TIniFile ini(path);
    ini.WriteString(kSet, u"Label"_s, QString(64 * 1024, u'x'));
    QString message;
    {
        // the new file would need 64 KiB; the write stops at 4 KiB like on a full disk
        const TFileSizeLimit limit(4096);
        message = FailureOf<EIniFileException>([&] { ini.UpdateFile(); });
    }
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY2(message.contains(u"ファイルガ大キスギマス"_s), qPrintable(message));
    QCOMPARE(ReadAll(path), kNewFile);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList {u"logo.qvd"_s});
}

void tst_TIniFile::unreadableFileIsNotReplaced()
{
    // a file too large to be a logo file reads as empty and is never overwritten
    const QString path = Path(u"big.qvd"_s);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(TIniFile::MaxFileSize + 1));
    }
    TIniFile ini(path);
    QCOMPARE(ini.ReadInteger(kSet, u"Size"_s, 7), 7);
    ini.WriteInteger(kSet, u"Size"_s, 40);
    const QString message = FailureOf<EIniFileException>([&] { ini.UpdateFile(); });
    QVERIFY2(message.contains(path), qPrintable(message));
    QCOMPARE(QFileInfo(path).size(), TIniFile::MaxFileSize + 1);
}

// A FIFO that nothing writes to would block the open forever: it reads as empty at once, says
// why, and a save neither blocks nor replaces it.
void tst_TIniFile::fifoReadsAsEmptyAtOnceAndStays()
{
    const QString path = Path(u"logo.qvd"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    TIniFile ini(path);
    QCOMPARE(ini.ReadInteger(kSet, u"Size"_s, 7), 7);
    QVERIFY2(ini.ReadError().contains(u"通常ノファイルデハアリマセン"_s),
             qPrintable(ini.ReadError()));
    ini.WriteInteger(kSet, u"Size"_s, 40);
    const QString message = FailureOf<EIniFileException>([&] { ini.UpdateFile(); });
    QVERIFY2(message.contains(u"通常ノファイルデハアリマセン"_s), qPrintable(message));
    struct stat status = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
}

void tst_TIniFile::lineBreakInValueIsRefused()
{
    const QString path = Path(u"logo.qvd"_s);
    TIniFile ini(path);
    ini.WriteString(kSet, u"Label"_s, u"ok"_s);
    const QString message = FailureOf<EIniFileException>(
        [&] { ini.WriteString(kSet, u"Image1"_s, u"a.bmp\n[SET]\nLabel=evil"_s); });
    QVERIFY2(message.contains(path) && message.contains(u"Image1"_s), qPrintable(message));
    ini.UpdateFile();
    QCOMPARE(ReadAll(path), QByteArray("[SET]\r\nLabel=ok\r\n"));
}

QUILVORO_APP_TEST_MAIN(tst_TIniFile)
#include "tst_TIniFile.moc"
