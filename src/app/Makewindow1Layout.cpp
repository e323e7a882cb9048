// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's controls, built from tables that follow the layout.
#include "app/LogoEditor.h"
#include "app/Makewindow1.h"
#include "controls/GradBox.h"
#include "controls/NewHint.h"
#include "controls/SelShape.h"
#include "controls/ShadoLbl.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TAlign.h"
#include "framework/TBevel.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "render/DocumentRenderer.h"

using namespace Qt::StringLiterals;

namespace {

using ButtonField = TShineSpeedButton* TMakeForm1::*;
using CaptionField = TShadowLabel* TMakeForm1::*;

constexpr TColor kFormColor = 0x00FEE9C2;
const QString kUiFace = u"ＭＳ Ｐゴシック"_s;

template<class T> T* Place(QWidget* parent, const char16_t* name, int x, int y, int w, int h)
{
    auto* control = new T(parent);
    control->setObjectName(QString::fromUtf16(name));
    control->setGeometry(x, y, w, h);
    return control;
}

void SetHint(QWidget* control, const QString& hint)
{
    control->setToolTip(hint);
}

void SetFont(TFont* font, const QString& face, int height, TColor color, TFontStyles style = 0)
{
    font->SetName(face);
    font->SetHeight(height);
    font->SetColor(color);
    font->SetStyle(style);
}

struct BarRow
{
    TGradBox* TMakeForm1::*field;
    const char16_t* name;
    int x, y, w, h;
    TAlign align;
    TGradStyle gradient;
    const char16_t* caption;
    int captionLeft, captionTop;
    const char16_t* face;
    int fontHeight;
    bool bold;
    TFontStyle3D style3D;
    TColor backFont;
};

const BarRow kBars[] = {
    {&TMakeForm1::GradBox3, u"GradBox3", 0, 473, 802, 20, alBottom, gsBottomTop, u"", 6, 4,
     u"System", -11, false, fsLowShadow, clGray},
    {&TMakeForm1::GradBox1, u"GradBox1", 796, 26, 6, 447, alRight, gsRightLeft, u"", 6, 4,
     u"ＭＳ Ｐゴシック", -11, false, fsLowShadow, clGray},
    {&TMakeForm1::GradBox4, u"GradBox4", 0, 26, 6, 447, alLeft, gsLeftRight, u"", 6, 4,
     u"ＭＳ Ｐゴシック", -11, false, fsLowShadow, clGray},
    {&TMakeForm1::GradBox6, u"GradBox6", 0, 0, 802, 26, alTop, gsTopBottom,
     u"TAMRIN - Quilvoro 2.5", 8, 5, u"System", -16, true, fsRaise3D, clBlack},
};

struct CaptionRow
{
    CaptionField field;
    const char16_t* name;
    int x, y, w;
    const char16_t* caption;
};

// In creation order: ten after Bevel1, the last after Bevel2.
const CaptionRow kCaptions[] = {
    {&TMakeForm1::SLabel1, u"SLabel1", 65, 105, 51, u"文字列 ："},
    {&TMakeForm1::ShadowLabel1, u"ShadowLabel1", 74, 127, 42, u"ﾌｫﾝﾄ ："},
    {&TMakeForm1::ShadowLabel2, u"ShadowLabel2", 74, 171, 42, u"ｻｲｽﾞ ："},
    {&TMakeForm1::ShadowLabel3, u"ShadowLabel3", 78, 193, 38, u"回転 ："},
    {&TMakeForm1::ShadowLabel6, u"ShadowLabel6", 418, 149, 58, u"影ﾉ種類 ："},
    {&TMakeForm1::ShadowLabel5, u"ShadowLabel5", 418, 171, 58, u"影ﾉ深度 ："},
    {&TMakeForm1::ShadowLabel7, u"ShadowLabel7", 418, 193, 58, u"影ﾉ方向 ："},
    {&TMakeForm1::ShadowLabel4, u"ShadowLabel4", 431, 127, 45, u"ｽﾀｲﾙ ："},
    {&TMakeForm1::ShadowLabel8, u"ShadowLabel8", 78, 149, 38, u"字体 ："},
    {&TMakeForm1::ShadowLabel9, u"ShadowLabel9", 439, 105, 37, u"ｶﾗｰ ："},
    {&TMakeForm1::ShadowLabel10, u"ShadowLabel10", 612, 105, 38, u"画像 ："},
};
constexpr int kCaptionsBeforeDivider = 10;

struct ButtonRow
{
    ButtonField field;
    const char16_t* name;
    int x, y, w, h;
    const char16_t* caption;
    const char16_t* hint; // a style button's hint word is quoted: ' "word"トスル'
    bool styleHint;
    int group;
    bool down;
    bool allowAllUp;
    TMakeForm1::Handler click;
};

// Panel5's buttons in creation order; the first six form the big top row.
const ButtonRow kButtons[] = {
    {&TMakeForm1::SpeedButton1, u"SpeedButton1", 36, 64, 120, 22, u"新規", u" ロゴノ新規作成",
     false, 0, false, false, &TMakeForm1::SpeedButton1Click},
    {&TMakeForm1::SpeedButton2, u"SpeedButton2", 156, 64, 120, 22, u"読込", u" ロゴデータノ読込",
     false, 0, false, false, &TMakeForm1::SpeedButton2Click},
    {&TMakeForm1::SpeedButton3, u"SpeedButton3", 276, 64, 120, 22, u"保存", u" ロゴデータノ保存",
     false, 0, false, false, &TMakeForm1::SpeedButton3Click},
    {&TMakeForm1::SpeedButton6, u"SpeedButton6", 396, 64, 120, 22, u"BMP保存",
     u" ロゴノ画像(BMP)保存", false, 0, false, false, &TMakeForm1::SpeedButton6Click},
    {&TMakeForm1::SpeedButton4, u"SpeedButton4", 516, 64, 120, 22, u"S. O. S.",
     u" ユーザーズガイドノ参照", false, 0, false, false, &TMakeForm1::SpeedButton4Click},
    {&TMakeForm1::SpeedButton5, u"SpeedButton5", 636, 64, 120, 22, u"撤退", u" 空間カラ離脱", false,
     0, false, false, &TMakeForm1::SpeedButton5Click},
    {&TMakeForm1::SpeedButton18, u"SpeedButton18", 120, 146, 64, 20, u"太字", u"太字", true, 3,
     false, true, &TMakeForm1::SpeedButton18Click},
    {&TMakeForm1::SpeedButton19, u"SpeedButton19", 184, 146, 64, 20, u"斜体", u"斜体", true, 3,
     false, true, &TMakeForm1::SpeedButton19Click},
    {&TMakeForm1::SpeedButton20, u"SpeedButton20", 248, 146, 64, 20, u"下線", u"下線付", true, 3,
     false, true, &TMakeForm1::SpeedButton20Click},
    {&TMakeForm1::SpeedButton21, u"SpeedButton21", 312, 146, 64, 20, u"消線", u"打消線付", true, 3,
     false, true, &TMakeForm1::SpeedButton21Click},
    {&TMakeForm1::SpeedButton7, u"SpeedButton7", 480, 124, 85, 20, u"ﾉｰﾏﾙ", u"ノーマル", true, 1,
     true, false, &TMakeForm1::SpeedButton7Click},
    {&TMakeForm1::SpeedButton8, u"SpeedButton8", 565, 124, 85, 20, u"ｱｳﾄﾗｲﾝ", u"アウトライン", true,
     1, false, false, &TMakeForm1::SpeedButton8Click},
    {&TMakeForm1::SpeedButton9, u"SpeedButton9", 649, 124, 85, 20, u"ｿﾘｯﾄﾞ", u"ソリッド", true, 1,
     false, false, &TMakeForm1::SpeedButton9Click},
    {&TMakeForm1::SpeedButton10, u"SpeedButton10", 480, 146, 85, 20, u"ﾉｰﾏﾙ", u"ノーマル", true, 2,
     false, false, &TMakeForm1::SpeedButton10Click},
    {&TMakeForm1::SpeedButton11, u"SpeedButton11", 565, 146, 85, 20, u"ﾃﾞｨｰﾌﾟ", u"ディープ", true,
     2, false, false, &TMakeForm1::SpeedButton11Click},
    {&TMakeForm1::SpeedButton12, u"SpeedButton12", 649, 146, 85, 20, u"ｸﾞﾗﾃﾞｰｼｮﾝ",
     u"グラデーション", true, 2, true, false, &TMakeForm1::SpeedButton12Click},
    {&TMakeForm1::SpeedButton13, u"SpeedButton13", 480, 101, 40, 20, u"文字", u" 文字色ヲ選択",
     false, 0, false, true, &TMakeForm1::SpeedButton13Click},
    {&TMakeForm1::SpeedButton14, u"SpeedButton14", 520, 101, 40, 20, u"影", u" 影色ヲ選択", false,
     0, false, true, &TMakeForm1::SpeedButton14Click},
    {&TMakeForm1::SpeedButton15, u"SpeedButton15", 560, 101, 40, 20, u"背景", u" 背景色ヲ選択",
     false, 0, false, true, &TMakeForm1::SpeedButton15Click},
    {&TMakeForm1::SpeedButton16, u"SpeedButton16", 694, 101, 40, 20, u"背景", u" 背景画像ノ読込",
     false, 0, false, true, &TMakeForm1::SpeedButton16Click},
    {&TMakeForm1::SpeedButton17, u"SpeedButton17", 654, 101, 40, 20, u"文字",
     u" 文字画像(テクスチャ)ノ読込", false, 0, false, true, &TMakeForm1::SpeedButton17Click},
};
constexpr int kBigButtons = 6;
constexpr int kButtonsBeforeDivider = 20; // SpeedButton17 comes after Bevel2

struct TrackRow
{
    TPanel* TMakeForm1::*panel;
    const char16_t* panelName;
    int x, y;
    int tabOrder;
    TTrackBar* TMakeForm1::*field;
    const char16_t* name;
    int min, max, position, pageSize;
    const char16_t* hint;
    TMakeForm1::Handler change;
};

// In creation order.
const TrackRow kTrackBars[] = {
    {&TMakeForm1::Panel1, u"Panel1", 120, 172, 2, &TMakeForm1::TrackBar1, u"TrackBar1", 1, 200, 40,
     5, u" サイズヲ調整", &TMakeForm1::TrackBar1Change},
    {&TMakeForm1::Panel4, u"Panel4", 120, 194, 4, &TMakeForm1::TrackBar3, u"TrackBar3", 0, 360, 0,
     1, u" 回転角度ヲ調整", &TMakeForm1::TrackBar3Change},
    {&TMakeForm1::Panel8, u"Panel8", 480, 193, 3, &TMakeForm1::TrackBar6, u"TrackBar6", 0, 7, 0, 1,
     u" 影ノ方向ヲ調整", &TMakeForm1::TrackBar6Change},
    {&TMakeForm1::Panel9, u"Panel9", 480, 171, 5, &TMakeForm1::TrackBar2, u"TrackBar2", 0, 200, 30,
     1, u" 影ノ深度ヲ調整", &TMakeForm1::TrackBar2Change},
};

struct TitleButtonRow
{
    TPanel* TMakeForm1::*panel;
    const char16_t* panelName;
    int x, w;
    ButtonField field;
    const char16_t* name;
    const char16_t* caption;
    const char16_t* hint;
    TMakeForm1::Handler click;
};

const TitleButtonRow kTitleButtons[] = {
    {&TMakeForm1::Panel7, u"Panel7", 721, 40, &TMakeForm1::ShineSpeedButton4, u"ShineSpeedButton4",
     u"info.", u" インフォメーション表示", &TMakeForm1::ShineSpeedButton4Click},
    {&TMakeForm1::Panel6, u"Panel6", 764, 15, &TMakeForm1::SSButton11, u"SSButton11", u"_",
     u" 最小化", &TMakeForm1::SSButton11Click},
    {&TMakeForm1::Panel10, u"Panel10", 782, 15, &TMakeForm1::SSButton10, u"SSButton10", u"×",
     u" 閉ジル", &TMakeForm1::SpeedButton5Click},
};

void SetButtonColors(TShineBtnColors* colors, TColor highlight, TColor gradColor, bool vertical,
                     TColor color)
{
    colors->SetHighlight(highlight);
    colors->SetShadow(clGray);
    colors->SetGradColor(gradColor);
    colors->SetGradVertical(vertical);
    colors->SetGradation(true);
    colors->SetColor(color);
}

void SetButtonFonts(TShineSpeedButton* button, int height)
{
    SetFont(button->Font(), kUiFace, height, clWhite);
    SetFont(button->ActiveFont(), kUiFace, height, clWhite, fsBold);
    button->SetFontHighlight(0x00800040);
    button->SetFontShadow(clBlack);
}

// The gradient buttons of the lower panel.
void StylePanelButton(TShineSpeedButton* button, int fontHeight)
{
    button->setCursor(Qt::PointingHandCursor);
    button->SetClickDownHook(true);
    button->SetTransparent(true);
    SetButtonColors(button->Colors(), 0x00E0E0E0, 0x00480000, true, clSilver);
    SetButtonColors(button->PressedColors(), clSilver, 0x00550000, true, 0x00F3F3F3);
    SetButtonFonts(button, fontHeight);
}

// The small enclosed buttons of the title bar.
void StyleTitleButton(TShineSpeedButton* button)
{
    button->setCursor(Qt::PointingHandCursor);
    button->SetClickDownHook(true);
    button->SetFrameType(ftEnclosedFrame);
    button->SetTransparent(false);
    SetButtonColors(button->Colors(), 0x00E0E0E0, clSilver, false, clBlack);
    SetButtonColors(button->PressedColors(), clSilver, clGray, false, clBlack);
    SetButtonFonts(button, -12);
}

void StyleFieldCaption(TShadowLabel* label)
{
    // The layout's widths were measured for the original face; keep them.
    label->SetAutoSize(false);
    label->SetColor(clBlack);
    SetFont(label->Font(), kUiFace, -12, clWhite, fsBold);
    label->SetTransparent(true);
    label->SetLayout(tlCenter);
    label->SetEllipsis(elNone);
    label->SetGradation(true);
    label->SetGradateVert(true);
    label->SetGradationColor(clBlack);
    label->Highlight()->SetVisible(false);
    label->Highlight()->SetColor(clWhite);
    label->Highlight()->SetOffsetLeft(-1);
    label->Highlight()->SetOffsetTop(-1);
    label->Shadow()->SetColor(clBlack);
    label->SetTextGradation(tgNone);
    label->SetTextGradationColor(0x00804000);
    label->SetTextMidColor(clBlack);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

TPanel* MakePanel(QWidget* parent, const char16_t* name, QRect geometry, TColor color)
{
    auto* panel = Place<TPanel>(parent, name, geometry.x(), geometry.y(), geometry.width(),
                                geometry.height());
    panel->SetColor(color);
    return panel;
}

TFileDialog* MakeFileDialog(TFileDialog::Mode mode, const QString& ext, const QString& filter,
                            const QString& title)
{
    auto* dialog = new TFileDialog(mode);
    dialog->SetDefaultExt(ext);
    dialog->SetFilter(filter);
    dialog->SetTitle(title);
    return dialog;
}

} // namespace

void TMakeForm1::CreateControls()
{
    Image2 = Place<TImage>(this, u"Image2", 0, 200, 73, 117);
    CreateBars();
    Panel3 = MakePanel(this, u"Panel3", QRect(6, 26, 790, 447), kFormColor);
    Align::Set(Panel3, alClient);
    CreateLowerPanel();
    Panel2 = MakePanel(Panel3, u"Panel2", QRect(0, 0, 790, 188), kFormColor);
    Align::Set(Panel2, alTop);
    Image27 = Place<TImage>(Panel2, u"Image27", 0, -68, 790, 163);
    Image27->SetStretch(true);
    Image27->SetPicture(Image26->Picture());
    CreatePreview();
    CreateTitleButtons();
    CreateComponents();
    SetTabOrder();
    // The editor starts on the default logo, in the face the list offers for its name.
    LogoDocument start;
    start.FontName = ListedFace(start.FontName);
    Editor->Replace(start, {});
}

void TMakeForm1::CreateBars()
{
    for (const BarRow& row : kBars) {
        TGradBox* bar = Place<TGradBox>(this, row.name, row.x, row.y, row.w, row.h);
        this->*row.field = bar;
        Align::Set(bar, row.align);
        bar->SetTopColor(clWhite);
        bar->SetLastColor(clBlack);
        bar->SetOutLineColor(clNavy);
        bar->SetDrawOutLine(true);
        bar->SetFont3D(true);
        bar->SetGradStyle(row.gradient);
        bar->SetCaption(QString::fromUtf16(row.caption));
        bar->SetCaptionLeft(row.captionLeft);
        bar->SetCaptionTop(row.captionTop);
        SetFont(bar->Font(), QString::fromUtf16(row.face), row.fontHeight, clWhite,
                row.bold ? fsBold : 0);
        bar->SetStyle3D(row.style3D);
        bar->SetBackFont(row.backFont);
    }
}

void TMakeForm1::CreateLowerPanel()
{
    Panel5 = MakePanel(Panel3, u"Panel5", QRect(0, 352, 790, 95), kFormColor);
    Image26 = Place<TImage>(Panel5, u"Image26", 0, 0, 790, 95);
    Align::Set(Image26, alClient);
    Image26->SetStretch(true);
    Image26->SetPicture(QImage(u":/quilvoro/header.bmp"_s));
    Bevel1 = Place<TBevel>(Panel5, u"Bevel1", 44, 96, 704, 118);
    CreateFieldCaptions(false);
    CreateShineButtons(0, kButtonsBeforeDivider);
    Bevel2 = Place<TBevel>(Panel5, u"Bevel2", 392, 102, 6, 106);
    CreateFieldCaptions(true);
    CreateShineButtons(kButtonsBeforeDivider, int(std::size(kButtons)));
    CreateEditingControls();
}

void TMakeForm1::CreateFieldCaptions(bool afterDivider)
{
    const int first = afterDivider ? kCaptionsBeforeDivider : 0;
    const int last = afterDivider ? int(std::size(kCaptions)) : kCaptionsBeforeDivider;
    for (int i = first; i < last; ++i) {
        const CaptionRow& row = kCaptions[i];
        TShadowLabel* label = Place<TShadowLabel>(Panel5, row.name, row.x, row.y, row.w, 12);
        this->*row.field = label;
        StyleFieldCaption(label);
        label->SetCaption(QString::fromUtf16(row.caption));
    }
}

void TMakeForm1::CreateShineButtons(int firstRow, int lastRow)
{
    for (int i = firstRow; i < lastRow; ++i) {
        const ButtonRow& row = kButtons[i];
        TShineSpeedButton* button =
            Place<TShineSpeedButton>(Panel5, row.name, row.x, row.y, row.w, row.h);
        this->*row.field = button;
        StylePanelButton(button, i < kBigButtons ? -16 : -12);
        button->SetCaption(QString::fromUtf16(row.caption));
        const QString word = QString::fromUtf16(row.hint);
        SetHint(button, row.styleHint ? u" \""_s + word + u"\"トスル"_s : word);
        button->SetGroupIndex(row.group);
        button->SetAllowAllUp(row.allowAllUp);
        button->SetDown(row.down);
        button->OnClick = [this, click = row.click](QObject* sender) {
            (this->*click)(sender);
        };
    }
}

void TMakeForm1::CreateEditingControls()
{
    Edit1 = Place<TEdit>(Panel5, u"Edit1", 120, 102, 255, 20);
    Edit1->SetColor(0x00400000);
    SetFont(Edit1->Font(), kUiFace, -12, clWhite);
    Edit1->SetText(u"Tamrin - Quilvoro"_s);
    SetHint(Edit1, u" 文字列ヲ入力"_s);
    Edit1->OnChange = [this](QObject* sender) {
        Edit1Change(sender);
    };

    for (const TrackRow& row : kTrackBars) {
        TPanel* frame = MakePanel(Panel5, row.panelName, QRect(row.x, row.y, 255, 10), clBlack);
        this->*row.panel = frame;
        // The black frame cuts off the track bar's ends so only the slim channel shows.
        TTrackBar* bar = Place<TTrackBar>(frame, row.name, -5, -2, 264, 12);
        this->*row.field = bar;
        bar->SetMin(row.min);
        bar->SetMax(row.max);
        bar->SetPosition(row.position);
        bar->SetPageSize(row.pageSize);
        bar->SetThumbLength(11);
        SetHint(bar, QString::fromUtf16(row.hint));
        bar->OnChange = [this, change = row.change](QObject* sender) {
            (this->*change)(sender);
        };
    }

    FontComboBox1 = Place<TFontComboBox>(Panel5, u"FontComboBox1", 120, 124, 255, 19);
    FontComboBox1->SetColor(0x00400000);
    FontComboBox1->SetExampleText(u"Abc"_s);
    SetFont(FontComboBox1->Font(), kUiFace, -12, clWhite);
    SetHint(FontComboBox1, u" フォントヲ選択"_s);
    // The system highlight is dark blue, lost on the dark list: the window's light blue shows.
    FontComboBox1->SetHighlightColor(kFormColor);
    FontComboBox1->SetHighlightTextColor(clNavy);
    FontComboBox1->OnChange = [this](QObject* sender) {
        FontComboBox1Change(sender);
    };
}

void TMakeForm1::CreatePreview()
{
    // The renderer draws the same panel without the window.
    using Preview = DocumentRenderer;
    constexpr int bevel = Preview::kBevel;
    constexpr QSize preview = Preview::kPreviewSize;
    Panel0 =
        MakePanel(Panel3, u"Panel0", QRect(QPoint(96, -420), preview + QSize(2 * bevel, 2 * bevel)),
                  Preview::kPanelColor);
    Panel0->SetBevelOuter(Preview::kBevelOuter);
    Panel0->SetBevelInner(Preview::kBevelInner);
    Panel0->SetBevelWidth(Preview::kBevelWidth);

    Image1 = Place<TImage>(Panel0, u"Image1", bevel, bevel, preview.width(), preview.height());
    Align::Set(Image1, alClient);
    Image1->SetCenter(true);
    Image1->setVisible(false);

    Label1 = Place<TdxfLabel>(Panel0, u"Label1", bevel, bevel, preview.width(), preview.height());
    Align::Set(Label1, alClient);
    Label1->SetAutoSize(false);
    Label1->SetParentColor(false);
    Label1->SetParentFont(false);
    // The label's look comes from the editor's document once the controls all exist.
    FStartCaption = u"TAMRIN - Quilvoro"_s;
    FStartFace = kUiFace;

    constexpr QRect selection = Preview::kSelectionInPanel;
    SelShape1 = Place<TSelShape>(Panel0, u"SelShape1", selection.x(), selection.y(),
                                 selection.width(), selection.height());
    SelShape1->setCursor(Qt::SizeAllCursor);
    SetHint(SelShape1, u" BMP画像ノ保存領域"_s);
    SelShape1->SetBrushStyle(bsClear);
    SelShape1->SetPenColor(clAqua);
    SelShape1->SetPenStyle(psDot);
    SelShape1->SetSizeSense(5);
    SelShape1->SetMinWidth(8);
    SelShape1->SetMinHeight(8);
    SelShape1->SetMinTop(2);
    SelShape1->SetMinLeft(2);
    SelShape1->SetMaxBottom(0);
    SelShape1->SetMaxRight(0);
    SelShape1->SetSelOption(kAllSelOptions);
}

void TMakeForm1::CreateTitleButtons()
{
    for (const TitleButtonRow& row : kTitleButtons) {
        TPanel* frame = MakePanel(this, row.panelName, QRect(row.x, 3, row.w, 19), clBlack);
        this->*row.panel = frame;
        TShineSpeedButton* button = Place<TShineSpeedButton>(frame, row.name, 0, 0, row.w, 19);
        this->*row.field = button;
        StyleTitleButton(button);
        button->SetCaption(QString::fromUtf16(row.caption));
        SetHint(button, QString::fromUtf16(row.hint));
        button->OnClick = [this, click = row.click](QObject* sender) {
            (this->*click)(sender);
        };
    }
}

void TMakeForm1::CreateComponents()
{
    ColorDialog1 = new TColorDialog;
    ColorDialog2 = new TColorDialog;
    ColorDialog2->SetColor(clWhite);
    ColorDialog3 = new TColorDialog;
    ColorDialog3->SetColor(clGray);

    const QString logoFilter = u"QVDファイル (*.qvd)|*.qvd"_s;
    const QString bmpFilter = u"BMPファイル (*.bmp)|*.bmp"_s;
    const QString exportFilter = u"BMPファイル (*.bmp)|*.bmp|PNGファイル (*.png)|*.png|"
                                 "SVGファイル (*.svg)|*.svg|PDFファイル (*.pdf)|*.pdf"_s;
    Timer1 = new TTimer(this);
    OpenDialog1 = MakeFileDialog(TFileDialog::Open, u"qvd"_s, logoFilter, u"ロゴデータノ読込"_s);
    SaveDialog1 = MakeFileDialog(TFileDialog::Save, u"qvd"_s, logoFilter, u"ロゴデータノ保存"_s);
    OpenPictureDialog1 =
        MakeFileDialog(TFileDialog::OpenPicture, u"bmp"_s, bmpFilter, u"背景画像ノ読込"_s);
    Timer2 = new TTimer(this);
    SavePictureDialog1 = MakeFileDialog(TFileDialog::Save, u"bmp"_s, exportFilter,
                                        u"ロゴデータノBMP保存 （水色点線範囲）"_s);
    CreateHintComponent();
    OpenPictureDialog2 = MakeFileDialog(TFileDialog::OpenPicture, u"bmp"_s, bmpFilter,
                                        u"文字画像（テクスチャ）ノ読込"_s);

    for (TTimer* timer : {Timer1, Timer2}) {
        timer->SetEnabled(false);
        timer->SetInterval(20);
    }
    Timer1->OnTimer = [this](QObject* sender) {
        Timer1Timer(sender);
    };
    Timer2->OnTimer = [this](QObject* sender) {
        Timer2Timer(sender);
    };
}

void TMakeForm1::CreateHintComponent()
{
    // Every hint of the window shows as a navy rounded box with white text over a grey shadow.
    AppHint1 = new TAppHint(this);
    AppHint1->setObjectName(u"AppHint1"_s);
    AppHint1->SetBGColor(clBlack);
    AppHint1->Brush()->SetColor(clNavy);
    TFont font;
    SetFont(&font, kUiFace, -16, clWhite);
    AppHint1->SetFont(font);
    AppHint1->SetHintPause(500);
    AppHint1->SetHintHidePause(2500);
    AppHint1->SetHintShortPause(0);
    AppHint1->SetHintStyle(hsRoundRect);
    AppHint1->Pen()->SetColor(clBlue);
    AppHint1->SetShadowColor(0x004F4F4F);
    AppHint1->SetShadowVisible(true);
    AppHint1->Loaded();
}

void TMakeForm1::SetTabOrder()
{
    // Edit box, font list, then the track bars by their panels' tab orders.
    QWidget* order[] = {Edit1, FontComboBox1, TrackBar1, TrackBar6, TrackBar3, TrackBar2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
