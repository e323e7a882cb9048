// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DecorationPanel.h"

#include "app/PanelPlacement.h"
#include "controls/ColorSwatch.h"
#include "controls/ShineSpdBtn.h"
#include "framework/TEdit.h"
#include "framework/TPanel.h"
#include "framework/TTrackBar.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Where the parts of a cell lie, from its left: caption, bar, value, swatch.
constexpr int kBarLeft = TDecorationPanel::kCaptionWidth + 2;
constexpr int kBarWidth = 150;
constexpr int kValueLeft = kBarLeft + kBarWidth + 4;
constexpr int kSwatchWidth = 28;
constexpr int kSwatchLeft = TDecorationPanel::kColumnWidth - kSwatchWidth;
constexpr int kSwatchHeight = 16;
constexpr int kButtonHeight = 18;
// The text section's head, and the tagline's field across both columns above the rows that set
// it.
constexpr int kTextRow = 7;
constexpr int kTaglineRow = 9;

struct BarRow
{
    TDecorationPanel::TBar bar;
    const char16_t* caption;
    const char16_t* name;
    int column, row;
    int min, max, page;
    int LogoDocument::*field;
    const char16_t* unit;
};

constexpr BarRow kBarRows[] = {
    {TDecorationPanel::bEdge1, u"内側", u"縁取り1ノ幅", 0, 1, LogoDocument::kMinEdgeWidth,
     LogoDocument::kMaxEdgeWidth, 4, &LogoDocument::Edge1Width, u""},
    {TDecorationPanel::bEdge2, u"中間", u"縁取り2ノ幅", 0, 2, LogoDocument::kMinEdgeWidth,
     LogoDocument::kMaxEdgeWidth, 4, &LogoDocument::Edge2Width, u""},
    {TDecorationPanel::bEdge3, u"外側", u"縁取り3ノ幅", 0, 3, LogoDocument::kMinEdgeWidth,
     LogoDocument::kMaxEdgeWidth, 4, &LogoDocument::Edge3Width, u""},
    {TDecorationPanel::bShadowBlur, u"ぼかし", u"影ノぼかし", 0, 5, LogoDocument::kMinBlur,
     LogoDocument::kMaxBlur, 5, &LogoDocument::ShadowBlur, u""},
    {TDecorationPanel::bShadowOpacity, u"濃さ", u"影ノ濃さ", 0, 6, LogoDocument::kMinOpacity,
     LogoDocument::kMaxOpacity, 10, &LogoDocument::ShadowOpacity, u"%"},
    {TDecorationPanel::bFillAngle, u"角度", u"塗りノ角度", 1, 3, LogoDocument::kMinFillAngle,
     LogoDocument::kMaxFillAngle, 15, &LogoDocument::FillAngle, u"°"},
    {TDecorationPanel::bGlowSize, u"大きさ", u"光彩ノ大きさ", 1, 5, LogoDocument::kMinBlur,
     LogoDocument::kMaxBlur, 5, &LogoDocument::GlowSize, u""},
    {TDecorationPanel::bGlowOpacity, u"濃さ", u"光彩ノ濃さ", 1, 6, LogoDocument::kMinOpacity,
     LogoDocument::kMaxOpacity, 10, &LogoDocument::GlowOpacity, u"%"},
    {TDecorationPanel::bSpacing, u"字間", u"字間", 0, 8, LogoDocument::kMinSpacing,
     LogoDocument::kMaxSpacing, 10, &LogoDocument::Spacing, u""},
    {TDecorationPanel::bTaglineSize, u"大きさ", u"副題ノ大きさ", 0, 10,
     LogoDocument::kMinTaglineSize, LogoDocument::kMaxTaglineSize, 10, &LogoDocument::TaglineSize,
     u"%"},
    {TDecorationPanel::bTaglineGap, u"間隔", u"副題ノ間隔", 0, 11, LogoDocument::kMinTaglineGap,
     LogoDocument::kMaxTaglineGap, 10, &LogoDocument::TaglineGap, u"%"},
};
static_assert(std::size(kBarRows) == TDecorationPanel::kBars);

