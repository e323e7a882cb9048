// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QFileDialog;
class QMessageBox;
class QWidget;

// What a file dialog shows: the title, the filter in the "description|pattern" form of the
// layout, the default extension without its dot, and where it starts.
struct TFileDialogOptions
{
    QString title;
    QString filter;
    QString defaultExt;
    QString initialDir;
    QString fileName;
    // A picture dialog: every picture format Qt reads is offered after `filter`, and the
    // highlighted picture is previewed.
    bool picture = false;
};

// The choices of a PNG export: device pixels per preview pixel, and whether the background
// colour and picture are left out (transparent).
struct TPngOptions
{
    int scale = 1;
    bool transparent = false;

    bool operator==(const TPngOptions&) const = default;
};

// Button and icon flags of a message box (the values of the Windows call).
enum TMessageBoxFlags : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ICONERROR = 0x10,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// The one seam through which every modal dialog and message box of the program opens.
// Tests install their own instance, so no test ever waits on a dialog.
class TDialogs
{
public:
    virtual ~TDialogs() = default;

    virtual int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                           unsigned flags);
    // The chosen colour, or nothing when the user cancels.
    virtual std::optional<TColor> ChooseColor(QWidget* parent, TColor initial);
    // The chosen file path, or an empty string when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const TFileDialogOptions& options);
    virtual QString SaveFileName(QWidget* parent, const TFileDialogOptions& options);
    // Shows text in a read-only window of the program's own that stays open beside the parent
    // (not modal).
    virtual void ShowText(QWidget* parent, const QString& caption, const QString& text);
    // Asks the scale (one of `scales`) and transparency of a PNG export of a region of
    // `regionSize` preview pixels; nothing when the user cancels.
    virtual std::optional<TPngOptions> ChoosePngOptions(QWidget* parent, const TPngOptions& initial,
                                                        QSize regionSize, const QList<int>& scales);
    // A question with the given buttons, the last of which cancels; the index of the answer
    // (closing the box counts as the last button).
    virtual int AskChoice(QWidget* parent, const QString& text, const QString& caption,
                          const QStringList& buttons);
    // A small entry for a whole number in min..max, or nothing when the user cancels.
    virtual std::optional<int> AskInteger(QWidget* parent, const QString& caption,
                                          const QString& label, int value, int min, int max);
    // A line of text (a name), or nothing when the user cancels or leaves it blank.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& caption,
                                           const QString& label, const QString& value);

    static TDialogs& Current();
    // Installs `dialogs` (not owned); nullptr restores the real dialogs.
    static void SetCurrent(TDialogs* value);

    // "QVDファイル (*.qvd)|*.qvd" -> "QVDファイル (*.qvd)" (Qt's filter form).
    static QString QtFilter(const QString& filter);
    // Qt's filters of a picture dialog: `filter` first, then all readable pictures together,
    // then each readable format on its own.
    static QStringList PictureFilters(const QString& filter);

    // The real dialogs as the methods above show them, built but not shown, so their contents
    // can be checked. The message box's text can be selected and copied.
    static std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text,
                                                       const QString& caption, unsigned flags);
    static std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent,
                                                       const TFileDialogOptions& options);
    static QWidget* MakeTextWindow(QWidget* parent, const QString& caption, const QString& text);
};
