// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Cp932Codec.h"
#include "support/AppTestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_Cp932Codec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("ascii") << u"Tamrin - Quilvoro"_s << QByteArray("Tamrin - Quilvoro");
        QTest::newRow("kanji") << u"新規"_s << QByteArray("\x90\x56\x8B\x4B");
        QTest::newRow("half-width katakana") << u"ﾉｰﾏﾙ"_s << QByteArray("\xC9\xB0\xCF\xD9");
        QTest::newRow("full-width colon") << u"："_s << QByteArray("\x81\x46");
        QTest::newRow("windows-31j extension") << u"①"_s << QByteArray("\x87\x40");
        QTest::newRow("empty") << QString() << QByteArray();
    }

    void roundTrips()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp932Codec::Encode(text), bytes);
        QCOMPARE(Cp932Codec::Decode(bytes), text);
        QVERIFY(Cp932Codec::CanEncode(text));
    }

    void refusesWhatItCannotHold()
    {
        const QString emoji = u"logo 😀"_s;
        QVERIFY(!Cp932Codec::CanEncode(emoji));
        try {
            Cp932Codec::Encode(emoji);
            QFAIL("no error for an emoji");
        } catch (const Cp932Codec::EncodingError& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(u"U+"_s));
        }
    }

    void replacesInvalidBytes()
    {
        // 0x81 starts a double-byte character; 0x20 cannot follow it.
        QCOMPARE(Cp932Codec::Decode(QByteArray("a\x81 b")), u"a\uFFFD b"_s);
    }

    // Kept stray bytes read back as private-use characters and are written back as the bytes.
    void keepsStrayBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lead byte before a blank") << QByteArray("a\x81 b");
        QTest::newRow("bytes no character starts with") << QByteArray("\x80\xA0\xFD\xFE\xFF");
        QTest::newRow("lead byte at the end") << QByteArray("\x82\xA0\x82");
        QTest::newRow("between kanji") << QByteArray("\x89\x65\xFF\x89\x65");
    }

    void keepsStrayBytes()
    {
        QFETCH(QByteArray, bytes);
        const QString text = Cp932Codec::Decode(bytes, Cp932Codec::TStrayBytes::Keep);
        QVERIFY(!text.contains(QChar(0xFFFD)));
        QCOMPARE(Cp932Codec::Encode(text), bytes);
    }

    // A kept byte that would join the next character when written is not written as a byte.
    void refusesAKeptByteThatWouldJoinItsNeighbour()
    {
        const QString lead = Cp932Codec::Decode("\x89", Cp932Codec::TStrayBytes::Keep);
        QCOMPARE(lead, QString(QChar(Cp932Codec::kStrayByteBase + 0x89)));
        QVERIFY(Cp932Codec::CanEncode(lead + u' '));
        QVERIFY(!Cp932Codec::CanEncode(lead + u'e')); // 0x89 0x65 would read as one kanji
    }

    void countsDoubleByteCharacters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("doubleByte");
        QTest::newRow("ascii") << u"a"_s << false;
        QTest::newRow("half-width katakana") << u"ｱ"_s << false;
        QTest::newRow("kanji") << u"影"_s << true;
        QTest::newRow("not in cp932") << u"ß"_s << true;
    }

    void countsDoubleByteCharacters()
    {
        QFETCH(QString, character);
        QFETCH(bool, doubleByte);
        QCOMPARE(Cp932Codec::IsDoubleByte(character.at(0)), doubleByte);
    }
};

QUILVORO_APP_TEST_MAIN(tst_Cp932Codec)
#include "tst_Cp932Codec.moc"
