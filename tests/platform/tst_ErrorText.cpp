// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ErrorText.h"
#include "support/AppTestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

class tst_ErrorText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemReasonsBecomeJapanese_data()
    {
        QTest::addColumn<int>("errnum");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("missing") << ENOENT << u"ファイル又ハフォルダガアリマセン"_s;
        QTest::newRow("disk full") << ENOSPC << u"ディスクノ空キ容量ガ足リマセン"_s;
        QTest::newRow("no permission") << EACCES << u"アクセスガ許可サレテイマセン"_s;
        QTest::newRow("read-only") << EROFS << u"読込ミ専用ノディスクデス"_s;
        QTest::newRow("a folder") << EISDIR << u"フォルダデス"_s;
        QTest::newRow("device failed") << EIO << u"ディスクノ入出力エラー"_s;
    }

    void systemReasonsBecomeJapanese()
    {
        QFETCH(int, errnum);
        QFETCH(QString, japanese);
        QCOMPARE(ErrorText::OfErrno(errnum), japanese);
        QCOMPARE(ErrorText::Japanese(QString::fromLocal8Bit(std::strerror(errnum))), japanese);
    }

    void otherTextsStayAsTheyAre()
    {
        QCOMPARE(ErrorText::Japanese(u"画像形式ガ不明"_s), u"画像形式ガ不明"_s);
        QCOMPARE(ErrorText::Japanese(u"Unknown error"_s), u"不明ナエラーデス"_s);
        QCOMPARE(ErrorText::OfErrno(99999), u"システムエラー 99999"_s);
    }

    // What Qt itself reports for a file that cannot be opened.
    void qtsFileReasonsBecomeJapanese()
    {
        QTemporaryDir dir;
        QFile missing(dir.filePath(u"gone/logo.qvd"_s));
        QVERIFY(!missing.open(QIODevice::ReadOnly));
        QCOMPARE(ErrorText::Japanese(missing.errorString()), u"ファイル又ハフォルダガアリマセン"_s);
    }

    // The window says the system's reasons in Japanese, the command line in English.
    void reasonsFollowTheLanguageSpoken()
    {
        QCOMPARE(ErrorText::OfErrno(EROFS), u"読込ミ専用ノディスクデス"_s);
        ErrorText::SetLanguage(ErrorText::TLanguage::English);
        const QString english = ErrorText::OfErrno(EROFS);
        const QString qts = ErrorText::OfQt(QString::fromLocal8Bit(std::strerror(EACCES)));
        ErrorText::SetLanguage(ErrorText::TLanguage::Japanese);
        QCOMPARE(english, u"the disk is read-only"_s);
        QCOMPARE(qts, u"permission denied"_s);
    }
};

QUILVORO_APP_TEST_MAIN(tst_ErrorText)
#include "tst_ErrorText.moc"
