// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/LogoHistory.h"
#include "document/LogoDocument.h"
#include "render/DocumentRenderer.h"

#include <QObject>

#include <functional>
#include <optional>

// The logo being edited: its document and the pictures the document names, loaded. Every change
// of the logo goes through here, so the undo history sees each one with its kind, and whatever
// shows the logo (the window's controls and preview, the panels beside it) follows Changed().
class TLogoEditor : public QObject
{
    Q_OBJECT

public:
    explicit TLogoEditor(QObject* parent = nullptr);

    const LogoDocument& Document() const { return FDocument; }
    // The pictures the document names as loaded; null where there is none or it could not be
    // read. The background only while the document names one.
    const RenderPictures& Pictures() const { return FPictures; }
    // What the preview shows: the document, or while a preview lasts the one it shows.
    const LogoDocument& Shown() const { return FPreview ? *FPreview : FDocument; }
    bool Previewing() const { return FPreview.has_value(); }

    // One change of the logo, of a TLogoHistory kind: changes of one mergeable kind within a
    // run make one undo step; hkOther never merges. A preview ends with it.
    void Change(const std::function<void(LogoDocument&)>& mutate, int kind);
    // A picture and the file it came from, as one step; an empty name and picture remove it.
    void SetTexture(const QString& fileName, const QImage& picture);
    void SetBackground(const QString& fileName, const QImage& picture);
    // The whole logo at once (New, Load, undo and redo): one step of its own.
    void Replace(const LogoDocument& document, const RenderPictures& pictures);

    // Shows `shown` in the preview without changing the logo (a gallery's pointer over a
    // choice), until EndPreview or the next change.
    void Preview(const LogoDocument& shown);
    void EndPreview();

    // The next change starts an undo step of its own.
    void EndRun();

    // The history that records every change; none records nothing.
    void SetHistory(TLogoHistory* history) { FHistory = history; }
    TLogoHistory* History() const { return FHistory; }

Q_SIGNALS:
    // After every change, undo, redo, load and new; the preview follows too.
    void Changed();
    // A preview started or ended: the preview alone is to show Shown().
    void PreviewChanged();

private:
    void Record(int kind);

    LogoDocument FDocument;
    RenderPictures FPictures;
    std::optional<LogoDocument> FPreview;
    TLogoHistory* FHistory = nullptr;
};
