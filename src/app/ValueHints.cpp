// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ValueHints.h"

#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "framework/THintWindow.h"
#include "framework/TTrackBar.h"

#include <QEvent>
#include <QPointer>

using namespace Qt::StringLiterals;

TValueHints::TValueHints(QWidget* dialogParent)
    : QObject(dialogParent)
    , FDialogParent(dialogParent)
{ }

void TValueHints::Watch(TTrackBar* bar, const QString& name, TFormat format)
{
    FEntries.push_back({bar, name, std::move(format)});
    bar->installEventFilter(this);
    // A drag or a key moves the bar; a program's write (load, undo) shows nothing.
    connect(bar, &QAbstractSlider::valueChanged, this, [this, bar] {
        if (bar->isSliderDown())
            ShowAtThumb(bar);
    });
    // Key and wheel steps announce themselves before the value follows.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar] { ShowAtThumb(bar); });
}

const TValueHints::Entry* TValueHints::Find(const QObject* bar) const
{
    for (const Entry& entry : FEntries) {
        if (entry.bar == bar)
            return &entry;
    }
    return nullptr;
}

QString TValueHints::ValueText(const TTrackBar* bar) const
{
    return ValueText(bar, bar->sliderPosition());
}

QString TValueHints::ValueText(const TTrackBar* bar, int position) const
{
    const Entry* entry = Find(bar);
    if (!entry)
        return {};
    const QString value = entry->format ? entry->format(position) : QString::number(position);
    return entry->name + u": "_s + value;
}

void TValueHints::ShowHint(QString& HintStr, bool&, THintInfo& HintInfo) const
{
    const auto* bar = qobject_cast<const TTrackBar*>(HintInfo.HintControl.data());
    if (bar && Find(bar))
        HintStr += u"　"_s + ValueText(bar);
}

void TValueHints::ShowAtThumb(TTrackBar* bar) const
{
    TApplication* app = TApplication::Instance();
    if (!app || !app->ShowHint() || !bar->isVisible())
        return;
    const QPoint thumb = bar->mapToGlobal(bar->ThumbRect().center());
    app->HintMouseMessage(bar, thumb);
    app->ActivateHint(thumb);
}

bool TValueHints::EnterValue(TTrackBar* bar) const
{
    const Entry* entry = Find(bar);
    if (!entry)
        return false;
    const TApplication* app = TApplication::Instance();
    const QString label = entry->name + u" (%1～%2) :"_s.arg(bar->Min()).arg(bar->Max());
    const std::optional<int> value =
        TDialogs::Current().AskInteger(FDialogParent, app ? app->Title() : QString(), label,
                                       bar->Position(), bar->Min(), bar->Max());
    if (!value)
        return false;
    bar->SetPosition(*value);
    return true;
}

bool TValueHints::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* bar = qobject_cast<TTrackBar*>(watched); bar && Find(bar)) {
            if (const std::optional<int> start = bar->PressStart();
                start && *start != bar->Position()) {
                if (OnTakeBackClick)
                    OnTakeBackClick();
                bar->SetPosition(*start);
            }
            // the entry's dialog closes any popup; one the bar lives in comes back after it
            const QPointer<QWidget> popup =
                bar->window()->windowType() == Qt::Popup ? bar->window() : nullptr;
            EnterValue(bar);
            if (popup && !popup->isVisible()) {
                popup->show();
                popup->activateWindow();
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