struct SwatchRow
{
    TDecorationPanel::TSwatch swatch;
    int column, row, left;
    TColor LogoDocument::*field;
    const char16_t* hint;
};

constexpr SwatchRow kSwatchRows[] = {
    {TDecorationPanel::sEdge1, 0, 1, kSwatchLeft, &LogoDocument::Edge1Color, u" 縁取り1ノ色ヲ選択"},
    {TDecorationPanel::sEdge2, 0, 2, kSwatchLeft, &LogoDocument::Edge2Color, u" 縁取り2ノ色ヲ選択"},
    {TDecorationPanel::sEdge3, 0, 3, kSwatchLeft, &LogoDocument::Edge3Color, u" 縁取り3ノ色ヲ選択"},
    {TDecorationPanel::sFill1, 1, 2, kBarLeft, &LogoDocument::TextColor, u" 文字色ヲ選択"},
    {TDecorationPanel::sFill2, 1, 2, kBarLeft + 34, &LogoDocument::FillColor2, u" 2番目ノ色ヲ選択"},
    {TDecorationPanel::sFill3, 1, 2, kBarLeft + 68, &LogoDocument::FillColor3, u" 3番目ノ色ヲ選択"},
    {TDecorationPanel::sGlow, 1, 5, kSwatchLeft, &LogoDocument::GlowColor, u" 光彩ノ色ヲ選択"},
};
static_assert(std::size(kSwatchRows) == TDecorationPanel::kSwatches);

struct ButtonRow
{
    TDecorationPanel::TButton button;
    int column, row, left, width;
    const char16_t* caption;
    const char16_t* hint;
    int group; // 0: a push button
    bool allowAllUp;
};

constexpr ButtonRow kButtonRows[] = {
    {TDecorationPanel::btSolid, 1, 1, kBarLeft, 70, u"単色", u" 一色デ塗ル", 1, false},
    {TDecorationPanel::btGradient, 1, 1, kBarLeft + 70, 100, u"グラデーション",
     u" グラデーションデ塗ル", 1, false},
    {TDecorationPanel::btThreeColors, 1, 2, kBarLeft + 102, 50, u"3色", u" 3色ノグラデーション", 2,
     true},
    {TDecorationPanel::btVertical, 1, 8, kBarLeft, 80, u"縦書き", u" 縦書キトスル", 3, true},
    {TDecorationPanel::btUnder, 1, 10, kBarLeft, 50, u"下", u" 副題ヲ下ニ置ク", 4, false},
    {TDecorationPanel::btAbove, 1, 10, kBarLeft + 50, 50, u"上", u" 副題ヲ上ニ置ク", 4, false},
    {TDecorationPanel::btLeft, 1, 11, kBarLeft, 50, u"左", u" 副題ヲ左ニ揃エル", 5, false},
    {TDecorationPanel::btCentre, 1, 11, kBarLeft + 50, 50, u"中央", u" 副題ヲ中央ニ揃エル", 5,
     false},
    {TDecorationPanel::btRight, 1, 11, kBarLeft + 100, 50, u"右", u" 副題ヲ右ニ揃エル", 5, false},
    {TDecorationPanel::btClose, 1, 0, TDecorationPanel::kColumnWidth - 20, 20, u"×", u" 閉ジル", 0,
     false},
};
static_assert(std::size(kButtonRows) == TDecorationPanel::kButtons);

// Captions of rows without a bar, and the section heads.
struct CaptionRow
{
    int column, row;
    const char16_t* text;
};

constexpr CaptionRow kHeads[] = {
    {0, 0, u"縁取り"}, {0, 4, u"影"}, {1, 0, u"塗り"}, {1, 4, u"光彩"}, {-1, kTextRow, u"文字"},
};

