#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

namespace {

Opener& CurrentOpener()
{
    static Opener opener;
    return opener;
}

} // namespace

void Open(const QString& target)
{
    if (CurrentOpener()) {
        CurrentOpener()(target);
        return;
    }
    const QUrl url =
        target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

void SetOpener(Opener opener)
{
    CurrentOpener() = std::move(opener);
}

} // namespace Shell
