// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FontInfo.h"
#include "support/AppTestMain.h"

#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A one-glyph bitmap face, written out so the test needs no font file of its own.
QByteArray BitmapFace(const QByteArray& family)
{
    QByteArray bdf = "STARTFONT 2.1\n"
                     "FONT -misc-"
        + family
        + "-medium-r-normal--16-160-75-75-c-80-iso10646-1\n"
          "SIZE 16 75 75\n"
          "FONTBOUNDINGBOX 8 16 0 -4\n"
          "STARTPROPERTIES 6\n"
          "FAMILY_NAME \""
        + family
        + "\"\n"
          "FONT_ASCENT 12\n"
          "FONT_DESCENT 4\n"
          "CHARSET_REGISTRY \"ISO10646\"\n"
          "CHARSET_ENCODING \"1\"\n"
          "DEFAULT_CHAR 65\n"
          "ENDPROPERTIES\n"
          "CHARS 1\n"
          "STARTCHAR A\n"
          "ENCODING 65\n"
          "SWIDTH 500 0\n"
          "DWIDTH 8 0\n"
          "BBX 8 16 0 -4\n"
          "BITMAP\n";
    for (int row = 0; row < 16; ++row)
        bdf += "18\n";
    return bdf + "ENDCHAR\nENDFONT\n";
}

} // namespace

class tst_FontInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outlineFacesAreTrueTypeAtEverySize_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::newRow("DejaVu Sans 12") << u"DejaVu Sans"_s << 12;
        QTest::newRow("DejaVu Sans 53") << u"DejaVu Sans"_s << 53;
        QTest::newRow("IPAPGothic 200") << u"IPAPGothic"_s << 200;
    }
    void outlineFacesAreTrueTypeAtEverySize()
    {
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QVERIFY(FontInfo::IsTrueType(FontInfo::MakeFont(family, pixels)));
    }

    // The answer is kept per face; a name that the installed fonts now resolve elsewhere must
    // be asked again.
    void installedFontsChangingForgetsTheAnswers()
    {
        const QString family = u"QuilvoroBitmapFace"_s;
        const QFont font = FontInfo::MakeFont(family, 16);
        // Not installed: the name falls back to an outline face.
        QVERIFY(FontInfo::IsTrueType(font));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"face.bdf"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BitmapFace(family.toLatin1()));
        file.close();
        const int id = QFontDatabase::addApplicationFont(path);
        QVERIFY(id >= 0);
        QVERIFY(!FontInfo::IsTrueType(font));
        QFontDatabase::removeApplicationFont(id);
    }
};

QUILVORO_APP_TEST_MAIN(tst_FontInfo)
#include "tst_FontInfo.moc"
