// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/NewHint.h"

#include "platform/Property.h"
#include "platform/Sound.h"
#include "platform/TextOutput.h"

#include <QBitmap>
#include <QPainter>
#include <QPolygon>

#include <stdexcept>

namespace {

TAppHint* g_current = nullptr;

// Corner ellipses of the rounded shape are 8 x 8 pixels.
constexpr qreal kCornerRadius = 4;

// The rounded rectangle outlined from (0, 0) to (w - 1, h - 1) by a one-pixel pen, filled.
void DrawRoundRect(QPainter& painter, int w, int h)
{
    painter.drawRoundedRect(QRect(0, 0, w - 1, h - 1), kCornerRadius, kCornerRadius);
}

// The window shape of hsRoundRect: exactly the pixels on and inside the outline Paint draws,
// so the outline is never cut and nothing shows outside it.
QRegion RoundRectRegion(int w, int h)
{
    if (w <= 0 || h <= 0)
        return QRegion();
    QBitmap bits(w, h);
    bits.fill(Qt::color0);
    QPainter painter(&bits);
    painter.setPen(QPen(Qt::color1, 0));
    painter.setBrush(Qt::color1);
    DrawRoundRect(painter, w, h);
    painter.end();
    return QRegion(bits);
}

// Behind a solid brush the gaps of a dashed pen take its colour; otherwise they stay clear.
void SetInks(QPainter& canvas, const QBrush& brush, const QPen& pen, const QColor& background)
{
    canvas.setBrush(brush);
    if (brush.style() == Qt::SolidPattern) {
        canvas.setBackground(brush.color());
        canvas.setBackgroundMode(Qt::OpaqueMode);
    } else {
        canvas.setBackground(background);
        canvas.setBackgroundMode(Qt::TransparentMode);
    }
    canvas.setPen(pen);
}

} // namespace

QPen THintPen::ToQPen() const
{
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                               Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    const Qt::PenStyle style = FStyle <= psClear ? kStyles[FStyle] : Qt::SolidLine;
    // Width 0 is Qt's one-pixel cosmetic pen, as widths 0 and 1 both are here.
    QPen pen(ToQColor(FColor), FWidth > 1 ? FWidth : 0, style, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

QBrush THintBrush::ToQBrush() const
{
    static constexpr Qt::BrushStyle kStyles[] = {
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
    };
    const Qt::BrushStyle style = FStyle <= bsDiagCross ? kStyles[FStyle] : Qt::SolidPattern;
    return QBrush(ToQColor(FColor), style);
}

TAppHint::TAppHint(QObject* owner, bool designing)
    : QObject(owner)
    , FDesigning(designing)
    , FBrush(std::make_unique<THintBrush>())
    , FFont(std::make_unique<TFont>())
    , FPen(std::make_unique<THintPen>())
{
    FBrush->SetColor(clNavy);
    FFont->SetColor(clLime);
    FFont->OnChange = [this] {
        FontChange();
    };
    if (FDesigning) {
        if (g_current) {
            Sound::MessageBeep(Sound::MB_ICONEXCLAMATION);
            throw std::runtime_error("TAppHint コンポーネントは一つしか作成できません。");
        }
        g_current = this;
        return;
    }
    InstallHintWindow();
    g_current = this;
}

TAppHint::~TAppHint()
{
    // The font's change handler must not reach a half-destroyed component.
    FFont->OnChange = nullptr;
    if (g_current == this)
        g_current = nullptr;
}

TAppHint* TAppHint::Current()
{
    return g_current;
}

void TAppHint::InstallHintWindow()
{
    TApplication* app = TApplication::Instance();
    if (!app)
        return;
    app->SetHintWindowClass([] { return new THintEx; });
    // Switching hints off and on makes the application's hint window anew, as a THintEx.
    app->SetShowHint(false);
    app->SetShowHint(true);
}

void TAppHint::Loaded()
{
    if (FDesigning)
        return;
    InstallHintWindow();
    TApplication* app = TApplication::Instance();
    if (!app)
        return;
    // The application may outlive this component: its events then do nothing.
    const QPointer<TAppHint> self(this);
    app->OnHint = [self](QObject* sender) {
        if (self)
            self->DoHint(sender);
    };
    app->OnShowHint = [self](QString& hintStr, bool& canShow, THintInfo& hintInfo) {
        if (self)
            self->ShowHint(hintStr, canShow, hintInfo);
    };
}

void TAppHint::SetFont(const TFont& value)
{
    FFont->Assign(value);
}

void TAppHint::SetHintStyle(THintStyle value)
{
    if (!StoreIfChanged(FHintStyle, value))
        return;
    if (!FDesigning)
        InstallHintWindow();
}

void TAppHint::FontChange()
{
    if (!FDesigning)
        InstallHintWindow();
}

namespace {

// The pauses live in the application; without one they read as 0 and writes go nowhere.
int ReadPause(int (TApplication::*getter)() const)
{
    const TApplication* app = TApplication::Instance();
    return app ? (app->*getter)() : 0;
}

void WritePause(void (TApplication::*setter)(int), int pause)
{
    if (TApplication* app = TApplication::Instance())
        (app->*setter)(pause);
}

} // namespace

int TAppHint::HintPause() const
{
    return ReadPause(&TApplication::HintPause);
}
void TAppHint::SetHintPause(int value)
{
    WritePause(&TApplication::SetHintPause, value);
}
int TAppHint::HintHidePause() const
{
    return ReadPause(&TApplication::HintHidePause);
}
void TAppHint::SetHintHidePause(int value)
{
    WritePause(&TApplication::SetHintHidePause, value);
}
int TAppHint::HintShortPause() const
{
    return ReadPause(&TApplication::HintShortPause);
}
void TAppHint::SetHintShortPause(int value)
{
    WritePause(&TApplication::SetHintShortPause, value);
}

void TAppHint::DoHint(QObject* Sender)
{
    if (OnHint)
        OnHint(Sender);
}

void TAppHint::ShowHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    HintInfo.HintPos.ry() -= 8;
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, HintInfo);
}

