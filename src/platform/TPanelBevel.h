// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The look of one bevel of a panel.
enum TPanelBevel { bvNone, bvLowered, bvRaised };
