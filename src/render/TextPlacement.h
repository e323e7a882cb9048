#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>

class QColor;
class QPainter;
class QTransform;

// Where and how a caption is drawn: the text cell's top-left corner in device pixels (the pivot
// of the rotation), the baseline below it and the rotation, shared by every layer of one paint.
// Offsets move a layer on the screen and do not turn with the text.
struct TextPlacement
{
    QString text;
    QFont font;
    int baseline = 0;
    int escapement = 0; // degrees, counter-clockwise
    QPoint origin;
    // A warped caption is filled from these outlines (in the text's frame, like the cell)
    // instead of drawn as text: the letters, and the underline or strike-out apart, because
    // filling them as one outline would cut holes where they overlap.
    bool warped = false;
    QPainterPath warpedLetters;
    QPainterPath warpedLines;

    QTransform TransformAt(QPoint offset) const;

    // One text draw of the caption in `colour`, moved by `offset`.
    void Draw(QPainter& painter, QPoint offset, const QColor& colour) const;

    // The outline of the letters (with their underline or strike-out) in device coordinates.
    QPainterPath Path(QPoint offset) const;

    // The letters' extent in device coordinates, generously rounded out.
    QRect Bounds(QPoint offset) const;
};
