// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/WarpChooser.h"

#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "app/ValueHints.h"
#include "app/WarpGallery.h"
#include "app/WindowActions.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TPanel.h"
#include "framework/TTrackBar.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

TWarpChooser::TWarpChooser(TMakeForm1* form)
    : QObject(form)
    , FForm(form)
    , FAction(new QAction(u"変形…"_s, form))
{
    FAction->setObjectName(u"WarpAction"_s);
    FAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    FAction->setShortcutContext(Qt::WindowShortcut);
    form->addAction(FAction);
    connect(FAction, &QAction::triggered, this, &TWarpChooser::Open);
    if (form->Actions) {
        form->Actions->PreviewMenu()->addSeparator();
        form->Actions->PreviewMenu()->addAction(FAction);
    }
}

void TWarpChooser::CreateGallery()
{
    FGallery = new TWarpGallery(FForm);
    // The dark list of the font chooser.
    TFontComboBox* fonts = FForm->FontComboBox1;
    FGallery->SetColors(fonts->Color(), fonts->Font()->Color(), fonts->HighlightColor(),
                        fonts->HighlightTextColor());
    FGallery->SetCaptionFont(fonts->Font()->ToQFont());

    TdxfLabel* label = FForm->Label1;
    FGallery->OnPreview = [label](TLogoWarp warp, int amount) {
        label->SetWarp(warp);
        label->SetWarpAmount(amount);
    };
    TLogoHistory* history = FForm->History;
    FGallery->OnApply = [label, history](TLogoWarp warp, int amount, bool dragging) {
        label->SetWarp(warp);
        label->SetWarpAmount(amount);
        if (history)
            history->Record(dragging ? TLogoHistory::hkWarpAmount : TLogoHistory::hkOther);
    };
    TTrackBar* bar = FGallery->AmountBar();
    if (history) {
        connect(bar, &QAbstractSlider::sliderPressed, history, &TLogoHistory::EndRun);
        connect(bar, &QAbstractSlider::sliderReleased, history, &TLogoHistory::EndRun);
    }
    if (FForm->ValueHints)
        FForm->ValueHints->Watch(bar, u"変形ノ量"_s);
}

void TWarpChooser::Open()
{
    if (!FGallery)
        CreateGallery();
    if (FForm->History)
        FForm->History->EndRun();
    const QRect preview(FForm->Panel0->mapToGlobal(QPoint()), FForm->Panel0->size());
    FGallery->Open(FForm->ShownScene(), FForm->Label1->Warp(), FForm->Label1->WarpAmount(),
                   preview);
}
