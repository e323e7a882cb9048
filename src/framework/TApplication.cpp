// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TApplication.h"

#include "framework/TDialogs.h"
#include "platform/FontInfo.h"
#include "platform/Property.h"

#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    FontInfo::InstallSubstitutions();
    setQuitOnLastWindowClosed(true);
    FHintTimer.setSingleShot(true);
    connect(&FHintTimer, &QTimer::timeout, this, &TApplication::HintTimerExpired);
    installEventFilter(this);
    SetShowHint(true);
}

TApplication::~TApplication()
{
    removeEventFilter(this);
    FHintTimer.stop();
    FRetiredHintWindow.reset();
    FHintWindow.reset();
}

void TApplication::SetTitle(const QString& value)
{
    FTitle = value;
    setApplicationName(value);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(QString());
    }
    return true;
}

void TApplication::ShowException(const std::exception& e)
{
    ShowException(QString::fromUtf8(e.what()));
}

void TApplication::ShowException(const QString& message)
{
    TDialogs::Current().MessageBox(activeWindow(), ExceptionText(message), FTitle, MB_ICONERROR);
}

QString TApplication::ExceptionText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

int TApplication::RunGuarded(const std::function<int()>& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        if (TApplication* app = Instance())
            app->ShowException(e);
    } catch (...) {
        if (TApplication* app = Instance())
            app->ShowException(QString());
    }
    return 0;
}

TApplication* TApplication::Instance()
{
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetHintColor(TColor value)
{
    if (!StoreIfChanged(FHintColor, value))
        return;
    if (FHintWindow)
        FHintWindow->SetColor(value);
}

void TApplication::SetShowHint(bool value)
{
    if (!StoreIfChanged(FShowHint, value))
        return;
    if (value) {
        FHintWindow = MakeHintWindow();
        return;
    }
    // A hint on screen keeps its window until it is hidden, so a change of look made while
    // it shows only reaches the next hint.
    if (FHintWindow && FHintWindow->isVisible()) {
        if (FRetiredHintWindow)
            FRetiredHintWindow->DestroyWindowHandle();
        FRetiredHintWindow = std::move(FHintWindow);
        return;
    }
    if (FHintWindow)
        FHintWindow->DestroyWindowHandle();
    FHintWindow.reset();
}

void TApplication::SetHintWindowClass(THintWindowClass value)
{
    FHintWindowClass = std::move(value);
}

std::unique_ptr<THintWindow> TApplication::MakeHintWindow() const
{
    std::unique_ptr<THintWindow> window(FHintWindowClass ? FHintWindowClass() : nullptr);
    if (!window)
        window = std::make_unique<THintWindow>();
    window->SetColor(FHintColor);
    return window;
}

void TApplication::SetHint(const QString& value)
{
    if (!StoreIfChanged(FHint, value))
        return;
    if (OnHint)
        OnHint(this);
}

QString TApplication::GetShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString TApplication::GetLongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

namespace {

// The widget whose hint applies at `widget`: the nearest one, itself or a parent, that has one.
QWidget* HintOwner(QWidget* widget)
{
    while (widget && widget->toolTip().isEmpty())
        widget = widget->isWindow() ? nullptr : widget->parentWidget();
    return widget;
}

} // namespace

void TApplication::HintMouseMessage(QWidget* control, const QPoint& globalPos)
{
    FCursorPos = globalPos;
    QWidget* owner = HintOwner(control);
    SetHint(owner ? GetLongHint(owner->toolTip()) : QString());
    if (!owner) {
        CancelHint();
        return;
    }
    if (owner == FHintControl && FHintCursorRect.contains(globalPos))
        return;
    const bool wasActive = FHintActive;
    CancelHint();
    FHintActive = wasActive;
    FHintControl = owner;
    FHintCursorRect = QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    StartHintTimer(wasActive ? FHintShortPause : FHintPause, HintTimerMode::Show);
}

void TApplication::ActivateHint(const QPoint& cursorPos)
{
    FCursorPos = cursorPos;
    QWidget* control = FHintControl;
    if (!control || !FHintWindow) {
        CancelHint();
        return;
    }
    THintInfo info;
    info.HintControl = control;
    info.HintStr = GetShortHint(control->toolTip());
    info.HintPos = cursorPos + QPoint(0, kCursorHeightMargin);
    QScreen* screen = QGuiApplication::screenAt(cursorPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    info.HintMaxWidth = screen ? screen->geometry().width() : 1024;
    info.HintColor = FHintColor;
    info.CursorRect = FHintCursorRect;
    info.CursorPos = control->mapFromGlobal(cursorPos);
    info.HideTimeout = FHintHidePause;

    QString hintStr = info.HintStr;
    bool canShow = true;
    if (OnShowHint)
        OnShowHint(hintStr, canShow, info);
    FHintCursorRect = info.CursorRect;
    // The handler may have switched hints off and on, replacing the window.
    if (!canShow || hintStr.isEmpty() || !FHintWindow) {
        HideHint();
        return;
    }
    FHintWindow->SetColor(info.HintColor);
    QRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, hintStr);
    rect.translate(info.HintPos);
    FHintWindow->ActivateHint(rect, hintStr);
    FHintActive = true;
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, HintTimerMode::Hide);
}

