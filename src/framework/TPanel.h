// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TPanelBevel.h"

#include <QWidget>

// A filled panel with optional outer and inner 3-D bevels, each BevelWidth pixels wide.
class TPanel : public QWidget
{
    Q_OBJECT
    // Published so that children taking their parent's colour can read it.
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TPanel(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);

    // The area inside the bevels, where aligned children go.
    QRect ClientRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A panel is a window of its own: presses on it never reach the form beneath.
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor FColor = clBtnFace;
    TPanelBevel FBevelOuter = bvNone;
    TPanelBevel FBevelInner = bvNone;
    int FBevelWidth = 1;
};