THintEx::THintEx(QWidget* parent)
    : THintWindow(parent)
{
    // The framework measures hint text in the canvas font.
    if (const TAppHint* hint = TAppHint::Current())
        CanvasFont().Assign(*hint->Font());
}

void THintEx::ActivateHint(QRect rect, const QString& hint)
{
    if (!FRegion.isEmpty() && internalWinId()) {
        clearMask();
        FRegion = QRegion();
    }
    winId();
    if (const TAppHint* appHint = TAppHint::Current()) {
        if (const std::optional<TShape> shape = ShapeFor(appHint->HintStyle(), rect.size())) {
            rect.setSize(shape->Size);
            FSavedRect = rect;
            FRegion = shape->Region;
            FBalloon = shape->Balloon;
        }
    }
    // The region leaves out the 4 extra rows the framework adds below the rectangle.
    if (!FRegion.isEmpty())
        setMask(FRegion);
    else
        clearMask();
    THintWindow::ActivateHint(rect, hint);
}

std::optional<THintEx::TShape> THintEx::ShapeFor(THintStyle Style, QSize Size)
{
    TShape shape;
    switch (Style) {
    case hsFukidashi: {
        const int w = Size.width();
        const int h = Size.height() + 9;
        shape.Size = QSize(w, h);
        // A box from y = 9 down with a pointer tab whose tip is at (14, 0).
        const QPolygon balloon({{14, 0}, {8, 9}, {0, 9}, {0, h}, {w, h}, {w, 9}, {14, 9}});
        shape.Region = QRegion(balloon, Qt::WindingFill);
        shape.Balloon = {QPoint(14, 0),        QPoint(9, 9),     QPoint(0, 9),  QPoint(0, h - 1),
                         QPoint(w - 1, h - 1), QPoint(w - 1, 9), QPoint(13, 9), QPoint(13, 0)};
        return shape;
    }
    case hsRoundRect:
        shape.Size = Size;
        shape.Region = RoundRectRegion(Size.width(), Size.height());
        return shape;
    case hsLineString:
        shape.Size = Size + QSize(21, 12);
        // Leaves out the outermost ring of pixels.
        shape.Region = QRegion(1, 1, std::max(0, shape.Size.width() - 2),
                               std::max(0, shape.Size.height() - 2));
        return shape;
    default:
        return std::nullopt;
    }
}

