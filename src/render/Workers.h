// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

// The threads a large picture is worked on: its pieces are handed out one at a time to this
// thread and a few more, as each takes the next, so that a slow piece does not hold up the rest.
namespace Workers {

// How many threads share a large piece of work: the processor's cores unless set otherwise.
int Count();
// Sets Count() (0: the processor's cores again); 1 does all the work on the calling thread.
void SetCount(int threads);

// Runs task(worker, item) for every item in [0, items) on up to `threads` threads, this one
// among them; `worker` tells apart the threads (0 .. threads - 1), for scratch space of their
// own. What the first task to fail throws is thrown here once every thread has stopped.
void ForEach(int items, int threads, const std::function<void(int worker, int item)>& task);

} // namespace Workers
