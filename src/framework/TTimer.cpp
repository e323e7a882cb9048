// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TTimer.h"

#include "platform/Property.h"

TTimer::TTimer(QObject* parent)
    : QObject(parent)
{
    FTimer.setInterval(1000);
    connect(&FTimer, &QTimer::timeout, this, &TTimer::Tick);
    Restart();
}

void TTimer::SetEnabled(bool value)
{
    if (StoreIfChanged(FEnabled, value))
        Restart();
}

void TTimer::SetInterval(int value)
{
    if (FTimer.interval() == value)
        return;
    FTimer.setInterval(value);
    Restart();
}

void TTimer::Tick()
{
    if (OnTimer)
        OnTimer(this);
}

void TTimer::Restart()
{
    FTimer.stop();
    if (FEnabled && FTimer.interval() > 0)
        FTimer.start();
}
