// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// A message-driven timer: OnTimer runs on the UI thread every Interval ms while Enabled.
class TTimer : public QObject
{
    Q_OBJECT

public:
    explicit TTimer(QObject* parent = nullptr);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FTimer.interval(); }
    void SetInterval(int value);

    // A free number for the owner; the slide transition keeps its phase in it.
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    // Runs the tick handler as a timeout would.
    void Tick();

    std::function<void(QObject*)> OnTimer;

private:
    void Restart();

    QTimer FTimer;
    bool FEnabled = true;
    int FTag = 0;
};
