// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TDialogs.h"
#include "framework/TTranslation.h"
#include "support/AppTestMain.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Translation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString catalogue =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_ja.qm"_s;
        if (!QFileInfo::exists(catalogue))
            QSKIP("Qt's Japanese translation is not installed (Debian: qt6-translations-l10n)");
        QVERIFY(Translation::LoadJapanese());
    }

    void messageBoxButtonsAreJapanese()
    {
        const auto box = TDialogs::MakeMessageBox(nullptr, u"?"_s, u"Quilvoro"_s, MB_OKCANCEL);
        QCOMPARE(box->button(QMessageBox::Cancel)->text(), u"キャンセル"_s);
        QCOMPARE(box->button(QMessageBox::Ok)->text(), u"OK"_s);
    }

    void fileDialogSpeaksJapanese()
    {
        TFileDialogOptions options;
        options.filter = u"QVDファイル (*.qvd)|*.qvd"_s;
        const auto dialog = TDialogs::MakeFileDialog(nullptr, options);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        QCOMPARE(dialog->labelText(QFileDialog::Reject), u"キャンセル"_s);
        auto* lookIn = dialog->findChild<QLabel*>(u"lookInLabel"_s);
        QVERIFY(lookIn);
        QVERIFY2(!lookIn->text().contains(u"Look in"_s), qPrintable(lookIn->text()));
    }

    void colorDialogSpeaksJapanese()
    {
        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        QVERIFY(dialog.windowTitle() != u"Select Color"_s);
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY2(!label->text().contains(u"Basic colors"_s), qPrintable(label->text()));
    }
};

QUILVORO_APP_TEST_MAIN(tst_Translation)
#include "tst_Translation.moc"
