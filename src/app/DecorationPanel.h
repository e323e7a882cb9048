// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "framework/TColorDialog.h"

#include <QFont>
#include <QWidget>

#include <array>
#include <functional>

class TColorSwatch;
class TEdit;
class TShineSpeedButton;
class TTrackBar;

// The decoration panel: a small window beside the preview with the rings around the letters,
// the fill, the soft shadow, the glow and the text's second line, spacing and direction. It
// edits a document of its own and reports every change at once, so the preview follows a drag
// live. Escape reports the document it opened with and closes; Enter closes with the changes
// kept.
class TDecorationPanel : public QWidget
{
    Q_OBJECT

public:
    // The track bars, swatches and buttons, in the order of their tables.
    enum TBar {
        bEdge1,
        bEdge2,
        bEdge3,
        bShadowBlur,
        bShadowOpacity,
        bFillAngle,
        bGlowSize,
        bGlowOpacity,
        bSpacing,
        bTaglineSize,
        bTaglineGap,
        kBars
    };
    enum TSwatch { sEdge1, sEdge2, sEdge3, sFill1, sFill2, sFill3, sGlow, kSwatches };
    enum TButton {
        btSolid,
        btGradient,
        btThreeColors,
        btVertical,
        btUnder,
        btAbove,
        btLeft,
        btCentre,
        btRight,
        btClose,
        kButtons
    };

    // How a change joins the undo history: a pick is a step of its own; the moves of one bar
    // within a run (a drag, a few keys) merge, as do the keys of a run of typing.
    struct TStep
    {
        enum TKind { Pick, Slide, Typing } kind = Pick;
        TBar bar = kBars;
    };

    static constexpr int kMargin = 10;
    static constexpr int kRowHeight = 22;
    static constexpr int kColumnWidth = 272;
    static constexpr int kColumnGap = 20;
    static constexpr int kCaptionWidth = 50;
    static constexpr int kRows = 12;

    explicit TDecorationPanel(QWidget* parent);

    // The panel's grid: the cell of `row` in `column` (0 or 1), or across both with column -1.
    static QRect CellRect(int column, int row);
    static QSize SizeFor();

    // Shows `document` and opens the panel beside `preview` (global), which stays in sight.
    void Open(const LogoDocument& document, const QRect& preview);
    // Shows `document` without reporting a change: the logo changed elsewhere (undo, a load).
    // Where that changed what the panel edits, Escape goes back to `document`: the panel takes
    // back only what it did since.
    void SetDocument(const LogoDocument& document);
    const LogoDocument& Document() const { return FDocument; }
    // What Escape goes back to.
    const LogoDocument& StartDocument() const { return FStart; }
    // Copies what the panel edits from `from` into `into`, leaving the rest of `into` alone.
    static void CopyEdited(const LogoDocument& from, LogoDocument& into);
    // Whether `a` and `b` hold the same in what the panel edits.
    static bool SameEdited(const LogoDocument& a, const LogoDocument& b);

    // The look of the dark list: colours and the captions' font.
    void SetColors(TColor color, TColor text, TColor highlight, TColor highlightText);
    void SetCaptionFont(const QFont& value);

    TTrackBar* Bar(TBar bar) const { return FBars[bar]; }
    TColorSwatch* Swatch(TSwatch swatch) const { return FSwatches[swatch]; }
    TShineSpeedButton* Button(TButton button) const { return FButtons[button]; }
    TEdit* TaglineEdit() const { return FTagline; }
    // The name of a bar as its caption and its value hint give it, and how its value reads.
    static QString BarName(TBar bar);
    static QString ValueText(TBar bar, int position);

    // Paints the panel's face and captions at (0, 0) of `painter`, without its controls.
    void PaintTo(QPainter& painter) const;

    // A change of the logo; `document` is the whole document the panel holds.
    std::function<void(const LogoDocument& document, TStep step)> OnChange;
    // A drag ended or the tagline field was left: the next change is a step of its own.
    std::function<void()> OnEndRun;
    // Escape: `start` is what the logo held when the panel opened.
    std::function<void(const LogoDocument& start)> OnRestore;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateBars();
    void CreateSwatches();
    void CreateButtons();
    void CreateTagline();
    void OrderTabs();
    void StyleButton(TShineSpeedButton* button) const;
    void ShowValues();
    void Change(const std::function<void(LogoDocument&)>& mutate, TStep step);
    void PickColor(TSwatch swatch);
    void ButtonClicked(TButton button);

    LogoDocument FDocument;
    LogoDocument FStart;
    // The third colour a gradient gets back when it is given three again.
    TColor FThirdColor = clWhite;
    // Set while the controls are brought to the document, so their events report nothing.
    bool FShowing = false;
    std::array<TTrackBar*, kBars> FBars {};
    std::array<TColorSwatch*, kSwatches> FSwatches {};
    std::array<TShineSpeedButton*, kButtons> FButtons {};
    TEdit* FTagline = nullptr;
    TColorDialog FColorDialog;
    TColor FColor = 0x00400000;
    TColor FTextColor = clWhite;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    QFont FCaptionFont;
};
