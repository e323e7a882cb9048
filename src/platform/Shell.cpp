#include "platform/Shell.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace Shell {

namespace {

Opener& CurrentOpener()
{
    static Opener opener;
    return opener;
}

// Platforms that draw nowhere have no desktop to hand a document to; asking them only prints a
// warning.
bool HasDesktop()
{
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal");
}

// Qt warns on standard error when it finds no browser or opener; the caller shows its own
// fallback instead, so the warning is only noise.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) { }

} // namespace

bool Open(const QString& target)
{
    if (CurrentOpener())
        return CurrentOpener()(target);
    if (!HasDesktop())
        return false;
    const QUrl url =
        target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    const QtMessageHandler previous = qInstallMessageHandler(DropMessage);
    const bool opened = QDesktopServices::openUrl(url);
    qInstallMessageHandler(previous);
    return opened;
}

void SetOpener(Opener value)
{
    CurrentOpener() = std::move(value);
}

} // namespace Shell
