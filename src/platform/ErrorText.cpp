#include "platform/ErrorText.h"

#include <cerrno>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace ErrorText {

namespace {

// The failures a user can meet reading or writing a file.
const std::pair<int, const char16_t*> kReasons[] = {
    {ENOENT, u"ファイル又ハフォルダガアリマセン"},
    {EACCES, u"アクセスガ許可サレテイマセン"},
    {EPERM, u"操作ガ許可サレテイマセン"},
    {ENOSPC, u"ディスクノ空キ容量ガ足リマセン"},
    {EDQUOT, u"ディスクノ使用量ガ上限ニ達シマシタ"},
    {EROFS, u"読込ミ専用ノディスクデス"},
    {EISDIR, u"フォルダデス"},
    {ENOTDIR, u"パスノ途中ニフォルダデナイモノガアリマス"},
    {ENAMETOOLONG, u"名前ガ長スギマス"},
    {ELOOP, u"シンボリックリンクガ循環シテイマス"},
    {EIO, u"ディスクノ入出力エラー"},
    {EFBIG, u"ファイルガ大キスギマス"},
    {EEXIST, u"既ニアリマス"},
    {EBUSY, u"使用中デス"},
    {ETXTBSY, u"使用中デス"},
    {EMFILE, u"開イテイルファイルガ多スギマス"},
    {ENFILE, u"開イテイルファイルガ多スギマス"},
    {ENXIO, u"装置ガアリマセン"},
    {ENODEV, u"装置ガアリマセン"},
    {EINVAL, u"無効ナ値デス"},
    {EAGAIN, u"一時的ニ使エマセン"},
    {ENOMEM, u"メモリガ足リマセン"},
    {EXDEV, u"別ノディスクヘハ移セマセン"},
};

// The system's own text for an error number, as Qt quotes it.
QString SystemText(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

} // namespace

QString OfErrno(int errnum)
{
    for (const auto& [number, text] : kReasons) {
        if (number == errnum)
            return QString::fromUtf16(text);
    }
    return u"システムエラー %1"_s.arg(errnum);
}

QString Japanese(const QString& reason)
{
    if (reason == u"Unknown error"_s || reason == u"Unknown error."_s)
        return u"不明ナエラーデス"_s;
    for (const auto& [number, text] : kReasons) {
        if (reason == SystemText(number))
            return QString::fromUtf16(text);
    }
    return reason;
}

} // namespace ErrorText
