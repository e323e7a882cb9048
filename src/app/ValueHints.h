// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;
class TTrackBar;
struct THintInfo;

// Makes the value of each watched track bar visible: its hint shows the value ("サイズ: 100")
// when the mouse rests on it, and pops up at the thumb at once while the bar is dragged or moved
// by key. A double click opens a small entry for an exact value, starting from the value before
// its first click, which moved the thumb to the pointer.
class TValueHints : public QObject
{
    Q_OBJECT

public:
    using TFormat = std::function<QString(int position)>;

    explicit TValueHints(QWidget* dialogParent);

    // `name` heads the value text and the entry's label; `format` writes the value (plain number
    // when empty).
    void Watch(TTrackBar* bar, const QString& name, TFormat format = {});

    // "name: value" for the bar's current position; empty for a bar not watched.
    QString ValueText(const TTrackBar* bar) const;
    QString ValueText(const TTrackBar* bar, int position) const;

    // The hint component's show-hint event: adds the value to a watched bar's hint.
    void ShowHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo) const;

    // Shows the bar's hint at its thumb now, as a drag or a key move does.
    void ShowAtThumb(TTrackBar* bar) const;

    // Asks for an exact value and moves the bar to it; false when the user cancels.
    bool EnterValue(TTrackBar* bar) const;

    // Runs just before a double click puts back the value its first click moved, so that the
    // change can be taken as undoing that click rather than as a change of its own.
    std::function<void()> OnTakeBackClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        TTrackBar* bar;
        QString name;
        TFormat format;
    };
    const Entry* Find(const QObject* bar) const;

    QWidget* FDialogParent;
    std::vector<Entry> FEntries;
};
