// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Qt's own texts (dialog buttons, the file and colour dialogs) in Japanese, like the rest of the
// interface.
namespace Translation {

// Installs Qt's Japanese translation into the running application. Returns false, changing
// nothing, when the translation is not installed: Qt's texts then stay in English.
bool LoadJapanese();

} // namespace Translation
