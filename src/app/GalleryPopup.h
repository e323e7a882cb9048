// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QFont>
#include <QWidget>

class QImage;

// What the galleries that drive the preview share: a popup in the colours of the dark font
// list, cells of a thumbnail over a caption, opened beside the preview, and their keys.
class TGalleryPopup : public QWidget
{
    Q_OBJECT

public:
    // What a key does in a gallery: Escape puts back and closes, Space applies, Enter applies and
    // closes, an arrow moves by `step` cells.
    enum class TKey { Other, Escape, Apply, ApplyAndClose, Move };
    struct TKeyAction
    {
        TKey key = TKey::Other;
        int step = 0;
    };
    static TKeyAction KeyAction(int key, int columns);

    explicit TGalleryPopup(QWidget* parent);

    // The look of the dark list: colours and the captions' font.
    void SetColors(TColor color, TColor text, TColor highlight, TColor highlightText);
    void SetCaptionFont(const QFont& value);

protected:
    // Shows the popup beside `preview` (global), which stays in sight, and takes the keys.
    void ShowBeside(const QRect& preview);
    // The background and the frame, with the captions' font set.
    void PaintBackground(QPainter& painter) const;
    // One cell: `picture` centred on the top of `cell`, `thumbHeight` high, and `caption` below;
    // the chosen cell on the highlight, a hovered one framed in it.
    void PaintCell(QPainter& painter, const QRect& cell, int thumbHeight, const QImage& picture,
                   const QString& caption, bool selected, bool hovered) const;

    TColor FColor = clBlack;
    TColor FTextColor = clWhite;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    QFont FCaptionFont;
};
