// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/TDialogs.h"

#include <QStringList>

#include <deque>
#include <utility>

// Dialogs that answer from a script and record what was asked. Installed for its lifetime.
class TestDialogs : public TDialogs
{
public:
    TestDialogs();
    ~TestDialogs() override;

    struct Message
    {
        QString text;
        QString caption;
        unsigned flags = 0;
    };

    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) override;
    QString OpenFileName(QWidget* parent, const TFileDialogOptions& options) override;
    QString SaveFileName(QWidget* parent, const TFileDialogOptions& options) override;
    void ShowText(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<TPngOptions> ChoosePngOptions(QWidget* parent, const TPngOptions& initial,
                                                QSize regionSize,
                                                const QList<int>& scales) override;
    int AskChoice(QWidget* parent, const QString& text, const QString& caption,
                  const QStringList& buttons) override;
    std::optional<int> AskInteger(QWidget* parent, const QString& caption, const QString& label,
                                  int value, int min, int max) override;
    std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& label,
                                   const QString& value) override;

    // Answers for the next dialogs; an empty queue means "cancelled".
    std::deque<std::optional<TColor>> colorAnswers;
    std::deque<QString> fileAnswers;
    std::deque<std::optional<TPngOptions>> pngAnswers;
    // Button indexes; with none scripted a question takes its second-to-last button (for
    // 保存 / 破棄 / キャンセル that is 破棄, so tests that do not look at questions go on as
    // before).
    std::deque<int> choiceAnswers;
    std::deque<std::optional<int>> integerAnswers;
    std::deque<std::optional<QString>> textAnswers;

    struct Question
    {
        QString text;
        QString caption;
        QStringList buttons;
    };
    struct IntegerRequest
    {
        QString caption;
        QString label;
        int value = 0;
        int min = 0;
        int max = 0;
    };

    QList<Message> messages;
    QList<Message> texts; // ShowText windows (flags unused)
    QList<TColor> colorRequests;
    QList<TFileDialogOptions> fileRequests;

    struct PngRequest
    {
        TPngOptions initial;
        QSize regionSize;
        QList<int> scales;
    };
    QList<PngRequest> pngRequests;
    QList<Question> questions;
    QList<IntegerRequest> integerRequests;
    // The caption and the text offered of each text entry.
    QList<std::pair<QString, QString>> textRequests;
};
