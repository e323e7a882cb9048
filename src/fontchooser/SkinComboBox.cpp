// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/SkinComboBox.h"

#include "fontchooser/SkinItemDelegate.h"
#include "platform/Property.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QListView>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

constexpr int kBorder = 2;
constexpr int kButtonWidth = 17;
constexpr int kDropDownCount = 8;

// Frames a rectangle given by exclusive right and bottom edges, one pixel wide.
void FrameRect(QPainter& p, int left, int top, int right, int bottom, const QColor& color)
{
    if (right <= left || bottom <= top)
        return;
    p.fillRect(left, top, right - left, 1, color);
    p.fillRect(left, bottom - 1, right - left, 1, color);
    p.fillRect(left, top, 1, bottom - top, color);
    p.fillRect(right - 1, top, 1, bottom - top, color);
}

bool IsSteppingKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

TSkinComboBox::TSkinComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setMaxVisibleItems(kDropDownCount);
    // a plain drop-down list with a scroll bar, not a menu-like popup with scroll arrows
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    auto* list = new QListView(this);
    list->setUniformItemSizes(true);
    setView(list);
    // With a view of its own the base class no longer reports the highlighted entry of the
    // open list; the view's current entry is that highlight.
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                Q_EMIT highlighted(current.row());
                Q_EMIT textHighlighted(itemText(current.row()));
            });
    // the popup can also close without hidePopup(), e.g. by a click outside it
    view()->window()->installEventFilter(this);
    setItemDelegate(new TSkinItemDelegate(this));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setFont(FFont.ToQFont());
    FFont.OnChange = [this] {
        setFont(FFont.ToQFont());
        update();
    };
    connect(this, &QComboBox::activated, this, &TSkinComboBox::UserSelected);
}

TSkinComboBox::~TSkinComboBox()
{
    FFont.OnChange = nullptr;
}

void TSkinComboBox::SetBoolean(int index, bool value)
{
    if (index == 0) {
        if (!StoreIfChanged(FFlat, value))
            return;
        RepaintBorder();
    } else if (index == 1) {
        if (!StoreIfChanged(FMRUList, value))
            return;
        if (!value)
            ClearMRU();
    }
}

void TSkinComboBox::SetInteger(int index, int value)
{
    if (index == 0) {
        if (!StoreIfChanged(FDropDownWidth, value))
            return;
    } else if (index == 1) {
        // a section of no entries cannot take any; negative capacities mean the same
        value = std::max(0, value);
        if (!StoreIfChanged(FMRUMax, value))
            return;
        if (FMRUCount > FMRUMax) {
            const QString selected = currentText();
            const bool selectedWasMRU = currentIndex() >= FMRUMax && currentIndex() < FMRUCount;
            while (FMRUCount > FMRUMax) {
                removeItem(FMRUCount - 1);
                --FMRUCount;
            }
            if (selectedWasMRU)
                ReselectOrdinary(selected);
        }
    }
}

void TSkinComboBox::ClearMRU()
{
    if (FMRUCount == 0)
        return;
    const QString selected = currentText();
    const bool selectedWasMRU = currentIndex() >= 0 && currentIndex() < FMRUCount;
    while (FMRUCount > 0) {
        removeItem(0);
        --FMRUCount;
    }
    if (selectedWasMRU)
        ReselectOrdinary(selected);
}

void TSkinComboBox::ReselectOrdinary(const QString& text)
{
    for (int i = FMRUCount; i < count(); ++i) {
        if (itemText(i) == text) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}

void TSkinComboBox::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        update();
}

void TSkinComboBox::SetHighlightColor(TColor value)
{
    if (StoreIfChanged(FHighlightColor, value))
        update();
}

void TSkinComboBox::SetHighlightTextColor(TColor value)
{
    if (StoreIfChanged(FHighlightTextColor, value))
        update();
}

