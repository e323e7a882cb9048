#include "platform/FileAccess.h"

#include "platform/ErrorText.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
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
            const int failure = written < 0 ? errno : ENOSPC;
            *error = WriteErrorReason(failure);
            return false;
        }
        done += written;
    }
    return true;
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
        *error = flags < 0 ? SystemReason(errno) : ErrorText::Japanese(file.errorString());
        ::close(fd);
        return TOpenResult::Failed;
    }
    return TOpenResult::Opened;
}

QString NotRegularMessage(const QString& fileName)
{
    return u"\"%1\" ハ通常ノファイルデハアリマセン。読込メルノハ通常ノファイルダケデス。"_s.arg(
        fileName);
}

QString WriteErrorReason(int error)
{
    return SystemReason(error);
}

bool WriteFileAtomically(const QString& fileName, const QByteArray& contents, QString* error)
{
    QSaveFile file(fileName);
    // QSaveFile refuses directories and read-only files itself, and on cancelWriting() or a
    // failed rename removes the temporary file and leaves the old one untouched. Its commit()
    // flushes to the disk but ignores a failed flush, so the bytes go out and are flushed
    // here, where a failure can still cancel.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = ErrorText::Japanese(file.errorString());
        return false;
    }
    if (!WriteAll(file.handle(), contents, error)) {
        file.cancelWriting();
        return false;
    }
    if (Calls().sync(file.handle()) != 0) {
        const int failure = errno;
        *error = u"ディスクヘノ書込ミヲ完了デキマセン (%1)"_s.arg(SystemReason(failure));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = ErrorText::Japanese(file.errorString());
        return false;
    }
    return true;
}

void SetSystemCalls(WriteCall write, SyncCall sync)
{
    Calls().write = write ? write : ::write;
    Calls().sync = sync ? sync : ::fdatasync;
}

} // namespace FileAccess
