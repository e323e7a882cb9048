// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/DocumentRenderer.h"

#include <QRect>
#include <QString>

#include <functional>

// What only the window does, handed to the helpers that need it (shortcuts, the preview's menu,
// drops) so that they change the logo through the editor and call no handler of the form.
struct TWindowCommands
{
    // 新規, 読込, 保存 and BMP保存, each as its button does it.
    std::function<void()> newLogo;
    std::function<void()> openLogo;
    std::function<void()> saveLogo;
    std::function<void()> exportPicture;
    // Loads a logo file as 読込 does, without asking for it.
    std::function<void(const QString& fileName)> loadLogo;
    // A picture file as the background or the texture; false (after a message) when it cannot
    // be read.
    std::function<bool(const QString& fileName)> setBackground;
    std::function<bool(const QString& fileName)> setTexture;
    // What the preview shows, and the selection frame's region in it (preview pixels).
    std::function<PreviewScene()> shownScene;
    std::function<QRect()> selectionRegion;
};