void TApplication::HideHint()
{
    if (FHintWindow)
        FHintWindow->hide();
    if (FRetiredHintWindow) {
        FRetiredHintWindow->DestroyWindowHandle();
        FRetiredHintWindow.reset();
    }
}

void TApplication::CancelHint()
{
    FHintTimer.stop();
    HideHint();
    FHintControl = nullptr;
    FHintCursorRect = QRect();
    FHintActive = false;
}

void TApplication::HintTimerExpired()
{
    FHintTimer.stop();
    if (FHintTimerMode == HintTimerMode::Show) {
        ActivateHint(FCursorPos);
        return;
    }
    // The hint stays hidden while the mouse stays on its control, and a hint that ran its
    // time out does not hurry the next one.
    HideHint();
    FHintActive = false;
}

void TApplication::StartHintTimer(int pause, HintTimerMode mode)
{
    FHintTimerMode = mode;
    FHintTimer.start(std::max(0, pause));
}

bool TApplication::IsHintWindow(const QWidget* widget) const
{
    return widget && (widget == FHintWindow.get() || widget == FRetiredHintWindow.get());
}

void TApplication::MouseMovedInWindow(QWindow* window, const QPoint& windowPos,
                                      const QPoint& globalPos, Qt::MouseButtons buttons)
{
    // While a button is held (a drag, a press on a button) no hint starts.
    if (buttons != Qt::NoButton)
        return;
    const QWidgetList windows = topLevelWidgets();
    const auto it = std::find_if(windows.cbegin(), windows.cend(),
                                 [window](QWidget* w) { return w->windowHandle() == window; });
    if (it == windows.cend() || IsHintWindow(*it))
        return;
    QWidget* target = (*it)->childAt(windowPos);
    HintMouseMessage(target ? target : *it, globalPos);
}

bool TApplication::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        // Qt's own tool tip never shows: the hint window replaces it.
        if (watched->isWidgetType())
            return true;
        break;
    case QEvent::MouseMove:
        if (auto* window = qobject_cast<QWindow*>(watched)) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            MouseMovedInWindow(window, mouse->position().toPoint(),
                               mouse->globalPosition().toPoint(), mouse->buttons());
        }
        break;
    case QEvent::Leave:
        if (qobject_cast<QWindow*>(watched)) {
            CancelHint();
            SetHint(QString());
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::ApplicationDeactivate:
        if (FHintControl)
            CancelHint();
        break;
    default:
        break;
    }
    return QApplication::eventFilter(watched, event);
}