void THintEx::DestroyWindowHandle()
{
    clearMask();
    FRegion = QRegion();
    THintWindow::DestroyWindowHandle();
}

void THintEx::EraseBackground(QPainter& canvas)
{
    const TAppHint* hint = TAppHint::Current();
    if (hint && hint->HintStyle() != hsLineString)
        THintWindow::EraseBackground(canvas);
}

void THintEx::DrawHintText(QPainter& canvas, const TAppHint& hint,
                           std::initializer_list<QPoint> shadows, QPoint offset) const
{
    const QFont font = CanvasFont().ToQFont();
    constexpr unsigned kFormat = DT_WORDBREAK | DT_NOPREFIX;
    if (hint.ShadowVisible()) {
        canvas.setPen(ToQColor(hint.ShadowColor()));
        for (const QPoint& shadow : shadows) {
            QRect r = ClientRect().translated(shadow);
            DrawText(&canvas, font, Caption(), r, kFormat);
        }
    }
    canvas.setPen(ToQColor(CanvasFont().Color()));
    QRect r = ClientRect().translated(offset);
    DrawText(&canvas, font, Caption(), r, kFormat);
}

void THintEx::Paint(QPainter& canvas)
{
    const TAppHint* hint = TAppHint::Current();
    if (!hint)
        return;
    CanvasFont().Assign(*hint->Font());
    const QBrush brush = hint->Brush()->ToQBrush();
    const QPen pen = hint->Pen()->ToQPen();
    SetInks(canvas, brush, pen, ToQColor(hint->BGColor()));
    switch (hint->HintStyle()) {
    case hsFukidashi:
        PaintBalloon(canvas, *hint, brush, pen);
        break;
    case hsRoundRect:
        PaintRoundRect(canvas, *hint, brush, pen);
        break;
    case hsLineString:
        PaintLineString(canvas, *hint, pen);
        break;
    case hsOwnerDraw:
        if (hint->OnPaint)
            hint->OnPaint(Caption(), &canvas, width(), height());
        break;
    default:
        THintWindow::Paint(canvas);
        break;
    }
}

void THintEx::FillThenClear(QPainter& canvas, const QBrush& brush) const
{
    canvas.fillRect(ClientRect(), brush);
    // A clear brush makes text transparent: letters never blank what lies under them.
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
}

void THintEx::PaintBalloon(QPainter& canvas, const TAppHint& hint, const QBrush& brush,
                           const QPen& pen) const
{
    FillThenClear(canvas, brush);
    DrawHintText(canvas, hint, {QPoint(4, 10)}, QPoint(3, 9));
    canvas.setPen(pen);
    canvas.drawPolygon(FBalloon.data(), int(FBalloon.size()));
}

void THintEx::PaintRoundRect(QPainter& canvas, const TAppHint& hint, const QBrush& brush,
                             const QPen& pen) const
{
    FillThenClear(canvas, brush);
    DrawHintText(canvas, hint, {QPoint(2, 2)}, QPoint(1, 1));
    canvas.setPen(pen);
    DrawRoundRect(canvas, FSavedRect.width(), FSavedRect.height());
}

void THintEx::PaintLineString(QPainter& canvas, const TAppHint& hint, const QPen& pen) const
{
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
    // Four copies one pixel around the text make a halo.
    DrawHintText(canvas, hint, {QPoint(19, 10), QPoint(19, 12), QPoint(18, 11), QPoint(20, 11)},
                 QPoint(19, 11));
    canvas.setPen(pen);
    const int w = FSavedRect.width();
    const int h = FSavedRect.height();
    const QPoint leader[] = {QPoint(1, 1), QPoint(17, h - 2), QPoint(w, h - 2)};
    canvas.drawPolyline(leader, 3);
}
