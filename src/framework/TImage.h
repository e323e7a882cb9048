// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QWidget>

// A picture shown as is, centred, or stretched to the control.
class TImage : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& value);
    void ClearPicture() { SetPicture(QImage()); }

    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);

    // Where the picture lands inside the control.
    QRect PictureRect() const;
    // Paints the picture as the control shows it, with `origin` as the control's top-left corner.
    void PaintTo(QPainter& painter, QPoint origin = {}) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FPicture;
    bool FStretch = false;
    bool FCenter = false;
};
