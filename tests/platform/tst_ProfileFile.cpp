// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Cp932Codec.h"
#include "platform/IniInteger.h"
#include "platform/ProfileFile.h"
#include "support/AppTestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kSet = u"SET"_s;

QByteArray Crlf(const char* lfText)
{
    return QByteArray(lfText).replace("\n", "\r\n");
}

} // namespace

class tst_ProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void integerSpellings_data();
    void integerSpellings();
    void handEditedFileReads();
    void handEditedLinesReadAsTheProfileServicesReadThem_data();
    void handEditedLinesReadAsTheProfileServicesReadThem();
    void keyWithoutValueIsReplacedWhereItStands();
    void namesMatchWithoutCase();
    void updateReplacesKeyWhereItStands();
    void missingKeyGoesToEndOfItsSection();
    void missingSectionIsAppended();
    void untouchedFileKeepsItsBytes();
    void blanksAndQuotesRoundTrip_data();
    void blanksAndQuotesRoundTrip();
    void lineBreaksAndBadNamesAreRefused();
    void textBeyondCp932SwitchesToUtf8WithBom();
    void byteOrderMarkMeansUtf8();
    void undecodableBytesOfOtherLinesSurvive();
};

void tst_ProfileFile::integerSpellings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << u"40"_s << true << 40;
    QTest::newRow("negative") << u"-12"_s << true << -12;
    QTest::newRow("minus zero") << u"-0"_s << true << 0;
    QTest::newRow("plus") << u"+7"_s << true << 7;
    QTest::newRow("leading zeros") << u"007"_s << true << 7;
    QTest::newRow("leading spaces") << u"   5"_s << true << 5;
    QTest::newRow("0x") << u"0x1F"_s << true << 31;
    QTest::newRow("0X lower digits") << u"0Xff"_s << true << 255;
    QTest::newRow("dollar") << u"$20"_s << true << 32;
    QTest::newRow("x alone") << u"x10"_s << true << 16;
    QTest::newRow("signed 0x") << u"-0x10"_s << true << -16;
    QTest::newRow("spaces before 0x") << u"  0x10"_s << true << 16;
    QTest::newRow("eight hex digits") << u"$7FFFFFFF"_s << true << 2147483647;
    QTest::newRow("0x80000000 wraps") << u"0x80000000"_s << true << int(0x80000000u);
    QTest::newRow("FFFFFFFF is -1") << u"$FFFFFFFF"_s << true << -1;
    QTest::newRow("leading hex zeros do not count") << u"$000000001"_s << true << 1;
    QTest::newRow("int max") << u"2147483647"_s << true << 2147483647;
    QTest::newRow("int min") << u"-2147483648"_s << true << int(-2147483647 - 1);
    QTest::newRow("colour") << u"16777215"_s << true << 16777215;

    QTest::newRow("letters") << u"abc"_s << false << 0;
    QTest::newRow("unit suffix") << u"12px"_s << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("spaces only") << u"   "_s << false << 0;
    QTest::newRow("sign only") << u"-"_s << false << 0;
    QTest::newRow("prefix only 0x") << u"0x"_s << false << 0;
    QTest::newRow("prefix only $") << u"$"_s << false << 0;
    QTest::newRow("nine hex digits") << u"$100000000"_s << false << 0;
    QTest::newRow("above int max") << u"2147483648"_s << false << 0;
    QTest::newRow("below int min") << u"-2147483649"_s << false << 0;
    QTest::newRow("huge decimal") << u"99999999999999999999999"_s << false << 0;
    QTest::newRow("trailing space") << u"12 "_s << false << 0;
    QTest::newRow("space after sign") << u"- 5"_s << false << 0;
    QTest::newRow("double sign") << u"--5"_s << false << 0;
    QTest::newRow("bad hex digit") << u"0x1G"_s << false << 0;
    QTest::newRow("decimal point") << u"1.5"_s << false << 0;
    QTest::newRow("full-width digits") << u"４０"_s << false << 0;
}