void TSkinComboBox::SetItemHeight(int value)
{
    if (!StoreIfChanged(FItemHeight, value))
        return;
    updateGeometry();
    update();
}

int TSkinComboBox::Tag(int index) const
{
    return itemData(index, TagRole).toInt();
}

void TSkinComboBox::SetTag(int index, int tag)
{
    setItemData(index, tag, TagRole);
}

bool TSkinComboBox::UsesFlatLook() const
{
    return (FFlat && !FMouseInside && !hasFocus() && !FEditFocus) || (FExiting && FFlat);
}

void TSkinComboBox::PaintBorder(QPainter& p, const QSize& size) const
{
    const int w = size.width();
    const int h = size.height();
    const QColor face = ToQColor(clBtnFace);
    if (UsesFlatLook()) {
        FrameRect(p, 0, 0, w, h, face);
        FrameRect(p, 1, 1, w - 1, h - 1, face);
        FrameRect(p, 2, 2, w - 2, h - 2, ToQColor(clWindow));
        return;
    }
    FrameRect(p, 1, 1, w, h, ToQColor(clWindowFrame));
    FrameRect(p, 0, 0, w - 1, h - 1, face);
    // sunken outer edge: shadow on top and left, highlight on bottom and right
    const QColor shadow = ToQColor(clBtnShadow);
    const QColor highlight = ToQColor(clBtnHighlight);
    p.fillRect(0, 0, w - 1, 1, shadow);
    p.fillRect(0, 0, 1, h - 1, shadow);
    p.fillRect(0, h - 1, w, 1, highlight);
    p.fillRect(w - 1, 0, 1, h, highlight);
}

QRect TSkinComboBox::ButtonRect() const
{
    return QRect(width() - kBorder - kButtonWidth, kBorder, kButtonWidth, height() - 2 * kBorder);
}

QRect TSkinComboBox::FieldRect() const
{
    return QRect(QPoint(kBorder + 1, kBorder + 1),
                 QPoint(ButtonRect().left() - 2, height() - kBorder - 2));
}

void TSkinComboBox::DrawItem(QPainter& p, int index, const QRect& rect, TOwnerDrawState state)
{
    const bool selected = state & odSelected;
    p.fillRect(rect, ToQColor(selected ? FHighlightColor : FColor));
    p.setPen(ToQColor(selected ? FHighlightTextColor : FFont.Color()));
    p.setFont(font());
    p.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               itemText(index));
    PaintSeparatorLine(p, rect, index, state);
}

void TSkinComboBox::PaintSeparatorLine(QPainter& p, const QRect& rect, int index,
                                       TOwnerDrawState state) const
{
    if ((state & odComboBoxEdit) || !FMRUList || index != FMRUCount - 1)
        return;
    const int bottom = rect.bottom() + 1; // exclusive, as the two lines are counted from it
    p.fillRect(rect.left(), bottom - 3, rect.width(), 1, Qt::black);
    p.fillRect(rect.left(), bottom - 1, rect.width(), 1, Qt::black);
}

void TSkinComboBox::showPopup()
{
    FDroppedDown = true;
    QComboBox::showPopup();
    QWidget* container = view()->window();
    if (container == window())
        return;
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const int width = std::max(this->width(), FDropDownWidth);
    // the style may ignore maxVisibleItems; the list shows at most that many entries
    if (container->layout())
        container->layout()->activate();
    const int frame = container->height() - view()->viewport()->height();
    const int rows = std::clamp(count(), 1, maxVisibleItems());
    container->setGeometry(below.x(), below.y(), width, rows * FItemHeight + frame);
    if (container->layout())
        container->layout()->activate();
    view()->scrollTo(view()->currentIndex(), QAbstractItemView::PositionAtCenter);
    update();
}

void TSkinComboBox::hidePopup()
{
    QComboBox::hidePopup();
    ListClosed();
}

void TSkinComboBox::ListClosed()
{
    if (!FDroppedDown)
        return;
    FDroppedDown = false;
    update();
    CloseUp();
}

