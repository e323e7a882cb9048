#include "TestEnvironment.h"

#include "platform/FontInfo.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace TestEnvironment {

QStringList& PlayedSounds()
{
    static QStringList played;
    return played;
}

QStringList& OpenedTargets()
{
    static QStringList opened;
    return opened;
}

void Pin()
{
    FontInfo::InstallSubstitutions();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        app->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        app->setPalette(app->style()->standardPalette());
        app->setFont(FontInfo::MakeFont(QStringLiteral("DejaVu Sans"), 12));
    }
    PlayedSounds().clear();
    OpenedTargets().clear();
    Sound::SetObserver([](const QString& what) { PlayedSounds().append(what); });
    Shell::SetOpener([](const QString& target) { OpenedTargets().append(target); });
}

} // namespace TestEnvironment
