// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/NewHint.h"
#include "framework/TApplication.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QPointer>
#include <QTest>

#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(THintStyle)

namespace {

const QString kText = u" 文字ノ色ヲ選択 colour"_s;
constexpr TColor kShadowGrey = 0x004F4F4F;

TApplication& App()
{
    return *TApplication::Instance();
}

// The hint component as the main window sets it up.
std::unique_ptr<TAppHint> MainWindowHint()
{
    auto hint = std::make_unique<TAppHint>();
    hint->SetBGColor(clBlack);
    hint->Brush()->SetColor(clNavy);
    TFont font;
    font.SetName(u"ＭＳ Ｐゴシック"_s);
    font.SetHeight(-16);
    font.SetColor(clWhite);
    hint->SetFont(font);
    hint->SetHintPause(500);
    hint->SetHintHidePause(2500);
    hint->SetHintShortPause(0);
    hint->SetHintStyle(hsRoundRect);
    hint->Pen()->SetColor(clBlue);
    hint->SetShadowColor(kShadowGrey);
    hint->SetShadowVisible(true);
    hint->Loaded();
    return hint;
}

THintEx* CurrentWindow()
{
    return dynamic_cast<THintEx*>(App().HintWindow());
}

// Shows `text` in the application's hint window the way the application does.
THintEx* Activate(const QString& text = kText, QPoint at = QPoint(100, 100))
{
    THintEx* window = CurrentWindow();
    if (!window)
        return nullptr;
    window->ActivateHint(window->CalcHintRect(1000, text).translated(at), text);
    return window;
}

// What the screen shows of the window: its painting, cut by its shape, over nothing.
QImage Seen(THintWindow* window)
{
    QImage painted(window->size(), QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    QPainter painter(&painted);
    window->PaintTo(painter);
    painter.end();
    QImage seen(window->size(), QImage::Format_ARGB32_Premultiplied);
    seen.fill(Qt::transparent);
    QPainter cut(&seen);
    if (!window->mask().isEmpty())
        cut.setClipRegion(window->mask());
    cut.drawImage(0, 0, painted);
    return seen;
}

QRgb Rgb(TColor color)
{
    return ToQColor(color).rgb();
}

int CountPixels(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y));
    return count;
}

// The first row holding a pixel of exactly `color`, or -1.
int FirstRowOf(const QImage& image, QRgb color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                return y;
    return -1;
}

// The last row holding a pixel of exactly `color`, or -1.
int LastRowOf(const QImage& image, QRgb color)
{
    return image.height() - 1 - FirstRowOf(image.mirrored(false, true), color);
}

} // namespace