constexpr CaptionRow kCaptions[] = {
    {1, 1, u"種類"}, {1, 2, u"色"},    {-1, kTaglineRow, u"副題"},
    {1, 8, u"方向"}, {1, 10, u"位置"}, {1, 11, u"揃え"},
};

QRect Inside(const QRect& cell, int left, int width, int height)
{
    return {cell.left() + left, cell.top() + (cell.height() - height) / 2, width, height};
}

QRect CaptionRect(const QRect& cell)
{
    return {cell.left(), cell.top(), TDecorationPanel::kCaptionWidth - 6, cell.height()};
}

} // namespace

TDecorationPanel::TDecorationPanel(QWidget* parent)
    // a window of its own rather than a popup, so colour dialogs and typing leave it open
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(u"DecorationPanel"_s);
    setFixedSize(SizeFor());
    CreateBars();
    CreateSwatches();
    CreateButtons();
    CreateTagline();
    OrderTabs();
    ShowValues();
}

QRect TDecorationPanel::CellRect(int column, int row)
{
    const int top = kMargin + row * kRowHeight;
    if (column < 0)
        return {kMargin, top, 2 * kColumnWidth + kColumnGap, kRowHeight};
    return {kMargin + column * (kColumnWidth + kColumnGap), top, kColumnWidth, kRowHeight};
}

QSize TDecorationPanel::SizeFor()
{
    const QRect last = CellRect(-1, kRows - 1);
    return {last.right() + 1 + kMargin, last.bottom() + 1 + kMargin};
}

QString TDecorationPanel::BarName(TBar bar)
{
    return QString::fromUtf16(kBarRows[bar].name);
}

QString TDecorationPanel::ValueText(TBar bar, int position)
{
    const QString sign = bar == bSpacing && position > 0 ? u"+"_s : QString();
    return sign + QString::number(position) + QString::fromUtf16(kBarRows[bar].unit);
}

void TDecorationPanel::CreateBars()
{
    for (const BarRow& row : kBarRows) {
        // The black frame cuts off the bar's ends, as on the window, so the slim channel shows.
        auto* frame = new TPanel(this);
        frame->SetColor(clBlack);
        frame->setGeometry(Inside(CellRect(row.column, row.row), kBarLeft, kBarWidth, 10));
        auto* bar = new TTrackBar(frame);
        bar->setObjectName(u"DecorationBar"_s + QString::number(row.bar));
        bar->setGeometry(-5, -2, kBarWidth + 9, 12);
        bar->SetMin(row.min);
        bar->SetMax(row.max);
        bar->SetPageSize(row.page);
        bar->setToolTip(u" "_s + QString::fromUtf16(row.name) + u"ヲ調整"_s);
        bar->OnChange = [this, &row](QObject*) {
            const int position = FBars[row.bar]->Position();
            Change([&](LogoDocument& d) { d.*row.field = position; }, {TStep::Slide, row.bar});
            update(CellRect(row.column, row.row));
        };
        // one drag, one step; moves by key merge until the next drag
        const auto endRun = [this] {
            if (OnEndRun)
                OnEndRun();
        };
        connect(bar, &QAbstractSlider::sliderPressed, this, endRun);
        connect(bar, &QAbstractSlider::sliderReleased, this, endRun);
        FBars[row.bar] = bar;
    }
}

void TDecorationPanel::CreateSwatches()
{
    for (const SwatchRow& row : kSwatchRows) {
        auto* swatch = new TColorSwatch(this);
        swatch->setObjectName(u"DecorationSwatch"_s + QString::number(row.swatch));
        swatch->setGeometry(
            Inside(CellRect(row.column, row.row), row.left, kSwatchWidth, kSwatchHeight));
        swatch->setToolTip(QString::fromUtf16(row.hint));
        swatch->OnClick = [this, which = row.swatch](QObject*) {
            PickColor(which);
        };
        FSwatches[row.swatch] = swatch;
    }
}

