// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestDialogs.h"

TestDialogs::TestDialogs()
{
    TDialogs::SetCurrent(this);
}

TestDialogs::~TestDialogs()
{
    TDialogs::SetCurrent(nullptr);
}

int TestDialogs::MessageBox(QWidget*, const QString& text, const QString& caption, unsigned flags)
{
    messages.append({text, caption, flags});
    return IDOK;
}

std::optional<TColor> TestDialogs::ChooseColor(QWidget*, TColor initial)
{
    colorRequests.append(initial);
    if (colorAnswers.empty())
        return std::nullopt;
    const std::optional<TColor> answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

QString TestDialogs::OpenFileName(QWidget*, const TFileDialogOptions& options)
{
    fileRequests.append(options);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString TestDialogs::SaveFileName(QWidget* parent, const TFileDialogOptions& options)
{
    return OpenFileName(parent, options);
}

void TestDialogs::ShowText(QWidget*, const QString& caption, const QString& text)
{
    texts.append({text, caption, 0});
}

std::optional<TPngOptions> TestDialogs::ChoosePngOptions(QWidget*, const TPngOptions& initial,
                                                         QSize regionSize, const QList<int>& scales)
{
    pngRequests.append({initial, regionSize, scales});
    if (pngAnswers.empty())
        return std::nullopt;
    const std::optional<TPngOptions> answer = pngAnswers.front();
    pngAnswers.pop_front();
    return answer;
}

int TestDialogs::AskChoice(QWidget*, const QString& text, const QString& caption,
                           const QStringList& buttons)
{
    questions.append({text, caption, buttons});
    if (choiceAnswers.empty())
        return std::max(0, int(buttons.size()) - 2);
    const int answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

std::optional<int> TestDialogs::AskInteger(QWidget*, const QString& caption, const QString& label,
                                           int value, int min, int max)
{
    integerRequests.append({caption, label, value, min, max});
    if (integerAnswers.empty())
        return std::nullopt;
    const std::optional<int> answer = integerAnswers.front();
    integerAnswers.pop_front();
    return answer;
}

std::optional<QString> TestDialogs::AskText(QWidget*, const QString& caption, const QString&,
                                            const QString& value)
{
    textRequests.append({caption, value});
    if (textAnswers.empty())
        return std::nullopt;
    const std::optional<QString> answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}
