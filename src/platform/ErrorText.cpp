#include "platform/ErrorText.h"

#include <cerrno>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace ErrorText {

namespace {

// The failures a user can meet reading or writing a file.
const std::pair<int, const char16_t*> kReasons[] = {
    {ENOENT, u"ファイル又ハフォルダガ存在セズ"},
    {EACCES, u"アクセスガ許可サレズ"},
    {EPERM, u"操作ガ許可サレズ"},
    {ENOSPC, u"ディスクニ空キ無シ"},
    {EDQUOT, u"ディスク使用量ノ上限ニ達シタ"},
    {EROFS, u"読込専用ノ場所ナリ"},
    {EISDIR, u"フォルダナリ"},
    {ENOTDIR, u"パスノ途中ガフォルダニ非ズ"},
    {ENAMETOOLONG, u"名前ガ長過ギル"},
    {ELOOP, u"シンボリックリンクガ循環スル"},
    {EIO, u"入出力エラー"},
    {EFBIG, u"ファイルガ大キ過ギル"},
    {EEXIST, u"既ニ存在スル"},
    {EBUSY, u"使用中"},
    {ETXTBSY, u"使用中"},
    {EMFILE, u"開イタファイルガ多過ギル"},
    {ENFILE, u"開イタファイルガ多過ギル"},
    {ENXIO, u"装置ガ無シ"},
    {ENODEV, u"装置ガ無シ"},
    {EINVAL, u"無効ナ値"},
    {EAGAIN, u"一時的ニ使用デキズ"},
    {ENOMEM, u"メモリ不足"},
    {EXDEV, u"別ノ装置ヘハ移動デキズ"},
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
        return u"不明ナエラー"_s;
    for (const auto& [number, text] : kReasons) {
        if (reason == SystemText(number))
            return QString::fromUtf16(text);
    }
    return reason;
}

} // namespace ErrorText