void tst_ProfileFile::integerSpellings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<std::int32_t> parsed = IniInteger::Parse(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void tst_ProfileFile::handEditedFileReads()
{
    const TProfileFile file = TProfileFile::FromBytes("Stray=1\n"
                                                      "; a comment = not a key\n"
                                                      "\n"
                                                      "  [ SET ]  \n"
                                                      "\tSize =  40 \n"
                                                      "Angle=\n"
                                                      "; Depth=99\n"
                                                      "Label = a = b\n"
                                                      "Depth=30\n"
                                                      "Depth=31\n"
                                                      "[Other]\n"
                                                      "Orientation=5");
    QCOMPARE(file.Value(kSet, u"Size"_s), u"40"_s);
    QCOMPARE(file.Value(kSet, u"Angle"_s), QString());
    QVERIFY(file.Value(kSet, u"Angle"_s).has_value());
    QCOMPARE(file.Value(kSet, u"Label"_s), u"a = b"_s);
    QCOMPARE(file.Value(kSet, u"Depth"_s), u"30"_s); // the first of two wins
    QVERIFY(!file.Value(kSet, u"Orientation"_s)); // belongs to another section
    QVERIFY(!file.Value(kSet, u"Stray"_s));
    QCOMPARE(file.Value(u"Other"_s, u"Orientation"_s), u"5"_s);
}

void tst_ProfileFile::handEditedLinesReadAsTheProfileServicesReadThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("value");
    using Value = std::optional<QString>;

    QTest::newRow("single quotes")
        << QByteArray("[SET]\r\nFont='Arial'\r\n") << u"Font"_s << Value(u"Arial"_s);
    QTest::newRow("double quotes")
        << QByteArray("[SET]\r\nFont=\"Arial\"\r\n") << u"Font"_s << Value(u"Arial"_s);
    QTest::newRow("single quotes keep blanks")
        << QByteArray("[SET]\r\nLabel=' a '\r\n") << u"Label"_s << Value(u" a "_s);
    QTest::newRow("mixed quotes stay")
        << QByteArray("[SET]\r\nLabel='a\"\r\n") << u"Label"_s << Value(u"'a\""_s);
    QTest::newRow("one single quote stays")
        << QByteArray("[SET]\r\nLabel='\r\n") << u"Label"_s << Value(u"'"_s);
    QTest::newRow("CR line ends") << QByteArray("[SET]\rSize=5\r") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("CR line ends, no last one")
        << QByteArray("[Other]\rSize=1\r[SET]\rAngle=2\rSize=5") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("all three line ends")
        << QByteArray("[SET]\r\nLabel=a\rAngle=3\nSize=5\r\n") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("key without =") << QByteArray("[SET]\r\nSize\r\n") << u"Size"_s << Value();
    QTest::newRow("key without = hides a later one")
        << QByteArray("[SET]\r\n  Size  \r\nSize=5\r\n") << u"Size"_s << Value();
    QTest::newRow("key without = after the real one")
        << QByteArray("[SET]\r\nSize=5\r\nSize\r\n") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("header up to its last ]")
        << QByteArray("[SET]]\r\nSize=5\r\n") << u"Size"_s << Value();
    QTest::newRow("header with text before its last ]")
        << QByteArray("[SET] x ]\r\nSize=5\r\n") << u"Size"_s << Value();
    QTest::newRow("text after the last ] is not part of the name")
        << QByteArray("[SET] ; note\r\nSize=5\r\n") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("[ without ] is no header")
        << QByteArray("[SET]\r\n[Other\r\nSize=5\r\n") << u"Size"_s << Value(u"5"_s);
    QTest::newRow("[ without ] does not start a section")
        << QByteArray("[Other\r\nSize=5\r\n") << u"Size"_s << Value();
}

void tst_ProfileFile::handEditedLinesReadAsTheProfileServicesReadThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, value);
    QCOMPARE(TProfileFile::FromBytes(bytes).Value(kSet, key), value);
}

