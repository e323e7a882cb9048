// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/Workers.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace Workers {

namespace {

std::atomic<int> Chosen = 0;

} // namespace

int Count()
{
    const int chosen = Chosen.load();
    return chosen > 0 ? chosen : std::max(1, int(std::thread::hardware_concurrency()));
}

void SetCount(int threads)
{
    Chosen = std::max(0, threads);
}

void ForEach(int items, int threads, const std::function<void(int worker, int item)>& task)
{
    threads = std::clamp(threads, 1, std::max(1, items));
    std::atomic<int> next = 0;
    std::mutex failed;
    std::exception_ptr failure;
    const auto work = [&](int worker) {
        try {
            for (int item = next++; item < items; item = next++)
                task(worker, item);
        } catch (...) {
            // The others stop at their next item.
            next = items;
            const std::scoped_lock lock(failed);
            if (!failure)
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(std::size_t(threads - 1));
    for (int worker = 1; worker < threads; ++worker) {
        try {
            helpers.emplace_back(work, worker);
        } catch (const std::system_error&) {
            break; // the threads there are do the work
        }
    }
    work(0);
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace Workers
