// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ComboTesting.h"
#include "fontchooser/ExampleHint.h"
#include "fontchooser/FontComboBox.h"
#include "fontchooser/FontTypeMarks.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ComboTesting;

Q_DECLARE_METATYPE(TFontComboExampleAlign)

namespace {

constexpr TColor kNavy = 0x00400000;
const QString kWindowsFace = u"ＭＳ Ｐゴシック"_s;

// The font combobox as the main window sets it up.
std::unique_ptr<TFontComboBox> MainWindowCombo()
{
    auto combo = std::make_unique<TFontComboBox>();
    combo->setGeometry(120, 124, 255, 19);
    combo->SetColor(kNavy);
    combo->Font()->SetColor(clWhite);
    combo->Font()->SetHeight(-12);
    combo->Font()->SetName(kWindowsFace);
    combo->SetExampleText(u"Abc"_s);
    return combo;
}

QImage Drawn(TFontComboBox& combo, int index, TOwnerDrawState state, QSize size = {200, 14})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    combo.DrawItem(p, index, QRect(QPoint(0, 0), size), state);
    return image;
}

} // namespace

class tst_FontComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void listsEveryInstalledFaceOnceSorted()
    {
        TFontComboBox combo;
        const QStringList texts = Texts(combo);
        QSet<QString> folded;
        for (const QString& t : texts)
            folded.insert(t.toLower());
        QCOMPARE(folded.size(), texts.size());
        for (int i = 1; i < texts.size(); ++i)
            QVERIFY2(texts[i - 1].compare(texts[i], Qt::CaseInsensitive) <= 0,
                     qPrintable(texts[i]));
        for (const QString& face : {u"DejaVu Sans"_s, u"DejaVu Serif"_s, u"IPAPGothic"_s})
            QVERIFY(texts.contains(face));
        QVERIFY(!texts.contains(u"Sans Serif"_s)); // a generic alias, not a face
        for (int i = 0; i < combo.count(); ++i)
            QCOMPARE(combo.Tag(i),
                     QFontDatabase::isSmoothlyScalable(texts[i]) ? kTrueTypeFontType
                                                                 : kRasterFontType);
        QCOMPARE(combo.Options(), TFontComboBox::kDefaultOptions);
        QCOMPARE(combo.currentIndex(), -1);
    }

    void trueTypeOnlyListsOutlineFacesOnce()
    {
        TFontComboBox combo;
        const QStringList all = Texts(combo);
        combo.SetOptions(combo.Options() | FontCBOption(foTrueTypeOnly)
                         | FontCBOption(foPrinterFonts));
        for (int i = 0; i < combo.count(); ++i)
            QVERIFY(combo.Tag(i) & kTrueTypeFontType);
        QStringList outline;
        for (const QString& face : all) {
            if (QFontDatabase::isSmoothlyScalable(face))
                outline.append(face);
        }
        QCOMPARE(Texts(combo), outline);
    }

    void selectByName_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("changes");
        QTest::newRow("same text")
            << u"DejaVu Serif"_s << u"DejaVu Serif"_s << u"DejaVu Serif"_s << 0;
        QTest::newRow("other case")
            << u"DejaVu Serif"_s << u"dejavu SERIF"_s << u"DejaVu Serif"_s << 1;
        QTest::newRow("other face")
            << u"DejaVu Serif"_s << u"DejaVu Sans"_s << u"DejaVu Sans"_s << 1;
        QTest::newRow("unknown") << u"DejaVu Serif"_s << u"No Such Face"_s << QString() << 1;
        QTest::newRow("empty") << u"DejaVu Serif"_s << QString() << QString() << 1;
        QTest::newRow("substituted Windows face")
            << QString() << kWindowsFace << u"IPAPGothic"_s << 1;
        QTest::newRow("Windows face of the selection")
            << u"IPAPGothic"_s << kWindowsFace << u"IPAPGothic"_s << 1;
        QTest::newRow("stand-in face") << QString() << u"ipapgothic"_s << u"IPAPGothic"_s << 1;
    }
    void selectByName()
    {
        QFETCH(QString, before);
        QFETCH(QString, name);
        QFETCH(QString, selected);
        QFETCH(int, changes);
        TFontComboBox combo;
        combo.SetSelectedFont(before);
        QStringList seen;
        combo.OnChange = [&](QObject* sender) {
            seen.append(static_cast<TFontComboBox*>(sender)->GetSelectedFont());
        };
        combo.SetSelectedFont(name);
        QCOMPARE(combo.GetSelectedFont(), selected);
        QCOMPARE(seen.size(), changes);
        if (changes)
            QCOMPARE(seen.first(), selected); // the handler reads the new selection
        QCOMPARE(combo.currentIndex() == -1, selected.isEmpty());
    }

    void nameAlsoInTheMRUSectionSelectsTheTopEntry()
    {
        TFontComboBox combo;
        combo.SetMRUList(true);
        ChooseWithMouse(combo, int(Texts(combo).indexOf(u"DejaVu Sans"_s)));
        QCOMPARE(combo.MRUCount(), 1);
        combo.SetSelectedFont(u"IPAGothic"_s);
        combo.SetSelectedFont(u"dejavu sans"_s);
        QCOMPARE(combo.currentIndex(), 0);
    }

    void optionChangesKeepTheSelection()
    {
        TFontComboBox combo;
        combo.SetSelectedFont(u"DejaVu Serif"_s);
        int changes = 0;
        combo.OnChange = [&](QObject*) {
            ++changes;
        };
        combo.SetOptions(combo.Options() | FontCBOption(foTrueTypeOnly)
                         | FontCBOption(foDisplayFont));
        QCOMPARE(combo.GetSelectedFont(), u"DejaVu Serif"_s);
        combo.SetFastMode(true);
        QCOMPARE(combo.GetSelectedFont(), u"DejaVu Serif"_s);
        combo.SetFastMode(false);
        QCOMPARE(combo.GetSelectedFont(), u"DejaVu Serif"_s);
        combo.SetOptions(0); // no screen fonts: nothing left to select
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.GetSelectedFont(), QString());
        QVERIFY(changes > 0);
    }

    void fastModeFindsTrueTypeWhenDrawn()
    {
        TFontComboBox combo;
        combo.SetFastMode(true);
        QVERIFY(combo.count() > 0);
        for (int i = 0; i < combo.count(); ++i)
            QCOMPARE(combo.Tag(i), 0);
        const int index = int(Texts(combo).indexOf(u"DejaVu Sans"_s));
        const QImage image = Drawn(combo, index, 0);
        QCOMPARE(combo.Tag(index), kTrueTypeFontType);
        QCOMPARE(combo.Tag(index + 1), 0);
        // the TrueType mark's black T stem (column 9, row 2) is drawn
        QCOMPARE(Pixel(image, 4 + 9, 2 + 2), 0u);
    }

    void itemHeightFromTheLetterW_data()
    {
        QTest::addColumn<int>("wHeight");
        QTest::addColumn<int>("itemHeight");
        QTest::newRow("12 px") << 12 << 13;
        QTest::newRow("10 px") << 10 << 11;
        QTest::newRow("9 px") << 9 << 10;
        QTest::newRow("8 px") << 8 << 10;
        QTest::newRow("not measured") << 0 << 10;
    }
    void itemHeightFromTheLetterW()
    {
        QFETCH(int, wHeight);
        QFETCH(int, itemHeight);
        QCOMPARE(TFontComboBox::ItemHeightFor(wHeight), itemHeight);
    }

    void itemHeightFollowsTheControlFont()
    {
        auto combo = MainWindowCombo();
        const int small = combo->ItemHeight();
        QVERIFY(small >= 13 && small <= 15);
        combo->Font()->SetHeight(-30);
        QVERIFY(combo->ItemHeight() > 30);
        QCOMPARE(combo->view()->sizeHintForRow(0), combo->ItemHeight());
    }

    void marksMatchTheBitmapTable_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<int>("columns");
        QTest::newRow("TrueType") << kTrueTypeFontType << 0 << 14;
        QTest::newRow("device") << kDeviceFontType << 15 << 13;
        QTest::newRow("TrueType wins") << (kTrueTypeFontType | kDeviceFontType) << 0 << 14;
        QTest::newRow("raster") << kRasterFontType << 0 << 0;
    }
    void marksMatchTheBitmapTable()
    {
        QFETCH(int, tag);
        QFETCH(int, firstColumn);
        QFETCH(int, columns);
        auto combo = MainWindowCombo();
        combo->SetTag(0, tag);
        const QImage image = Drawn(*combo, 0, 0);
        const QImage& marks = FontTypeMarks::Bitmap();
        const QRgb navy = ColorToPixel(kNavy);
        // an 18-pixel box 2 pixels in from the item's left, the mark centred in it
        const int left = 2 + (18 - columns) / 2;
        const int top = (14 - FontTypeMarks::kHeight) / 2;
        for (int y = 0; y < 14; ++y) {
            for (int x = 0; x < 22; ++x) {
                QRgb expected = navy;
                const int column = firstColumn + x - left;
                if (columns && x >= left && x < left + columns && y >= top
                    && y < top + FontTypeMarks::kHeight
                    && FontTypeMarks::kRows[y - top][column] != '3')
                    expected = marks.pixel(column, y - top) & 0xFFFFFF;
                QVERIFY2(Pixel(image, x, y) == expected, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
            }
        }
    }

    void markTableColours()
    {
        const QImage& marks = FontTypeMarks::Bitmap();
        QCOMPARE(marks.size(), QSize(28, 10));
        QCOMPARE(Pixel(marks, 0, 9), 0x808000u); // the key colour, dark yellow
        QCOMPARE(Pixel(marks, 1, 0), 0x808080u);
        QCOMPARE(Pixel(marks, 23, 8), 0xFF0000u); // the printer's red lamp
        QCOMPARE(Pixel(marks, 20, 1), 0xFFFFFFu);
        QCOMPARE(Pixel(marks, 17, 7), 0xC0C0C0u);
        QCOMPARE(FontTypeMarks::Masked().pixel(14, 5), 0u);
    }

    void entryColours_data()
    {
        QTest::addColumn<unsigned>("state");
        QTest::addColumn<TColor>("fill");
        QTest::addColumn<TColor>("text");
        QTest::newRow("normal") << 0u << kNavy << clWhite;
        QTest::newRow("selected") << unsigned(odSelected) << clHighlight << clHighlightText;
        QTest::newRow("disabled") << unsigned(odDisabled) << kNavy << clInactiveCaption;
    }
    void entryColours()
    {
        QFETCH(unsigned, state);
        QFETCH(TColor, fill);
        QFETCH(TColor, text);
        auto combo = MainWindowCombo();
        combo->SetOptions(FontCBOption(foScreenFonts)); // no mark: only fill and text
        const int index = int(Texts(*combo).indexOf(u"DejaVu Sans"_s));
        const QImage image = Drawn(*combo, index, state);
        QCOMPARE(Pixel(image, 1, 7), ColorToPixel(fill));
        QCOMPARE(Pixel(image, 199, 13), ColorToPixel(fill));
        // the text starts 3 pixels in; its strongest (least blended) pixel is the text colour
        const QColor back = ToQColor(fill);
        QColor strongest = back;
        auto distance = [&](const QColor& c) {
            return std::abs(c.red() - back.red()) + std::abs(c.green() - back.green())
                + std::abs(c.blue() - back.blue());
        };
        for (int y = 0; y < 14; ++y) {
            for (int x = 3; x < 100; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (distance(c) > distance(strongest))
                    strongest = c;
            }
        }
        const QColor want = ToQColor(text);
        QVERIFY2(std::abs(strongest.red() - want.red()) <= 24
                     && std::abs(strongest.green() - want.green()) <= 24
                     && std::abs(strongest.blue() - want.blue()) <= 24,
                 qPrintable(strongest.name()));
    }

    void closedFieldFaceFollowsDisplaySelectedFont()
    {
        auto combo = MainWindowCombo();
        combo->SetSelectedFont(u"DejaVu Sans Mono"_s);
        const int index = combo->currentIndex();
        combo->SetOptions(FontCBOption(foScreenFonts));
        const QImage ownFont = Drawn(*combo, index, odComboBoxEdit);
        combo->SetOptions(FontCBOption(foScreenFonts) | FontCBOption(foDisplayFont)
                          | FontCBOption(foDisplaySelectedFont));
        const QImage entryFont = Drawn(*combo, index, odComboBoxEdit);
        QVERIFY(entryFont != ownFont);
        combo->SetOptions(FontCBOption(foScreenFonts) | FontCBOption(foDisplayFont));
        QCOMPARE(Drawn(*combo, index, odComboBoxEdit), ownFont);
        QCOMPARE(Drawn(*combo, index, 0), entryFont); // the open list keeps the entry's face
    }

    void examplePopupPlacement_data()
    {
        QTest::addColumn<TFontComboExampleAlign>("align");
        QTest::addColumn<int>("dropDownWidth");
        QTest::addColumn<QPoint>("anchor");
        QTest::newRow("beside the combobox") << eaComboBox << 400 << QPoint(255, 0);
        QTest::newRow("beside the list") << eaDropDownList << 0 << QPoint(255, 19);
        QTest::newRow("narrow list") << eaDropDownList << 100 << QPoint(255, 19);
        QTest::newRow("wide list") << eaDropDownList << 400 << QPoint(400, 19);
    }
    void examplePopupPlacement()
    {
        QFETCH(TFontComboExampleAlign, align);
        QFETCH(int, dropDownWidth);
        QFETCH(QPoint, anchor);
        auto combo = MainWindowCombo();
        combo->SetShowExample(true);
        combo->SetExampleAlign(align);
        combo->SetDropDownWidth(dropDownWidth);
        combo->SetSelectedFont(u"DejaVu Serif"_s);
        combo->show();
        QCOMPARE(combo->ExampleAnchor(), anchor);
        combo->showPopup();
        TExampleHint* hint = combo->ExamplePopup();
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->pos(), combo->mapToGlobal(anchor));
        QCOMPARE(hint->Text(), u"Abc"_s);
        QCOMPARE(hint->SampleFont().family(), u"DejaVu Serif"_s);
        QCOMPARE(hint->SampleFont().pixelSize(), 16); // 12 points
        QVERIFY(hint->width() <= 206);
        // a plain hint window: 4 pixels taller than its own measurement of the text
        const QRect measured = hint->CalcHintRect(200, u"Abc"_s);
        QCOMPARE(hint->size(), QSize(measured.width(), measured.height() + 4));
        QCOMPARE(measured.height(), QFontMetrics(hint->CanvasFont().ToQFont()).height() + 2);
    }

    // The popup shows the face of the entry highlighted in the open list, however the
    // highlight moves.
    void examplePopupFollowsTheHighlight_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("steps");
        QTest::newRow("arrow down") << u"down"_s << 1;
        QTest::newRow("arrow down twice") << u"down"_s << 2;
        QTest::newRow("arrow up") << u"up"_s << -1;
        QTest::newRow("mouse over the next entry") << u"mouse"_s << 1;
        QTest::newRow("mouse over an entry further down") << u"mouse"_s << 3;
    }
    void examplePopupFollowsTheHighlight()
    {
        QFETCH(QString, how);
        QFETCH(int, steps);
        auto combo = MainWindowCombo();
        combo->SetShowExample(true);
        combo->SetSelectedFont(u"DejaVu Sans Mono"_s);
        const int start = combo->currentIndex();
        combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(combo.get()));
        combo->showPopup();
        TExampleHint* hint = combo->ExamplePopup();
        QCOMPARE(hint->SampleFont().family(), u"DejaVu Sans Mono"_s);
        QAbstractItemView* view = combo->view();
        const int target = start + steps;
        if (how == u"mouse") {
            const QPoint at = view->visualRect(view->model()->index(target, 0)).center();
            QTest::mouseMove(view->viewport(), at);
        } else {
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::keyClick(view, how == u"down" ? Qt::Key_Down : Qt::Key_Up);
        }
        QCOMPARE(view->currentIndex().row(), target);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->SampleFont().family(), combo->itemText(target));
        QCOMPARE(combo->currentIndex(), start); // only highlighted, not chosen
    }

    void examplePopupHidesWhenTheListCloses_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::newRow("choice") << true;
        QTest::newRow("cancelled") << false;
    }
    void examplePopupHidesWhenTheListCloses()
    {
        QFETCH(bool, choose);
        auto combo = MainWindowCombo();
        combo->SetShowExample(true);
        combo->SetSelectedFont(u"DejaVu Serif"_s);
        combo->show();
        if (choose) {
            ChooseWithMouse(*combo, 0);
            QCOMPARE(combo->currentIndex(), 0);
        } else {
            combo->showPopup();
            QVERIFY(combo->ExamplePopup()->isVisible());
            QTest::keyClick(combo->view(), Qt::Key_Escape);
            QCOMPARE(combo->GetSelectedFont(), u"DejaVu Serif"_s);
        }
        QVERIFY(!combo->DroppedDown());
        QVERIFY(!combo->ExamplePopup()->isVisible());
    }

    void installedFontsChangeRebuildsAndKeepsTheSelection()
    {
        TFontComboBox combo;
        combo.SetMRUList(true);
        ChooseWithMouse(combo, int(Texts(combo).indexOf(u"IPAGothic"_s)));
        QCOMPARE(combo.MRUCount(), 1);
        QString seen;
        combo.OnChange = [&](QObject*) {
            seen = combo.GetSelectedFont();
        };
        Q_EMIT qGuiApp->fontDatabaseChanged();
        QCOMPARE(combo.MRUCount(), 0);
        QCOMPARE(combo.GetSelectedFont(), u"IPAGothic"_s);
        QCOMPARE(Texts(combo).count(u"IPAGothic"_s), 1);
        QCOMPARE(seen, u"IPAGothic"_s);
    }
};

QUILVORO_APP_TEST_MAIN(tst_FontComboBox)
#include "tst_FontComboBox.moc"
