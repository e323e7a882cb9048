// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QImage;
class QPainter;

enum TEllipsis : std::uint8_t { elNone = 0, elEnd = 1, elPath = 2 };
enum TTextGradation : std::uint8_t { tgNone = 0, tg2Colors = 1, tg3Colors = 2 };
enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TTextLayout : std::uint8_t { tlTop = 0, tlCenter = 1, tlBottom = 2 };

// The settings of one offset copy of a label's text: its shadow or its highlight.
class TShadow
{
public:
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int OffsetLeft() const { return FOffsetLeft; }
    void SetOffsetLeft(int value);
    int OffsetTop() const { return FOffsetTop; }
    void SetOffsetTop(int value);

    // Copies all four values and reports one change, even when nothing differs.
    void Assign(const TShadow& source);

    std::function<void()> OnChange;

private:
    void Changed();

    bool FVisible = true;
    TColor FColor = clSilver;
    int FOffsetLeft = 1;
    int FOffsetTop = 1;
};

// Unit-level helpers of the label, also usable on their own.
namespace ShadoLbl {

// A colour's RGB value (system colours resolved) split into its channel bytes.
void GetRGB(TColor color, int& red, int& green, int& blue);

// Fills the image with a gradient from c1 (top or left) to c2 (bottom or right); components
// are interpolated and truncated toward zero. Images narrower or lower than 1 pixel are left.
void GradBitmap(QImage& bitmap, TColor c1, TColor c2, bool vertical);

// Paints the same gradient over a rectangle of a painter by stretching a small bitmap.
void GradRect(QPainter& canvas, const QRect& rect, TColor c1, TColor c2, bool vertical);

// The colour of position k of 0..last on a gradient from c1 to c2, truncated per component.
TColor GradientColor(TColor c1, TColor c2, int k, int last);

// One stretch of a gradient text: `text` runs from c1 to c2 (a single character in c1).
struct TGradientRun
{
    QString text;
    TColor c1;
    TColor c2;
};

// How a text splits into gradient runs; empty when the text is drawn plainly. Characters and
// the three-colour split point are counted on the text's Shift-JIS bytes.
std::vector<TGradientRun> GradientRuns(const QString& text, TTextGradation gradation,
                                       TColor fontColor, TColor midColor, TColor lastColor);

// The characters of a text as drawn one by one: one code point each.
QStringList Characters(const QString& text);

} // namespace ShadoLbl

// A text label with an optional gradient background, shadow and highlight copies of its text,
// a colour gradient through the letters, and an ellipsis for text that does not fit.
class TShadowLabel : public QWidget
{
    Q_OBJECT

public:
    explicit TShadowLabel(QWidget* parent = nullptr);

    // Properties of the standard label.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont* Font() { return &FFont; }
    const TFont* Font() const { return &FFont; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Fits the label to its text; a right-justified label keeps its right edge.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    // Properties of the shadow label.
    TEllipsis Ellipsis() const { return FEllipsis; }
    void SetEllipsis(TEllipsis value);
    bool Flickerless() const { return FFlickerless; }
    void SetFlickerless(bool value) { FFlickerless = value; }
    bool GradateVert() const { return FGradateVert; }
    void SetGradateVert(bool value);
    bool Gradation() const { return FGradation; }
    void SetGradation(bool value);
    TColor GradationColor() const { return FGradationColor; }
    void SetGradationColor(TColor value);
    TShadow* Highlight() { return &FHighlight; }
    void SetHighlight(const TShadow* value);
    TShadow* Shadow() { return &FShadow; }
    void SetShadow(const TShadow* value);
    TTextGradation TextGradation() const { return FTextGradation; }
    void SetTextGradation(TTextGradation value);
    TColor TextGradationColor() const { return FTextGradationColor; }
    void SetTextGradationColor(TColor value);
    TColor TextMidColor() const { return FTextMidColor; }
    void SetTextMidColor(TColor value);

    // The text format flags every drawing of the caption uses.
    unsigned TextFlags() const;

    // Arranging, apart from measuring: where a text `textHeight` pixels high starts in a label
    // `height` pixels high, and where an auto-sized label at `geometry` goes once its text
    // measures `text` (a right-justified label keeps its right edge).
    static int TextTop(TTextLayout layout, int height, int textHeight);
    static QRect FittedGeometry(const QRect& geometry, QSize text, TAlignment alignment);

    // Paints the label in its own coordinates; a transparent label leaves the background as is.
    void PaintTo(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShadowChanged();
    void AdjustBounds();
    void PaintBackground(QPainter& surface);
    void PaintText(QPainter& surface);
    void DrawGradientRun(QPainter& surface, QRect& rect, const ShadoLbl::TGradientRun& run);

    QString FCaption;
    TColor FColor = clBtnFace;
    TFont FFont;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    bool FAutoSize = true;

    TEllipsis FEllipsis = elNone;
    bool FFlickerless = true;
    bool FGradateVert = false;
    bool FGradation = false;
    TColor FGradationColor = clBlue;
    TShadow FHighlight;
    TShadow FShadow;
    TTextGradation FTextGradation = tgNone;
    TColor FTextGradationColor = clMaroon;
    TColor FTextMidColor = clNavy;
};