class tst_NewHint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void installsItsWindowAndIsTheOneCurrentInstance()
    {
        TAppHint first;
        QCOMPARE(TAppHint::Current(), &first);
        QVERIFY(CurrentWindow());
        QCOMPARE(first.Brush()->Color(), clNavy);
        QCOMPARE(first.Font()->Color(), clLime);
        QCOMPARE(first.ShadowColor(), clBlue);
        QCOMPARE(first.HintStyle(), hsFukidashi);
        {
            // At run time a second one simply takes over...
            TAppHint second;
            QCOMPARE(TAppHint::Current(), &second);
        }
        // ...and leaves none behind.
        QCOMPARE(TAppHint::Current(), nullptr);
    }

    void withoutCurrentInstanceTheWindowShapesAndPaintsNothing()
    {
        auto hint = MainWindowHint();
        hint.reset();
        QCOMPARE(TAppHint::Current(), nullptr);
        App().SetShowHint(false);
        App().SetShowHint(true);
        THintEx* window = Activate();
        QVERIFY(window); // the class stays THintEx
        QVERIFY(window->WindowRegion().isEmpty());
        QCOMPARE(CountPixels(Seen(window), [](QRgb p) { return qAlpha(p) != 0; }), 0);
    }

    void secondInstanceAtDesignTimeIsRefused()
    {
        TestDialogs dialogs;
        TAppHint first;
        TestEnvironment::PlayedSounds().clear();
        TApplication::RunGuarded([]() -> int {
            TAppHint second(nullptr, true);
            return 0;
        });
        QCOMPARE(TAppHint::Current(), &first);
        QCOMPARE(TestEnvironment::PlayedSounds(), QStringList(u"beep:48"_s));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, u"TAppHint コンポーネントは一つしか作成できません。."_s);
        QCOMPARE(dialogs.messages[0].flags & 0xF0, unsigned(MB_ICONERROR));
    }

    void windowSizeAndShapePerStyle_data()
    {
        QTest::addColumn<THintStyle>("style");
        QTest::addColumn<QSize>("grown");
        QTest::addColumn<QList<QPoint>>("inside"); // negative: from the right or bottom edge
        QTest::addColumn<QList<QPoint>>("outside");
        QTest::newRow("balloon") << hsFukidashi << QSize(0, 9)
                                 << QList<QPoint> {{13, 2}, {10, 8}, {0, 9}, {-1, -1}, {-1, 9}}
                                 << QList<QPoint> {{0, 0}, {0, 8}, {15, 3}, {-1, 8}};
        QTest::newRow("round rect") << hsRoundRect << QSize(0, 0)
                                    << QList<QPoint> {{20, 0}, {0, 8}, {-1, 8}, {20, -1}, {2, 1}}
                                    << QList<QPoint> {{0, 0}, {-1, 0}, {0, -1}, {-1, -1}};
        QTest::newRow("line string")
            << hsLineString << QSize(21, 12) << QList<QPoint> {{1, 1}, {-2, -2}, {1, -2}}
            << QList<QPoint> {{0, 5}, {5, 0}, {-1, 5}, {5, -1}};
        QTest::newRow("owner draw")
            << hsOwnerDraw << QSize(0, 0) << QList<QPoint> {} << QList<QPoint> {};
    }

    void windowSizeAndShapePerStyle()
    {
        QFETCH(THintStyle, style);
        QFETCH(QSize, grown);
        QFETCH(QList<QPoint>, inside);
        QFETCH(QList<QPoint>, outside);
        auto hint = MainWindowHint();
        hint->SetHintStyle(style);
        THintEx* window = CurrentWindow();
        const QRect measured = window->CalcHintRect(1000, kText);
        Activate();
        const QSize shaped = measured.size() + grown;
        // The framework shows 4 more rows than the rectangle it is given.
        QCOMPARE(window->size(), shaped + QSize(0, 4));
        const QRegion region = window->WindowRegion();
        if (style == hsOwnerDraw) {
            QVERIFY(region.isEmpty());
            return;
        }
        QCOMPARE(window->mask(), region);
        QVERIFY(region.boundingRect().bottom() < shaped.height()); // those rows stay hidden
        auto at = [&](QPoint p) {
            return QPoint(p.x() < 0 ? shaped.width() + p.x() : p.x(),
                          p.y() < 0 ? shaped.height() + p.y() : p.y());
        };
        for (const QPoint& p : inside)
            QVERIFY2(region.contains(at(p)), qPrintable(u"%1,%2"_s.arg(p.x()).arg(p.y())));
        for (const QPoint& p : outside)
            QVERIFY2(!region.contains(at(p)), qPrintable(u"%1,%2"_s.arg(p.x()).arg(p.y())));
    }

    void balloonIsNinePixelsTallerWithTextEightLower()
    {
        auto hint = MainWindowHint();
        hint->SetShadowVisible(false);
        hint->Font()->SetColor(clYellow);
        THintEx* round = Activate();
        const QSize roundSize = round->size();
        // The balloon's top edge crosses the text's first row, so compare the last rows.
        const int roundBottom = LastRowOf(Seen(round), Rgb(clYellow));

        hint->SetHintStyle(hsFukidashi);
        THintEx* balloon = Activate();
        QCOMPARE(balloon->height(), roundSize.height() + 9);
        QCOMPARE(balloon->width(), roundSize.width());
        const int balloonBottom = LastRowOf(Seen(balloon), Rgb(clYellow));
        QVERIFY(roundBottom > 0);
        QCOMPARE(balloonBottom - roundBottom, 8);
    }

    void mainWindowLookIsNavyBoxBlueOutlineWhiteTextGreyShadow()
    {
        auto hint = MainWindowHint();
        THintEx* window = Activate();
        const QImage seen = Seen(window);
        const int w = window->width();
        const int h = window->height() - 4;
        QCOMPARE(qAlpha(seen.pixel(0, 0)), 0); // cut corner
        QCOMPARE(qAlpha(seen.pixel(w / 2, h)), 0); // the hidden extra rows
        for (const QPoint& p :
             {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, h - 1)})
            QCOMPARE(seen.pixel(p), Rgb(clBlue));
        // The right margin holds neither text nor shadow.
        QCOMPARE(seen.pixel(w - 3, h / 2), Rgb(clNavy));
        QVERIFY(CountPixels(seen, [](QRgb p) { return p == Rgb(clWhite); }) > 20);
        QVERIFY(CountPixels(seen, [](QRgb p) { return p == Rgb(kShadowGrey); }) > 5);
    }

    void lineStringIsTextWithHaloAndLeaderLineOnly()
    {
        auto hint = MainWindowHint();
        hint->SetHintStyle(hsLineString);
        THintEx* window = Activate();
        const QImage seen = Seen(window);
        const int w = window->width();
        const int h = window->height() - 4;
        // No box: inside the shape, away from text and line, the screen shows through.
        QCOMPARE(qAlpha(seen.pixel(w - 3, 3)), 0);
        QCOMPARE(qAlpha(seen.pixel(5, h / 2 + 4)), 0);
        // The leader line: from the top-left corner down to 2 above the bottom, then along it.
        QCOMPARE(seen.pixel(1, 1), Rgb(clBlue));
        QCOMPARE(seen.pixel(17, h - 2), Rgb(clBlue));
        for (int x = 18; x < w - 1; x += 7)
            QCOMPARE(seen.pixel(x, h - 2), Rgb(clBlue));
        QVERIFY(CountPixels(seen, [](QRgb p) { return p == Rgb(clWhite); }) > 20);
        QVERIFY(CountPixels(seen, [](QRgb p) { return p == Rgb(kShadowGrey); }) > 5);
        // The halo reaches one row above the text.
        const int textTop = FirstRowOf(seen, Rgb(clWhite));
        QVERIFY(textTop > FirstRowOf(seen, Rgb(kShadowGrey)));
    }

    // The same shapes, worked out without a window or a font.
    void shapeForStyle_data() { windowSizeAndShapePerStyle_data(); }
    void shapeForStyle()
    {
        QFETCH(THintStyle, style);
        QFETCH(QSize, grown);
        QFETCH(QList<QPoint>, inside);
        QFETCH(QList<QPoint>, outside);
        const QSize given(150, 20);
        const std::optional<THintEx::TShape> shape = THintEx::ShapeFor(style, given);
        if (style == hsOwnerDraw) {
            QVERIFY(!shape);
            return;
        }
        QVERIFY(shape);
        const QSize shaped = given + grown;
        QCOMPARE(shape->Size, shaped);
        auto at = [&](QPoint p) {
            return QPoint(p.x() < 0 ? shaped.width() + p.x() : p.x(),
                          p.y() < 0 ? shaped.height() + p.y() : p.y());
        };
        for (const QPoint& p : inside)
            QVERIFY2(shape->Region.contains(at(p)), qPrintable(u"%1,%2"_s.arg(p.x()).arg(p.y())));
        for (const QPoint& p : outside)
            QVERIFY2(!shape->Region.contains(at(p)), qPrintable(u"%1,%2"_s.arg(p.x()).arg(p.y())));
        if (style == hsFukidashi) {
            // The outline runs from the tab's tip round the box's last row and column.
            QCOMPARE(shape->Balloon.front(), QPoint(14, 0));
            QCOMPARE(shape->Balloon[4], at({-1, -1}));
        }
    }

    void noShadowWhenShadowIsOff_data()
    {
        QTest::addColumn<THintStyle>("style");
        QTest::newRow("balloon") << hsFukidashi;
        QTest::newRow("round rect") << hsRoundRect;
        QTest::newRow("line string") << hsLineString;
    }

    void noShadowWhenShadowIsOff()
    {
        QFETCH(THintStyle, style);
        auto hint = MainWindowHint();
        hint->SetHintStyle(style);
        hint->SetShadowColor(clRed);
        auto reddish = [](QRgb p) {
            return qAlpha(p) > 0 && qRed(p) > qGreen(p) + 60;
        };
        QVERIFY(CountPixels(Seen(Activate()), reddish) > 5);
        hint->SetShadowVisible(false);
        QCOMPARE(CountPixels(Seen(Activate()), reddish), 0);
    }

    void ownerDrawHandsTheCanvasToOnPaint()
    {
        auto hint = MainWindowHint();
        hint->SetHintStyle(hsOwnerDraw);
        QString text;
        QSize size;
        hint->OnPaint = [&](const QString& hintStr, QPainter* canvas, int width, int height) {
            text = hintStr;
            size = QSize(width, height);
            // The canvas comes with the hint's pen and an opaque navy text background.
            QCOMPARE(canvas->pen().color(), QColor(Qt::blue));
            QCOMPARE(canvas->backgroundMode(), Qt::OpaqueMode);
            QCOMPARE(canvas->background().color(), ToQColor(clNavy));
            canvas->fillRect(0, 0, width, height, Qt::green);
        };
        THintEx* window = Activate();
        const QImage seen = Seen(window);
        QCOMPARE(text, kText);
        QCOMPARE(size, window->size());
        // Without a region the extra rows show too.
        QCOMPARE(seen.pixel(2, window->height() - 1), QColor(Qt::green).rgb());
    }

    void styleOrFontChangeReachesTheNextHintOnly()
    {
        auto hint = MainWindowHint();
        QWidget form;
        form.setGeometry(100, 100, 200, 100);
        auto* a = new QWidget(&form);
        a->setGeometry(0, 0, 100, 100);
        a->setToolTip(kText);
        auto* b = new QWidget(&form);
        b->setGeometry(100, 0, 100, 100);
        b->setToolTip(kText);
        form.show();
        auto showOver = [&](QWidget* control) {
            App().HintMouseMessage(control, control->mapToGlobal(QPoint(50, 50)));
            App().HintTimerExpired();
            return CurrentWindow();
        };

        QPointer<THintEx> shown = showOver(a);
        const QRect shownGeometry = shown->geometry();
        hint->Font()->SetHeight(-24);
        QVERIFY(CurrentWindow() != shown);
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->geometry(), shownGeometry);
        QVERIFY(showOver(b)->height() > shownGeometry.height());
        QVERIFY(!shown); // its hint is gone, and so is it

        QPointer<THintEx> round = CurrentWindow();
        const int roundHeight = round->height();
        hint->SetHintStyle(hsFukidashi);
        QVERIFY(round && round->isVisible());
        QCOMPARE(round->height(), roundHeight);
        QCOMPARE(showOver(a)->height(), roundHeight + 9);
        QVERIFY(!round);

        // Setting the same style again makes no new window.
        THintEx* current = CurrentWindow();
        hint->SetHintStyle(hsFukidashi);
        QCOMPARE(CurrentWindow(), current);
        App().CancelHint();
    }

    void pausesAreTheApplications()
    {
        auto hint = MainWindowHint();
        QCOMPARE(App().HintPause(), 500);
        QCOMPARE(App().HintHidePause(), 2500);
        QCOMPARE(App().HintShortPause(), 0);
        hint->SetHintPause(321);
        hint->SetHintHidePause(4321);
        hint->SetHintShortPause(21);
        QCOMPARE(App().HintPause(), 321);
        QCOMPARE(App().HintHidePause(), 4321);
        QCOMPARE(App().HintShortPause(), 21);
        App().SetHintPause(77);
        App().SetHintHidePause(777);
        App().SetHintShortPause(7);
        QCOMPARE(hint->HintPause(), 77);
        QCOMPARE(hint->HintHidePause(), 777);
        QCOMPARE(hint->HintShortPause(), 7);
    }

    void everyHintShowsEightPixelsHigher()
    {
        QWidget form;
        form.setGeometry(200, 200, 200, 100);
        form.setToolTip(u" 保存"_s);
        form.show();
        const QPoint cursor(260, 240);
        auto shownAt = [&] {
            App().CancelHint();
            App().HintMouseMessage(&form, cursor);
            App().HintTimerExpired();
            return App().HintWindow()->pos();
        };
        App().OnShowHint = nullptr;
        const QPoint framework = shownAt();
        QCOMPARE(framework, cursor + QPoint(0, TApplication::kCursorHeightMargin));

        auto hint = MainWindowHint();
        QPoint passed;
        hint->OnShowHint = [&](QString& text, bool&, THintInfo& info) {
            passed = info.HintPos;
            text = u"changed"_s;
        };
        QCOMPARE(shownAt(), framework - QPoint(0, 8));
        QCOMPARE(passed, framework - QPoint(0, 8));
        QCOMPARE(App().HintWindow()->Caption(), u"changed"_s);

        // The application outlives the component: its events then leave hints alone.
        hint.reset();
        QCOMPARE(shownAt(), framework);
        App().CancelHint();
    }
};

QUILVORO_APP_TEST_MAIN(tst_NewHint)
#include "tst_NewHint.moc"
