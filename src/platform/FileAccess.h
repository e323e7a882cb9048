// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

class QFile;

// Reading and writing the files a user names, so that no file can freeze the window and no
// failure is reported as success. Reasons come in the language ErrorText speaks.
//
// Reading opens regular files only. A FIFO, socket or device would block the open or the read
// until some other program writes to it, so those are refused at once, with a message that
// says so; the check is made on the opened file, not on the name, so nothing can be swapped in
// between.
//
// Writing replaces a file through a hidden temporary file beside it, ".NAME.quilvoro-XXXXXX",
// that is written completely and flushed to the disk before it takes the old file's name: a
// write or flush that fails, a disk that fills up included, leaves the old file as it was and
// reports the reason. A temporary left by a killed writer is removed by the next write of the
// same file; one still being written is locked and left alone.
namespace FileAccess {

enum class TOpenResult { Opened, NotRegular, Failed };

// Opens `fileName` read-only into `file` when it is a regular file. On NotRegular or Failed
// `error` is set: the message that names the file (NotRegular) or the system's reason (Failed).
TOpenResult OpenRegularFile(QFile& file, const QString& fileName, QString* error);

// Why `fileName` is refused for reading: it is not a regular file.
QString NotRegularMessage(const QString& fileName);

// Replaces `fileName` with `contents` as described above, keeping the old file's permissions.
// On failure returns false and sets `error` to the reason. Refuses to replace a file that is
// not writable, a folder or anything but a regular file.
bool WriteFileAtomically(const QString& fileName, const QByteArray& contents, QString* error);

// Writes `contents` into the regular file `fileName` itself (made when missing), keeping its
// inode, for a reader that holds the file open. A failure may leave the file partly written.
bool WriteFileInPlace(const QString& fileName, const QByteArray& contents, QString* error);

// Makes the folder `path` and any missing parents; the reason is the real one of the first
// part that could not be made.
bool MakeFolder(const QString& path, QString* error);

// Whether both names lead, through any links, to the one existing file.
bool SameFile(const QString& a, const QString& b);

// The name prefix of the temporaries that replace `fileName`, ".NAME.quilvoro-".
QString TemporaryPrefix(const QString& fileName);

// The reason for a failed write or flush, for the system error number `error`.
QString WriteErrorReason(int error);

// The calls that put bytes on the disk, replaceable so tests can make them fail as a full or
// broken disk does (a short write, then an error; a flush that fails). Both return what the
// system calls return and set errno the same way. Null restores the system calls.
using WriteCall = ssize_t (*)(int fd, const void* data, size_t size);
using SyncCall = int (*)(int fd);
void SetSystemCalls(WriteCall write, SyncCall sync);

} // namespace FileAccess
