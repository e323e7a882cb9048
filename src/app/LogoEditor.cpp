// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoEditor.h"

TLogoEditor::TLogoEditor(QObject* parent)
    : QObject(parent)
{ }

void TLogoEditor::Change(const std::function<void(LogoDocument&)>& mutate, int kind)
{
    mutate(FDocument);
    FPreview.reset();
    // Shown even when nothing changed: the window may show more than the document holds.
    Q_EMIT Changed();
    Record(kind);
}

void TLogoEditor::SetTexture(const QString& fileName, const QImage& picture)
{
    FPictures.texture = picture;
    Change([&](LogoDocument& d) { d.TextureFile = fileName; }, TLogoHistory::hkOther);
}

void TLogoEditor::SetBackground(const QString& fileName, const QImage& picture)
{
    FPictures.background = fileName.isEmpty() ? QImage() : picture;
    Change([&](LogoDocument& d) { d.BackgroundFile = fileName; }, TLogoHistory::hkOther);
}

void TLogoEditor::Replace(const LogoDocument& document, const RenderPictures& pictures)
{
    FPictures = pictures;
    if (document.BackgroundFile.isEmpty())
        FPictures.background = QImage();
    Change([&](LogoDocument& d) { d = document; }, TLogoHistory::hkOther);
}

void TLogoEditor::Preview(const LogoDocument& shown)
{
    FPreview = shown;
    Q_EMIT PreviewChanged();
}

void TLogoEditor::EndPreview()
{
    if (!FPreview)
        return;
    FPreview.reset();
    Q_EMIT PreviewChanged();
}

void TLogoEditor::EndRun()
{
    if (FHistory)
        FHistory->EndRun();
}

void TLogoEditor::Record(int kind)
{
    if (FHistory)
        FHistory->Record(kind);
}
