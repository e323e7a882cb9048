// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ErrorText.h"

#include <atomic>
#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace ErrorText {

namespace {

struct TReason
{
    int number;
    const char16_t* japanese;
    const char16_t* english;
};

// The failures a user can meet reading or writing a file. The English is ours, not the C
// library's, which follows the locale.
const TReason kReasons[] = {
    {ENOENT, u"ファイル又ハフォルダガアリマセン", u"no such file or folder"},
    {EACCES, u"アクセスガ許可サレテイマセン", u"permission denied"},
    {EPERM, u"操作ガ許可サレテイマセン", u"operation not permitted"},
    {ENOSPC, u"ディスクノ空キ容量ガ足リマセン", u"no space left on the disk"},
    {EDQUOT, u"ディスクノ使用量ガ上限ニ達シマシタ", u"disk quota reached"},
    {EROFS, u"読込ミ専用ノディスクデス", u"the disk is read-only"},
    {EISDIR, u"フォルダデス", u"it is a folder"},
    {ENOTDIR, u"パスノ途中ニフォルダデナイモノガアリマス", u"a part of the path is not a folder"},
    {ENAMETOOLONG, u"名前ガ長スギマス", u"the name is too long"},
    {ELOOP, u"シンボリックリンクガ循環シテイマス", u"symbolic links form a loop"},
    {EIO, u"ディスクノ入出力エラー", u"input/output error on the disk"},
    {EFBIG, u"ファイルガ大キスギマス", u"the file is too large"},
    {EEXIST, u"既ニアリマス", u"it exists already"},
    {EBUSY, u"使用中デス", u"it is busy"},
    {ETXTBSY, u"使用中デス", u"it is busy"},
    {EMFILE, u"開イテイルファイルガ多スギマス", u"too many open files"},
    {ENFILE, u"開イテイルファイルガ多スギマス", u"too many open files"},
    {ENXIO, u"装置ガアリマセン", u"no such device"},
    {ENODEV, u"装置ガアリマセン", u"no such device"},
    {EINVAL, u"無効ナ値デス", u"invalid argument"},
    {EAGAIN, u"一時的ニ使エマセン", u"temporarily unavailable"},
    {ENOMEM, u"メモリガ足リマセン", u"not enough memory"},
    {EXDEV, u"別ノディスクヘハ移セマセン", u"cannot move to another disk"},
};

std::atomic<TLanguage> gLanguage = TLanguage::Japanese;

// The system's own text for an error number, as Qt quotes it.
QString SystemText(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QString Reason(const TReason& reason, TLanguage language)
{
    return QString::fromUtf16(language == TLanguage::English ? reason.english : reason.japanese);
}

QString FromQt(const QString& reason, TLanguage language)
{
    const bool english = language == TLanguage::English;
    if (reason == u"Unknown error"_s || reason == u"Unknown error."_s)
        return english ? u"unknown error"_s : u"不明ナエラーデス"_s;
    for (const TReason& known : kReasons) {
        if (reason == SystemText(known.number))
            return Reason(known, language);
    }
    return reason;
}

} // namespace

void SetLanguage(TLanguage language)
{
    gLanguage = language;
}

TLanguage Language()
{
    return gLanguage;
}

QString Say(const QString& japanese, const QString& english)
{
    return Language() == TLanguage::English ? english : japanese;
}

QString OfErrno(int errnum)
{
    for (const TReason& known : kReasons) {
        if (known.number == errnum)
            return Reason(known, Language());
    }
    return Say(u"システムエラー %1"_s, u"system error %1"_s).arg(errnum);
}

QString OfQt(const QString& reason)
{
    return FromQt(reason, Language());
}

QString Japanese(const QString& reason)
{
    return FromQt(reason, TLanguage::Japanese);
}

} // namespace ErrorText