void TDecorationPanel::CreateButtons()
{
    for (const ButtonRow& row : kButtonRows) {
        auto* button = new TShineSpeedButton(this);
        button->setObjectName(u"DecorationButton"_s + QString::number(row.button));
        button->setGeometry(
            Inside(CellRect(row.column, row.row), row.left, row.width, kButtonHeight));
        StyleButton(button);
        button->SetCaption(QString::fromUtf16(row.caption));
        button->setToolTip(QString::fromUtf16(row.hint));
        button->SetGroupIndex(row.group);
        button->SetAllowAllUp(row.allowAllUp);
        button->OnClick = [this, which = row.button](QObject*) {
            ButtonClicked(which);
        };
        FButtons[row.button] = button;
    }
}

void TDecorationPanel::CreateTagline()
{
    FTagline = new TEdit(this);
    FTagline->setObjectName(u"TaglineEdit"_s);
    const QRect cell = CellRect(-1, kTaglineRow);
    FTagline->setGeometry(Inside(cell, kBarLeft, cell.width() - kBarLeft, 19));
    FTagline->setMaxLength(LogoDocument::kMaxTextLength);
    FTagline->SetColor(0x00200000);
    FTagline->Font()->SetColor(clWhite);
    FTagline->Font()->SetHeight(-12);
    FTagline->setToolTip(u" 副題ヲ入力"_s);
    FTagline->OnChange = [this](QObject*) {
        const QString text = FTagline->Text();
        Change([&](LogoDocument& d) { d.Tagline = text; }, {TStep::Typing});
    };
    // a run of typing ends when the field is left
    connect(FTagline, &QLineEdit::editingFinished, this, [this] {
        if (OnEndRun)
            OnEndRun();
    });
}

void TDecorationPanel::OrderTabs()
{
    // Tab walks the grid as it reads: above the text section down each column, below it row by
    // row across both.
    const auto key = [](const QWidget* w) {
        const QPoint at = w->mapTo(w->window(), QPoint());
        const int row = (at.y() - kMargin) / kRowHeight;
        const int column = at.x() >= CellRect(1, 0).left() ? 1 : 0;
        return row < kTextRow ? std::tuple(0, column, row, at.x()) : std::tuple(1, row, at.x(), 0);
    };
    QList<QWidget*> stops;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->focusPolicy() & Qt::TabFocus)
            stops.append(w);
    }
    std::ranges::sort(stops, {}, key);
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void TDecorationPanel::StyleButton(TShineSpeedButton* button) const
{
    button->setCursor(Qt::PointingHandCursor);
    button->SetClickDownHook(true);
    button->SetTransparent(false);
    button->SetFrameType(ftEnclosedFrame);
    const auto colors = [](TShineBtnColors* c, TColor face, TColor grad, TColor highlight) {
        c->SetHighlight(highlight);
        c->SetShadow(clBlack);
        c->SetColor(face);
        c->SetGradColor(grad);
        c->SetGradVertical(true);
        c->SetGradation(true);
    };
    colors(button->Colors(), 0x00804020, 0x00200000, 0x00C08060);
    colors(button->PressedColors(), 0x00D09050, 0x00502000, FHighlightColor);
    for (TFont* font : {button->Font(), button->ActiveFont()}) {
        font->SetName(FCaptionFont.family());
        font->SetHeight(-12);
        font->SetColor(clWhite);
    }
    button->ActiveFont()->SetStyle(fsBold);
    button->SetFontShadow(clBlack);
    button->SetFontHighlight(0x00400000);
}

void TDecorationPanel::SetColors(TColor color, TColor text, TColor highlight, TColor highlightText)
{
    FColor = color;
    FTextColor = text;
    FHighlightColor = highlight;
    FHighlightTextColor = highlightText;
    for (TShineSpeedButton* button : FButtons)
        StyleButton(button);
    for (TColorSwatch* swatch : FSwatches)
        swatch->SetFrameColor(highlight);
    update();
}

