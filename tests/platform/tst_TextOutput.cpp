// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FontInfo.h"
#include "platform/TextOutput.h"
#include "support/AppTestMain.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QFont TestFont()
{
    return FontInfo::MakeFont(u"DejaVu Sans"_s, 12);
}

QRect Measure(const QString& text, unsigned format, int width = 1000)
{
    QRect r(10, 20, width, 100);
    DrawText(nullptr, TestFont(), text, r, format | DT_CALCRECT);
    return r;
}

// Rows of `image` that hold at least one dark pixel inside the columns [x0, x1).
QList<int> InkRows(const QImage& image, int x0, int x1)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

QImage Render(const QString& text, unsigned format, QRect rect)
{
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    DrawText(&p, TestFont(), text, rect, format);
    return image;
}

} // namespace

class tst_TextOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FontInfo::InstallSubstitutions(); }

    void measuresSingleLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<QString>("sameWidthAs");

        QTest::newRow("plain") << u"Quilvoro"_s << 0u << u"Quilvoro"_s;
        QTest::newRow("prefix hidden") << u"&Save"_s << 0u << u"Save"_s;
        QTest::newRow("double ampersand") << u"A&&B"_s << 0u << u"A&B"_s;
        QTest::newRow("noprefix keeps ampersand")
            << u"&Save"_s << unsigned(DT_NOPREFIX) << u"&Save"_s;
        QTest::newRow("trailing ampersand kept") << u"AB&"_s << 0u << u"AB"_s;
        QTest::newRow("single line joins lines")
            << u"a\nb"_s << unsigned(DT_SINGLELINE) << u"a b"_s;
    }

    void measuresSingleLines()
    {
        QFETCH(QString, text);
        QFETCH(unsigned, format);
        QFETCH(QString, sameWidthAs);
        const QFontMetrics fm(TestFont());
        const QRect r = Measure(text, format);
        QCOMPARE(r.left(), 10);
        QCOMPARE(r.top(), 20);
        QCOMPARE(r.width(), fm.horizontalAdvance(sameWidthAs));
        QCOMPARE(r.height(), fm.height());
    }

    void wrapsWordsAtTheRightEdge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lines");

        const int word = QFontMetrics(TestFont()).horizontalAdvance(u"space"_s);
        QTest::newRow("fits") << u"space leave"_s << 1000 << 1;
        QTest::newRow("one word per line") << u"space space space"_s << word + 2 << 3;
        QTest::newRow("long word stays whole") << u"spacespacespace"_s << word << 1;
        QTest::newRow("explicit line break") << u"a\nb\r\nc"_s << 1000 << 3;
        const int half = QFontMetrics(TestFont()).horizontalAdvance(u"空間カラ離脱"_s);
        QTest::newRow("japanese breaks between characters")
            << u"空間カラ離脱空間カラ離脱"_s << half + 1 << 2;
    }

    void wrapsWordsAtTheRightEdge()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, lines);
        const QFontMetrics fm(TestFont());
        const QRect r = Measure(text, DT_WORDBREAK, width);
        QCOMPARE(r.height(), lines * fm.height());
    }

    void withoutWordBreakOnlyLineBreaksSplit()
    {
        const QFontMetrics fm(TestFont());
        QCOMPARE(Measure(u"space space space"_s, 0, 10).height(), fm.height());
        QCOMPARE(Measure(u"one\ntwo"_s, 0, 10).height(), 2 * fm.height());
    }

    void expandsTabsToEightAverageCharacters()
    {
        const QFontMetrics fm(TestFont());
        const int tab = 8 * fm.averageCharWidth();
        QCOMPARE(Measure(u"a\tb"_s, DT_EXPANDTABS).width(), tab + fm.horizontalAdvance(u"b"_s));
        QCOMPARE(Measure(u"\t\tb"_s, DT_EXPANDTABS).width(),
                 2 * tab + fm.horizontalAdvance(u"b"_s));
    }

    void shortensWithEllipsis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<QString>("expected");

        QTest::newRow("end") << u"abcdefghijklmnop"_s << unsigned(DT_END_ELLIPSIS) << u"abc..."_s;
        QTest::newRow("path keeps last part")
            << u"abcdefghijkl/mn"_s << unsigned(DT_PATH_ELLIPSIS) << u"ab.../mn"_s;
    }

    void shortensWithEllipsis()
    {
        QFETCH(QString, text);
        QFETCH(unsigned, format);
        QFETCH(QString, expected);
        const QFontMetrics fm(TestFont());
        const QRect r = Measure(text, format, fm.horizontalAdvance(expected));
        QCOMPARE(r.width(), fm.horizontalAdvance(expected));
    }

    void alignsHorizontallyAndVertically_data()
    {
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<int>("expectedLeft");
        QTest::addColumn<bool>("centredVertically");

        const int width = QFontMetrics(TestFont()).horizontalAdvance(u"\u2588"_s);
        QTest::newRow("left top") << unsigned(DT_LEFT) << 0 << false;
        QTest::newRow("centre") << unsigned(DT_CENTER) << (120 - width) / 2 << false;
        QTest::newRow("right") << unsigned(DT_RIGHT) << 120 - width << false;
        QTest::newRow("vcentre single line") << unsigned(DT_VCENTER | DT_SINGLELINE) << 0 << true;
        QTest::newRow("vcentre ignored without single line") << unsigned(DT_VCENTER) << 0 << false;
    }

    void alignsHorizontallyAndVertically()
    {
        QFETCH(unsigned, format);
        QFETCH(int, expectedLeft);
        QFETCH(bool, centredVertically);
        const QImage image = Render(u"\u2588"_s, format, QRect(0, 0, 120, 60));
        int left = -1;
        for (int x = 0; x < image.width() && left < 0; ++x) {
            if (!InkRows(image, x, x + 1).isEmpty())
                left = x;
        }
        QVERIFY(qAbs(left - expectedLeft) <= 1);
        const QList<int> rows = InkRows(image, 0, 120);
        QVERIFY(!rows.isEmpty());
        const int lineHeight = QFontMetrics(TestFont()).height();
        if (centredVertically)
            QVERIFY(rows.first() >= (60 - lineHeight) / 2);
        else
            QVERIFY(rows.last() < lineHeight);
    }

    void underlinesThePrefixedLetterOnly()
    {
        const QFontMetrics fm(TestFont());
        const int widthOfA = fm.horizontalAdvance(u"A"_s);
        const QImage plain = Render(u"AB"_s, 0, QRect(0, 0, 120, 60));
        const QImage marked = Render(u"A&B"_s, 0, QRect(0, 0, 120, 60));
        const QImage literal = Render(u"A&B"_s, DT_NOPREFIX, QRect(0, 0, 120, 60));
        // The underline adds ink below the baseline under B, none under A.
        QVERIFY(InkRows(marked, widthOfA + 1, 2 * widthOfA).last()
                > InkRows(plain, widthOfA + 1, 2 * widthOfA).last());
        QCOMPARE(InkRows(marked, 0, widthOfA - 1), InkRows(plain, 0, widthOfA - 1));
        QVERIFY(literal != plain);
    }

    void clipsToTheRectangle()
    {
        const QImage image = Render(u"\u2588\u2588\u2588\u2588"_s, 0, QRect(0, 0, 10, 60));
        QVERIFY(InkRows(image, 10, 120).isEmpty());
        QVERIFY(!InkRows(image, 0, 10).isEmpty());
    }

    void findsAccelerators_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("letter") << u"&Save"_s << u"s"_s;
        QTest::newRow("middle") << u"Sa&ve"_s << u"v"_s;
        QTest::newRow("escaped") << u"A&&B"_s << QString();
        QTest::newRow("none") << u"Save"_s << QString();
    }

    void findsAccelerators()
    {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        const QChar c = AcceleratorOf(caption);
        QCOMPARE(c.isNull() ? QString() : QString(c), key);
    }
};

QUILVORO_APP_TEST_MAIN(tst_TextOutput)
#include "tst_TextOutput.moc"
