#pragma once

#include "platform/Colors.h"

#include <QFont>
#include <QWidget>

// A plain hint window: one line of sample text on a filled, black-framed box, shown beside the
// font list without taking the focus.
class TExampleHint : public QWidget
{
    Q_OBJECT

public:
    explicit TExampleHint(QWidget* owner);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    QFont SampleFont() const { return FFont; }
    void SetSampleFont(const QFont& font);

    // The size the window needs for `text`, wrapped at `maxWidth` pixels, at (0, 0).
    QRect CalcHintRect(int maxWidth, const QString& text) const;
    // Shows `text` in the screen rectangle `rect`.
    void ActivateHint(const QRect& rect, const QString& text);
    void ReleaseHandle() { hide(); }

    QString Text() const { return FText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor FColor = clInfoBk;
    QFont FFont;
    QString FText;
};
