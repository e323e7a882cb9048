#include "fontchooser/ExampleHint.h"

#include "platform/TextOutput.h"

#include <QPainter>

namespace {

constexpr unsigned kHintFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

} // namespace

TExampleHint::TExampleHint(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TExampleHint::SetColor(TColor color)
{
    if (FColor == color)
        return;
    FColor = color;
    update();
}

void TExampleHint::SetSampleFont(const QFont& font)
{
    if (FFont == font)
        return;
    FFont = font;
    update();
}

QRect TExampleHint::CalcHintRect(int maxWidth, const QString& text) const
{
    QRect rect(0, 0, maxWidth, 0);
    DrawText(nullptr, FFont, text, rect, kHintFormat | DT_CALCRECT);
    // room for the frame and the text margin
    rect.setRight(rect.right() + 6);
    rect.setBottom(rect.bottom() + 2);
    return rect;
}

void TExampleHint::ActivateHint(const QRect& rect, const QString& text)
{
    FText = text;
    setGeometry(rect);
    show();
    raise();
    update();
}

void TExampleHint::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(FColor));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(ToQColor(clInfoText));
    QRect text = rect().adjusted(3, 3, -1, -1);
    DrawText(&p, FFont, FText, text, kHintFormat);
}
