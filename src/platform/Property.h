// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>

// The one setter idiom of the framework and the controls:
//
//     void SetFoo(int value) { if (StoreIfChanged(FFoo, value)) update(); }
//
// Stores `value` in `field` and answers whether it differed, so that a setter notifies or
// repaints once per real change and never for a value it already holds. A setter that acts
// whatever the value says so in a comment.
template<class T, class V> bool StoreIfChanged(T& field, V&& value)
{
    if (field == value)
        return false;
    field = std::forward<V>(value);
    return true;
}