void tst_ProfileFile::keyWithoutValueIsReplacedWhereItStands()
{
    TProfileFile file = TProfileFile::FromBytes("[SET]\rLabel=a\rSize\rSize=5\r");
    file.SetValue(kSet, u"Size"_s, u"40"_s);
    QCOMPARE(file.Bytes(), Crlf("[SET]\nLabel=a\nSize=40\nSize=5\n"));
    QCOMPARE(TProfileFile::FromBytes(file.Bytes()).Value(kSet, u"Size"_s), u"40"_s);
}

void tst_ProfileFile::namesMatchWithoutCase()
{
    TProfileFile file = TProfileFile::FromBytes("[set]\r\nSIZE=12\r\n");
    QCOMPARE(file.Value(kSet, u"size"_s), u"12"_s);

    file.SetValue(u"Set"_s, u"Size"_s, u"13"_s);
    QCOMPARE(file.Bytes(), QByteArray("[set]\r\nSize=13\r\n"));
}

void tst_ProfileFile::updateReplacesKeyWhereItStands()
{
    TProfileFile file = TProfileFile::FromBytes(Crlf("[SET]\nLabel=a\nSize = 40\nAngle=0\n"));
    file.SetValue(kSet, u"Size"_s, u"41"_s);
    file.SetValue(kSet, u"Size"_s, u"42"_s);
    QCOMPARE(file.Bytes(), Crlf("[SET]\nLabel=a\nSize=42\nAngle=0\n"));
}

void tst_ProfileFile::missingKeyGoesToEndOfItsSection()
{
    TProfileFile file = TProfileFile::FromBytes("[SET]\nLabel=a\n; note\n\n[Other]\nx=1\n");
    file.SetValue(kSet, u"Depth"_s, u"30"_s);
    QCOMPARE(file.Bytes(), Crlf("[SET]\nLabel=a\n; note\nDepth=30\n\n[Other]\nx=1\n"));
}

void tst_ProfileFile::missingSectionIsAppended()
{
    TProfileFile empty;
    empty.SetValue(kSet, u"Label"_s, u"Logo"_s);
    empty.SetValue(kSet, u"Size"_s, u"40"_s);
    QCOMPARE(empty.Bytes(), QByteArray("[SET]\r\nLabel=Logo\r\nSize=40\r\n"));

    TProfileFile other = TProfileFile::FromBytes("[Other]\r\nx=1"); // no final line break
    other.SetValue(kSet, u"Size"_s, u"40"_s);
    QCOMPARE(other.Bytes(), QByteArray("[Other]\r\nx=1\r\n[SET]\r\nSize=40\r\n"));
}

void tst_ProfileFile::untouchedFileKeepsItsBytes()
{
    const QByteArray original = Crlf("; made by hand\n[SET]\n  Size = 40 \n\n[Other]\nKey=\"q\"\n");
    QCOMPARE(TProfileFile::FromBytes(original).Bytes(), original);
}

void tst_ProfileFile::blanksAndQuotesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("plain") << u"Logo"_s << QByteArray("Label=Logo");
    QTest::newRow("inner blanks") << u"A  B"_s << QByteArray("Label=A  B");
    QTest::newRow("leading blank") << u" Logo"_s << QByteArray("Label=\" Logo\"");
    QTest::newRow("trailing tab") << u"Logo\t"_s << QByteArray("Label=\"Logo\t\"");
    QTest::newRow("quoted") << u"\"Logo\""_s << QByteArray("Label=\"\"Logo\"\"");
    QTest::newRow("single-quoted") << u"'Logo'"_s << QByteArray("Label=\"'Logo'\"");
    QTest::newRow("one quote") << u"\""_s << QByteArray("Label=\"");
    QTest::newRow("equals sign") << u"a=b"_s << QByteArray("Label=a=b");
    QTest::newRow("empty") << QString() << QByteArray("Label=");
    // an ideographic space is not a blank the reader drops
    QTest::newRow("ideographic space")
        << u"\u3000ロゴ"_s << QByteArray("Label=") + Cp932Codec::Encode(u"\u3000ロゴ"_s);
}

