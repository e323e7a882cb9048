// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FontInfo.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// Every benchmark program starts the same way: offscreen, with the layout's face names mapped
// onto this system's faces, as the program itself does.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FontInfo::InstallSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
