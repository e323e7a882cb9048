// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/FontComboBox.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// The bytes of an installed face with another foundry (vendor) in its OS/2 table: the same
// family from a second maker, which the font database lists as "Family [Foundry]".
QByteArray WithVendor(const QString& file, const QByteArray& vendor)
{
    QFile font(file);
    if (!font.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = font.readAll();
    const int tables = qFromBigEndian<quint16>(data.constData() + 4);
    for (int i = 0; i < tables; ++i) {
        const char* record = data.constData() + 12 + 16 * i;
        if (QByteArray(record, 4) == "OS/2") {
            constexpr int kVendorOffset = 58;
            data.replace(qFromBigEndian<quint32>(record + 8) + kVendorOffset, 4, vendor);
            return data;
        }
    }
    return {};
}

} // namespace

class tst_FontFamilies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        const QByteArray second =
            WithVendor(u"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"_s, "QTST");
        QVERIFY(!second.isEmpty());
        QVERIFY(QFontDatabase::addApplicationFontFromData(second) >= 0);
    }

    void listsAFamilyOfTwoFoundriesOnceByItsPlainName()
    {
        // the database names the family once per foundry
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.contains(u"DejaVu Sans [QTST]"_s));
        QVERIFY(!families.contains(u"DejaVu Sans"_s));

        TFontComboBox combo;
        QStringList listed;
        for (int i = 0; i < combo.count(); ++i)
            listed << combo.itemText(i);
        QCOMPARE(listed.count(u"DejaVu Sans"_s), 1);
        for (const QString& name : listed)
            QVERIFY2(!name.contains(u" ["_s), qPrintable(name));
        QCOMPARE(TFontComboBox::ScreenFontNames().count(u"DejaVu Sans"_s), 1);

        combo.SetSelectedFont(u"DejaVu Sans"_s);
        QCOMPARE(combo.GetSelectedFont(), u"DejaVu Sans"_s);
        // the plain name finds a face of the family
        const QString resolved = QFontInfo(QFont(combo.GetSelectedFont())).family();
        QCOMPARE(resolved.section(u" ["_s, 0, 0), u"DejaVu Sans"_s);
    }
};

QUILVORO_APP_TEST_MAIN(tst_FontFamilies)
#include "tst_FontFamilies.moc"
