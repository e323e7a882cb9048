#include "framework/TApplication.h"

#include "framework/TDialogs.h"
#include "platform/FontInfo.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    FontInfo::InstallSubstitutions();
    setQuitOnLastWindowClosed(true);
}

void TApplication::SetTitle(const QString& title)
{
    m_title = title;
    setApplicationName(title);
    setApplicationDisplayName(title);
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
    TDialogs::Current().MessageBox(activeWindow(), ExceptionText(message), m_title, MB_ICONERROR);
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
