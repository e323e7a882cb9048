// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Settings.h"

#include <QSettings>

QSettings Settings::Open()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quilvoro"),
                     QStringLiteral("Quilvoro"));
}