void tst_ProfileFile::blanksAndQuotesRoundTrip()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);

    TProfileFile file;
    file.SetValue(kSet, u"Label"_s, value);
    const QByteArray bytes = file.Bytes();
    QCOMPARE(bytes, "[SET]\r\n" + line + "\r\n");
    QCOMPARE(TProfileFile::FromBytes(bytes).Value(kSet, u"Label"_s), value);
}

void tst_ProfileFile::lineBreaksAndBadNamesAreRefused()
{
    TProfileFile file = TProfileFile::FromBytes("[SET]\r\nLabel=a\r\n");
    const QByteArray before = file.Bytes();
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName,
                             file.SetValue(kSet, u"Image1"_s, u"/tmp/a\n[SET]\nLabel=x"_s));
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName, file.SetValue(kSet, u"Label"_s, u"a\rb"_s));
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName, file.SetValue(kSet, u"a=b"_s, u"1"_s));
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName, file.SetValue(kSet, u" "_s, u"1"_s));
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName, file.SetValue(kSet, u";x"_s, u"1"_s));
    QVERIFY_THROWS_EXCEPTION(TProfileFile::InvalidName, file.SetValue(u"S]ET"_s, u"x"_s, u"1"_s));
    QCOMPARE(file.Bytes(), before);
}

void tst_ProfileFile::textBeyondCp932SwitchesToUtf8WithBom()
{
    TProfileFile file = TProfileFile::FromBytes("[SET]\r\nFont=\x83\x53\r\n");
    file.SetValue(kSet, u"Label"_s, u"Logo 😀 ロゴ"_s);
    const QByteArray bytes = file.Bytes();
    // every line moves to UTF-8, the untouched CP932 line included
    QCOMPARE(bytes,
             QByteArray("\xEF\xBB\xBF[SET]\r\nFont=") + u"ゴ"_s.toUtf8()
                 + "\r\nLabel=" + u"Logo 😀 ロゴ"_s.toUtf8() + "\r\n");

    TProfileFile read = TProfileFile::FromBytes(bytes);
    QCOMPARE(read.Value(kSet, u"Label"_s), u"Logo 😀 ロゴ"_s);
    QCOMPARE(read.Value(kSet, u"Font"_s), u"ゴ"_s);

    // once CP932 can hold everything again, the file goes back to CP932
    read.SetValue(kSet, u"Label"_s, u"ロゴ"_s);
    QCOMPARE(read.Bytes(), QByteArray("[SET]\r\nFont=\x83\x53\r\nLabel=\x83\x8D\x83\x53\r\n"));
}

void tst_ProfileFile::byteOrderMarkMeansUtf8()
{
    const QByteArray utf8 = u"[SET]\nLabel=ロゴ\n"_s.toUtf8();
    QCOMPARE(TProfileFile::FromBytes("\xEF\xBB\xBF" + utf8).Value(kSet, u"Label"_s), u"ロゴ"_s);
    // without the mark the same bytes are CP932, and not the text above
    QVERIFY(TProfileFile::FromBytes(utf8).Value(kSet, u"Label"_s) != u"ロゴ"_s);
}

void tst_ProfileFile::undecodableBytesOfOtherLinesSurvive()
{
    // 0x81 0x20 is no CP932 character; a line that is not touched goes back byte for byte
    TProfileFile file = TProfileFile::FromBytes("[Other]\r\nNote=\x81\x20!\r\n[SET]\r\nSize=1\r\n");
    file.SetValue(kSet, u"Size"_s, u"2"_s);
    QCOMPARE(file.Bytes(), QByteArray("[Other]\r\nNote=\x81\x20!\r\n[SET]\r\nSize=2\r\n"));
}

QUILVORO_APP_TEST_MAIN(tst_ProfileFile)
#include "tst_ProfileFile.moc"
