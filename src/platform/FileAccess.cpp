// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FileAccess.h"

#include "platform/ErrorText.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace FileAccess {

namespace {

struct TSystemCalls
{
    WriteCall write = ::write;
    SyncCall sync = ::fdatasync;
};

TSystemCalls& Calls()
{
    static TSystemCalls calls;
    return calls;
}

QString SystemReason(int error)
{
    return ErrorText::OfErrno(error);
}

bool Fail(QString* error, const QString& reason)
{
    *error = reason;
    return false;
}

bool FailErrno(QString* error)
{
    return Fail(error, SystemReason(errno));
}

// Writes all of `contents`, going on after a short write; a write that stops with an error
// gives that error, not a silent short count.
bool WriteAll(int fd, const QByteArray& contents, QString* error)
{
    qsizetype done = 0;
    while (done < contents.size()) {
        const ssize_t written =
            Calls().write(fd, contents.constData() + done, size_t(contents.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // a write of nothing with no error cannot go on either: the disk took no byte
            return Fail(error, WriteErrorReason(written < 0 ? errno : ENOSPC));
        }
        done += written;
    }
    return true;
}

bool WriteAndSync(int fd, const QByteArray& contents, QString* error)
{
    if (!WriteAll(fd, contents, error))
        return false;
    if (Calls().sync(fd) != 0) {
        const QString reason = SystemReason(errno);
        return Fail(error,
                    ErrorText::Say(u"ディスクヘノ書込ミヲ完了デキマセン (%1)"_s,
                                   u"cannot finish writing to the disk (%1)"_s)
                        .arg(reason));
    }
    return true;
}

QString NotRegularReason()
{
    return ErrorText::Say(u"通常ノファイルデハアリマセン"_s, u"not a regular file"_s);
}

// The file a name leads to through its links, so that a link stays a link.
QByteArray TargetOf(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return QFile::encodeName(target.isEmpty() ? fileName : target);
}

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray PrefixOf(const QByteArray& path)
{
    constexpr qsizetype kNameMax = 255;
    constexpr qsizetype kDecoration = 1 + 10 + 6; // ".", ".quilvoro-", XXXXXX
    return '.' + path.mid(path.lastIndexOf('/') + 1).left(kNameMax - kDecoration) + ".quilvoro-";
}

// Removes temporaries of the same target whose writer is gone: a live writer holds its lock.
void RemoveStaleTemporaries(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || name.size() != prefix.size() + 6)
            continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status = {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

QByteArray RandomSuffix()
{
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, 'X');
    for (char& c : suffix)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return suffix;
}

// Makes and locks a new temporary; -1 with errno set when it cannot be made.
int CreateTemporary(const QByteArray& folder, const QByteArray& prefix, QByteArray* name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = folder + '/' + prefix + RandomSuffix();
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        struct stat status = {};
        // another writer may have taken it for stale before the lock
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &status) == 0 && status.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Why the existing `target` cannot be replaced, or empty.
QString ReplaceProblem(const QByteArray& target, struct stat* old, bool* exists)
{
    *exists = ::stat(target.constData(), old) == 0;
    if (!*exists)
        return errno == ENOENT ? QString() : SystemReason(errno);
    if (S_ISDIR(old->st_mode))
        return SystemReason(EISDIR);
    if (!S_ISREG(old->st_mode))
        return NotRegularReason();
    // the same check for a read-only file and a read-only mount, each with its own reason
    if (::access(target.constData(), W_OK) != 0)
        return SystemReason(errno);
    return QString();
}

} // namespace

TOpenResult OpenRegularFile(QFile& file, const QString& fileName, QString* error)
{
    // Non-blocking, so that opening a FIFO returns at once; the flag goes before reading.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = SystemReason(errno);
        return TOpenResult::Failed;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        *error = SystemReason(errno);
        ::close(fd);
        return TOpenResult::Failed;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        *error = NotRegularMessage(fileName);
        return TOpenResult::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = flags < 0 ? SystemReason(errno) : ErrorText::OfQt(file.errorString());
        ::close(fd);
        return TOpenResult::Failed;
    }
    return TOpenResult::Opened;
}

QString NotRegularMessage(const QString& fileName)
{
    return ErrorText::Say(
               u"\"%1\" ハ通常ノファイルデハアリマセン。読込メルノハ通常ノファイルダケデス。"_s,
               u"\"%1\" is not a regular file; only regular files are read"_s)
        .arg(fileName);
}

QString WriteErrorReason(int error)
{
    return SystemReason(error);
}

QString TemporaryPrefix(const QString& fileName)
{
    return QFile::decodeName(PrefixOf(QFile::encodeName(fileName)));
}

bool WriteFileAtomically(const QString& fileName, const QByteArray& contents, QString* error)
{
    const QByteArray target = TargetOf(fileName);
    struct stat old = {};
    bool exists = false;
    const QString problem = ReplaceProblem(target, &old, &exists);
    if (!problem.isEmpty())
        return Fail(error, problem);
    const QByteArray folder = FolderOf(target);
    const QByteArray prefix = PrefixOf(target);
    RemoveStaleTemporaries(folder, prefix);
    QByteArray temporary;
    const int fd = CreateTemporary(folder, prefix, &temporary);
    if (fd < 0)
        return FailErrno(error);
    if (exists)
        ::fchmod(fd, old.st_mode & 07777); // at worst the new file has the default mode
    bool written = WriteAndSync(fd, contents, error);
    if (written && ::rename(temporary.constData(), target.constData()) != 0)
        written = FailErrno(error);
    if (!written)
        ::unlink(temporary.constData());
    ::close(fd); // the lock goes only after the rename
    return written;
}

bool WriteFileInPlace(const QString& fileName, const QByteArray& contents, QString* error)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return FailErrno(error);
    struct stat status = {};
    bool written = ::fstat(fd, &status) == 0 ? true : FailErrno(error);
    if (written && !S_ISREG(status.st_mode))
        written = Fail(error, NotRegularReason());
    // one writer at a time, or two would cut and fill the file in turns (released on close)
    if (written) {
        int locked;
        do
            locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0)
            written = FailErrno(error);
    }
    if (written && ::ftruncate(fd, 0) != 0)
        written = FailErrno(error);
    written = written && WriteAndSync(fd, contents, error);
    ::close(fd);
    return written;
}

bool MakeFolder(const QString& path, QString* error)
{
    const QByteArray bytes = QFile::encodeName(path);
    for (qsizetype end = bytes.indexOf('/', 1);; end = bytes.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? bytes : bytes.left(end);
        struct stat status = {};
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return FailErrno(error);
        if (::stat(part.constData(), &status) != 0)
            return FailErrno(error);
        if (!S_ISDIR(status.st_mode))
            return Fail(error, SystemReason(ENOTDIR));
        if (end < 0)
            return true;
    }
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat first = {}, second = {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

void SetSystemCalls(WriteCall write, SyncCall sync)
{
    Calls().write = write ? write : ::write;
    Calls().sync = sync ? sync : ::fdatasync;
}

} // namespace FileAccess
