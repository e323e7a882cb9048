// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/THintWindow.h"
#include "platform/Colors.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

// The application object: owns the message loop and shows exceptions that escape a handler
// in an error message box captioned with the title, after which the program goes on.
//
// It also runs the hints of every widget: a widget's toolTip() is its hint, shown in the
// application's own hint window (Qt's tool tips never appear) after the hint pause, hidden
// after the hint hide pause, and shown after the short pause when the mouse moves straight
// from one hinted widget to the next.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    using THintWindowClass = std::function<THintWindow*()>;
    using TShowHintEvent =
        std::function<void(QString& HintStr, bool& CanShow, THintInfo& HintInfo)>;

    TApplication(int& argc, char** argv);
    ~TApplication() override;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& value);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an exception the way the program shows every unhandled failure.
    void ShowException(const std::exception& e);
    void ShowException(const QString& message);

    // The message text as the display shows it: a "." is added when the last character sorts
    // after ".".
    static QString ExceptionText(const QString& message);

    // Runs `body` inside the start-up guard: any exception that escapes is shown and 0 returned.
    static int RunGuarded(const std::function<int()>& body);

    static TApplication* Instance();

    // Hint timings in milliseconds.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int value) { FHintShortPause = value; }

    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value);

    // Switching hints off discards the hint window; switching them on makes a new one of the
    // current hint window class, which is how a new class or look takes effect.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    // Makes the hint window; an empty class means the plain THintWindow.
    THintWindowClass HintWindowClass() const { return FHintWindowClass; }
    void SetHintWindowClass(THintWindowClass value);

    // The hint window in use, or null while hints are off.
    THintWindow* HintWindow() const { return FHintWindow.get(); }

    // The long hint of the widget under the mouse; a change calls OnHint.
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);

    std::function<void(QObject* Sender)> OnHint;
    // Called before a hint shows; may change the text, refuse the hint or move it.
    TShowHintEvent OnShowHint;

    // The mouse is over `control` at the screen point `globalPos`: starts, keeps or cancels
    // the hint of the nearest widget (itself or a parent) that has one.
    void HintMouseMessage(QWidget* control, const QPoint& globalPos);
    // Shows the hint of the current hint control for the mouse at `cursorPos`.
    void ActivateHint(const QPoint& cursorPos);
    // Hides the hint and forgets the hint control.
    void CancelHint();
    // Hides the hint window, keeping the hint control.
    void HideHint();

    // The tick of the hint timer: shows the pending hint, or hides the shown one.
    void HintTimerExpired();
    const QTimer& HintTimer() const { return FHintTimer; }
    QWidget* HintControl() const { return FHintControl; }
    bool HintActive() const { return FHintActive; }

    // A hint "short|long" has a short part for the hint window and a long one for OnHint.
    static QString GetShortHint(const QString& hint);
    static QString GetLongHint(const QString& hint);

    // How far below the mouse's hot spot a hint is placed: clear of the arrow cursor.
    static constexpr int kCursorHeightMargin = 20;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class HintTimerMode { Show, Hide };

    void StartHintTimer(int pause, HintTimerMode mode);
    void MouseMovedInWindow(QWindow* window, const QPoint& windowPos, const QPoint& globalPos,
                            Qt::MouseButtons buttons);
    std::unique_ptr<THintWindow> MakeHintWindow() const;
    bool IsHintWindow(const QWidget* widget) const;

    QString FTitle;

    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 0;
    TColor FHintColor = clInfoBk;
    bool FShowHint = false;
    THintWindowClass FHintWindowClass;
    std::unique_ptr<THintWindow> FHintWindow;
    // A window replaced while its hint was on screen; it stays until that hint goes.
    std::unique_ptr<THintWindow> FRetiredHintWindow;
    QString FHint;

    QPointer<QWidget> FHintControl;
    QRect FHintCursorRect;
    QPoint FCursorPos;
    bool FHintActive = false;
    QTimer FHintTimer;
    HintTimerMode FHintTimerMode = HintTimerMode::Show;
};
