// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FileAccess.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Helpers for tests that check the bytes of files the program writes.
namespace FileTesting {

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The message of the exception of type E that `action` throws, or an empty string.
template<typename E, typename F> QString FailureOf(F action)
{
    try {
        action();
    } catch (const E& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

// Limits the size of files the process writes while it lives, so that a write fails halfway
// as on a full disk (a permission cannot do that for root).
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FSaved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit FSaved {};
    void (*FOldHandler)(int) = nullptr;
};

// Puts a failing disk under the program's file writing while it lives.
class TFailingDisk
{
public:
    struct TScript
    {
        size_t chunk = 0; // each write takes at most this many bytes; 0 = all asked
        qint64 capacity = -1; // bytes the disk takes in all before writes fail; -1 = no limit
        int writeError = ENOSPC; // errno of a write that finds the disk full
        int syncError = 0; // errno of every flush to the disk; 0 = flushes succeed
        int interruptions = 0; // the first writes fail with EINTR, as after a signal
    };

    explicit TFailingDisk(const TScript& script)
    {
        Script() = script;
        Written() = 0;
        FileAccess::SetSystemCalls(Write, Sync);
    }
    ~TFailingDisk() { FileAccess::SetSystemCalls(nullptr, nullptr); }
    TFailingDisk(const TFailingDisk&) = delete;
    TFailingDisk& operator=(const TFailingDisk&) = delete;

private:
    static TScript& Script()
    {
        static TScript script;
        return script;
    }
    static qint64& Written()
    {
        static qint64 written = 0;
        return written;
    }

    static ssize_t Write(int fd, const void* data, size_t size)
    {
        TScript& s = Script();
        if (s.interruptions > 0) {
            --s.interruptions;
            errno = EINTR;
            return -1;
        }
        if (s.capacity >= 0) {
            const qint64 room = s.capacity - Written();
            if (room <= 0) {
                errno = s.writeError;
                return -1;
            }
            size = std::min(size, size_t(room));
        }
        if (s.chunk)
            size = std::min(size, s.chunk);
        const ssize_t written = ::write(fd, data, size);
        if (written > 0)
            Written() += written;
        return written;
    }

    static int Sync(int fd)
    {
        if (Script().syncError) {
            errno = Script().syncError;
            return -1;
        }
        return ::fdatasync(fd);
    }
};

} // namespace FileTesting