bool TSkinComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == view()->window() && watched != window())
        ListClosed();
    return QComboBox::eventFilter(watched, event);
}

void TSkinComboBox::ClearList()
{
    clear();
    FMRUCount = 0;
}

QSize TSkinComboBox::sizeHint() const
{
    return {QComboBox::sizeHint().width(), FItemHeight + 6};
}

QSize TSkinComboBox::minimumSizeHint() const
{
    return {QComboBox::minimumSizeHint().width(), FItemHeight + 6};
}

void TSkinComboBox::DoSelect()
{
    if (OnSelect)
        OnSelect(this);
}

void TSkinComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TSkinComboBox::UserSelected(int index)
{
    if (index < 0)
        return;
    if (OnClick)
        OnClick(this);
    Change();
    DoSelect();
    if (FMRUList)
        UpdateMRU();
    if (!FDroppedDown && !FKeyboardNavigation)
        HandOverFocus(false);
}

void TSkinComboBox::UpdateMRU()
{
    const int selected = currentIndex();
    if (selected < 0)
        return;
    const QString text = itemText(selected);
    for (int i = 0; i < FMRUCount; ++i) {
        if (itemText(i) == text) {
            setCurrentIndex(i); // already in the section: its order stays
            return;
        }
    }
    if (FMRUMax == 0)
        return;
    const int tag = Tag(selected);
    if (FMRUCount == FMRUMax)
        removeItem(FMRUMax - 1);
    else
        ++FMRUCount;
    insertItem(0, text);
    SetTag(0, tag);
    setCurrentIndex(0);
}

void TSkinComboBox::HandOverFocus(bool fromEnter)
{
    QWidget* target = FFocusControl;
    if (!target)
        return;
    if (target->window() != window()) {
        FEditFocus = false;
        target->window()->activateWindow();
    }
    target->setFocus(fromEnter ? Qt::TabFocusReason : Qt::OtherFocusReason);
    ExitCtrl();
}

void TSkinComboBox::ExitCtrl()
{
    if (FMouseInside || FEditFocus)
        return;
    FExiting = true;
    repaint();
    FExiting = false;
}

void TSkinComboBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(FColor));

    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = ButtonRect();
    button.state |= FDroppedDown ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &p, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = ButtonRect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, this);

    if (currentIndex() >= 0) {
        TOwnerDrawState state = odComboBoxEdit;
        if (hasFocus() && !FDroppedDown)
            state |= odSelected | odFocused;
        if (!isEnabled())
            state |= odDisabled;
        p.save();
        p.setClipRect(FieldRect());
        DrawItem(p, currentIndex(), FieldRect(), state);
        p.restore();
    }
    PaintBorder(p, size());
}

void TSkinComboBox::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    FMouseInside = true;
    if (FFlat && !hasFocus())
        RepaintBorder();
}

void TSkinComboBox::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    FMouseInside = false;
    if (FFlat && !hasFocus() && !FDroppedDown && !FEditFocus)
        RepaintBorder();
}

void TSkinComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    RepaintBorder();
}

void TSkinComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    ExitCtrl();
}

void TSkinComboBox::keyPressEvent(QKeyEvent* event)
{
    // the flag must be known before the base class steps the selection and reports it
    // every other key, a letter that jumps to an entry included, ends the stepping
    const int key = event->key();
    FKeyboardNavigation = IsSteppingKey(key);
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && FFocusControl) {
        HandOverFocus(true);
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TSkinComboBox::mousePressEvent(QMouseEvent* event)
{
    FKeyboardNavigation = false;
    QComboBox::mousePressEvent(event);
}

void TSkinComboBox::wheelEvent(QWheelEvent* event)
{
    // the wheel steps like the arrow keys: the focus stays here
    FKeyboardNavigation = true;
    QComboBox::wheelEvent(event);
}

void TSkinComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontChanged();
}
