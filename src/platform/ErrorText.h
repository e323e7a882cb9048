#pragma once

#include <QString>

// The reasons the system gives for a failed file operation, in the interface's Japanese.
namespace ErrorText {

// The Japanese for a system error number ("ディスクノ空キ容量ガ足リマセン" for ENOSPC); an unknown
// number gives "システムエラー N".
QString OfErrno(int errnum);

// A reason as Qt reports it for a file (the system's own text for an error number, or Qt's
// "Unknown error") in Japanese; any other text comes back unchanged.
QString Japanese(const QString& reason);

} // namespace ErrorText
