// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/TApplication.h"

#include <QTest>

// A QTest main that runs under the program's own application object, titled as the program.
#define QUILVORO_APP_TEST_MAIN(TestObject)                                                         \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        TApplication app(argc, argv);                                                              \
        app.SetTitle(QStringLiteral("Quilvoro"));                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