void TDecorationPanel::SetCaptionFont(const QFont& value)
{
    FCaptionFont = value;
    for (TShineSpeedButton* button : FButtons)
        StyleButton(button);
    FTagline->Font()->SetName(value.family());
    update();
}

void TDecorationPanel::Open(const LogoDocument& document, const QRect& preview)
{
    FStart = document;
    SetDocument(document);
    const QScreen* screen = QGuiApplication::screenAt(preview.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : preview;
    setGeometry(QRect(PanelPlacement::Beside(preview, size(), area), size()));
    show();
    activateWindow();
    FBars[bEdge1]->setFocus();
}

void TDecorationPanel::SetDocument(const LogoDocument& document)
{
    if (document.FillColor3 != LogoDocument::kNoFillColor)
        FThirdColor = document.FillColor3;
    if (FDocument == document)
        return;
    if (!SameEdited(FDocument, document))
        FStart = document;
    FDocument = document;
    ShowValues();
}

bool TDecorationPanel::SameEdited(const LogoDocument& a, const LogoDocument& b)
{
    LogoDocument mixed = b;
    CopyEdited(a, mixed);
    return mixed == b;
}

void TDecorationPanel::CopyEdited(const LogoDocument& from, LogoDocument& into)
{
    for (const BarRow& row : kBarRows)
        into.*row.field = from.*row.field;
    for (const SwatchRow& row : kSwatchRows)
        into.*row.field = from.*row.field;
    into.Fill = from.Fill;
    into.Tagline = from.Tagline;
    into.TaglinePlace = from.TaglinePlace;
    into.TaglineAlign = from.TaglineAlign;
    into.Vertical = from.Vertical;
}

void TDecorationPanel::ShowValues()
{
    FShowing = true;
    const LogoDocument& d = FDocument;
    for (const BarRow& row : kBarRows)
        FBars[row.bar]->SetPosition(d.*row.field);
    for (const SwatchRow& row : kSwatchRows)
        FSwatches[row.swatch]->SetColor(d.*row.field);
    const bool gradient = d.Fill == TLogoFill::Gradient;
    const bool three = d.FillColor3 != LogoDocument::kNoFillColor;
    FSwatches[sFill3]->SetHasColor(three);
    FSwatches[sFill3]->SetColor(three ? d.FillColor3 : FThirdColor);
    for (TSwatch swatch : {sFill2, sFill3})
        FSwatches[swatch]->setEnabled(gradient);
    FBars[bFillAngle]->parentWidget()->setEnabled(gradient);
    FButtons[btThreeColors]->setEnabled(gradient);
    const std::pair<TButton, bool> downs[] = {
        {btSolid, !gradient},
        {btGradient, gradient},
        {btThreeColors, three},
        {btVertical, d.Vertical},
        {btUnder, d.TaglinePlace == TLogoTaglinePlace::Under},
        {btAbove, d.TaglinePlace == TLogoTaglinePlace::Above},
        {btLeft, d.TaglineAlign == TLogoTaglineAlign::Left},
        {btCentre, d.TaglineAlign == TLogoTaglineAlign::Centre},
        {btRight, d.TaglineAlign == TLogoTaglineAlign::Right},
    };
    for (const auto& [button, down] : downs)
        FButtons[button]->SetDown(down);
    if (FTagline->Text() != d.Tagline)
        FTagline->SetText(d.Tagline);
    FShowing = false;
    update();
}

void TDecorationPanel::Change(const std::function<void(LogoDocument&)>& mutate, TStep step)
{
    if (FShowing)
        return;
    LogoDocument changed = FDocument;
    mutate(changed);
    if (changed == FDocument)
        return;
    FDocument = std::move(changed);
    if (step.kind == TStep::Pick)
        ShowValues();
    if (OnChange)
        OnChange(FDocument, step);
}

void TDecorationPanel::PickColor(TSwatch swatch)
{
    const SwatchRow& row = kSwatchRows[swatch];
    const bool addsThird = swatch == sFill3 && FDocument.FillColor3 == LogoDocument::kNoFillColor;
    FColorDialog.SetColor(addsThird ? FThirdColor : FDocument.*row.field);
    if (!FColorDialog.Execute(this))
        return;
    const TColor chosen = FColorDialog.Color();
    if (swatch == sFill3)
        FThirdColor = chosen;
    Change([&](LogoDocument& d) { d.*row.field = chosen; }, {TStep::Pick});
}

void TDecorationPanel::ButtonClicked(TButton button)
{
    // A group's button shows the document's choice; a click only changes the document.
    const auto pick = [this](const std::function<void(LogoDocument&)>& mutate) {
        Change(mutate, {TStep::Pick});
        // an exclusive group's down button clicked again changes nothing but stays as it was
        ShowValues();
    };
    switch (button) {
    case btSolid:
    case btGradient:
        pick([&](LogoDocument& d) {
            d.Fill = button == btGradient ? TLogoFill::Gradient : TLogoFill::Solid;
        });
        break;
    case btThreeColors:
        pick([&](LogoDocument& d) {
            d.FillColor3 =
                FButtons[btThreeColors]->Down() ? FThirdColor : LogoDocument::kNoFillColor;
        });
        break;
    case btVertical:
        pick([&](LogoDocument& d) { d.Vertical = FButtons[btVertical]->Down(); });
        break;
    case btUnder:
    case btAbove:
        pick([&](LogoDocument& d) {
            d.TaglinePlace =
                button == btAbove ? TLogoTaglinePlace::Above : TLogoTaglinePlace::Under;
        });
        break;
    case btLeft:
    case btCentre:
    case btRight:
        pick([&](LogoDocument& d) {
            d.TaglineAlign = TLogoTaglineAlign(int(button) - int(btLeft));
        });
        break;
    case btClose:
        close();
        break;
    case kButtons:
        break;
    }
}

void TDecorationPanel::PaintTo(QPainter& painter) const
{
    painter.fillRect(rect(), ToQColor(FColor));
    const QColor highlight = ToQColor(FHighlightColor);
    painter.setPen(highlight);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont head = FCaptionFont;
    head.setBold(true);
    for (const CaptionRow& row : kHeads) {
        const QRect cell = CellRect(row.column, row.row);
        painter.setFont(head);
        painter.setPen(highlight);
        const QString text = QString::fromUtf16(row.text);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
        // a hairline runs on from the head to the end of its column
        const int from = cell.left() + painter.fontMetrics().horizontalAdvance(text) + 6;
        const int y = cell.center().y() + 1;
        QColor line = highlight;
        line.setAlpha(110);
        painter.setPen(line);
        const QRect close = FButtons[btClose]->geometry();
        const int to = close.intersects(cell) ? close.left() - 6 : cell.right();
        painter.drawLine(from, y, to, y);
    }
    painter.setFont(FCaptionFont);
    const QColor text = ToQColor(FTextColor);
    QColor dim = text;
    dim.setAlpha(150);
    for (const CaptionRow& row : kCaptions) {
        painter.setPen(text);
        painter.drawText(CaptionRect(CellRect(row.column, row.row)),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf16(row.text));
    }
    for (const BarRow& row : kBarRows) {
        const QRect cell = CellRect(row.column, row.row);
        const bool enabled = FBars[row.bar]->isEnabledTo(this);
        painter.setPen(enabled ? text : dim);
        painter.drawText(CaptionRect(cell), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromUtf16(row.caption));
        painter.drawText(QRect(cell.left() + kValueLeft, cell.top(), 36, cell.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         ValueText(row.bar, FDocument.*row.field));
    }
}

void TDecorationPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TDecorationPanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        FDocument = FStart;
        ShowValues();
        if (OnRestore)
            OnRestore(FStart);
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
