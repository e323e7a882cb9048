// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QComboBox>
#include <QPointer>

#include <functional>

// State of an entry being drawn, with the bit values of the owner-draw notification.
enum TOwnerDrawStateBit : unsigned {
    odSelected = 0x0001,
    odDisabled = 0x0004,
    odFocused = 0x0010,
    odComboBoxEdit = 0x1000, // the entry is drawn in the field of the closed combobox
};
using TOwnerDrawState = unsigned;

// Owner-drawn drop-down list with a flat or sunken border, a most-recently-used section at the
// top of the list, a settable minimum width of the open list and a hand-over of the focus to
// another control after a choice.
class TSkinComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TSkinComboBox(QWidget* parent = nullptr);
    ~TSkinComboBox() override;

    // The item tag (font-type bits in the font combobox) lives in this role.
    static constexpr int TagRole = Qt::UserRole;

    bool Flat() const { return FFlat; }
    void SetFlat(bool value) { SetBoolean(0, value); }
    bool MRUList() const { return FMRUList; }
    void SetMRUList(bool value) { SetBoolean(1, value); }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value) { SetInteger(0, value); }
    int MRUMax() const { return FMRUMax; }
    void SetMRUMax(int value) { SetInteger(1, value); }

    // index 0 Flat, 1 MRUList
    void SetBoolean(int index, bool value);
    // index 0 DropDownWidth, 1 MRUMax
    void SetInteger(int index, int value);

    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* value) { FFocusControl = value; }

    int MRUCount() const { return FMRUCount; }
    bool isMRUItem(int index) const { return index < FMRUCount; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont* Font() { return &FFont; }
    // Fill and text of the highlighted entry (the system's highlight colours by default).
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor value);

    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);

    int Tag(int index) const;
    void SetTag(int index, int tag);

    bool DroppedDown() const { return FDroppedDown; }

    // Whether the border shows the flat look now (else the sunken 3-D look).
    bool UsesFlatLook() const;
    // Paints the border over the outermost pixels of a widget of the given size.
    void PaintBorder(QPainter& painter, const QSize& size) const;
    // The field of the closed combobox in which the selected entry is drawn.
    QRect FieldRect() const;
    QRect ButtonRect() const;

    // Draws one entry; called for the open list and for the closed field (odComboBoxEdit).
    virtual void DrawItem(QPainter& painter, int index, const QRect& rect, TOwnerDrawState state);
    // Draws the line under the last MRU entry, in the open list only.
    void PaintSeparatorLine(QPainter& painter, const QRect& rect, int index,
                            TOwnerDrawState state) const;

    void showPopup() override;
    void hidePopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    std::function<void(QObject*)> OnClick;
    std::function<void(QObject*)> OnChange;
    std::function<void(QObject*)> OnSelect;

protected:
    virtual void DoSelect();
    virtual void Change();
    virtual void FontChanged() { }
    // Runs once whenever the open list closes, by a choice or by cancelling.
    virtual void CloseUp() { }
    // Empties the list; the MRU section goes with it.
    void ClearList();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Selects the entry with exactly this text outside the MRU section (after MRU entries went).
    void ReselectOrdinary(const QString& text);
    void ClearMRU();

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UserSelected(int index);
    void UpdateMRU();
    void HandOverFocus(bool fromEnter);
    void ExitCtrl();
    void RepaintBorder() { update(); }
    void ListClosed();

    bool FEditFocus = false; // only editable combobox styles have an edit window
    bool FKeyboardNavigation = false;
    bool FMouseInside = false;
    bool FExiting = false;
    bool FFlat = false;
    int FDropDownWidth = 0;
    QPointer<QWidget> FFocusControl;
    int FMRUCount = 0;
    int FMRUMax = 5;
    bool FMRUList = false;
    bool FDroppedDown = false;
    int FItemHeight = 15;
    TColor FColor = clWindow;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    TFont FFont;
};
