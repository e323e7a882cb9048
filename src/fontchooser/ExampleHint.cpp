#include "fontchooser/ExampleHint.h"

TExampleHint::TExampleHint(QWidget* owner)
    : THintWindow(owner)
{
    hide();
}

void TExampleHint::SetSampleFont(const QFont& font)
{
    if (FFont == font)
        return;
    FFont = font;
    CanvasFont().SetName(font.family());
    CanvasFont().SetHeight(-font.pixelSize());
    update();
}
