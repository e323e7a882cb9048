// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestEnvironment.h"

#include "platform/FontInfo.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>

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

bool& OpenSucceeds()
{
    static bool succeeds = true;
    return succeeds;
}

QString UserFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

void Pin()
{
    // The program's settings and stored pictures go to a folder of this run, never the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(UserFolder() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(UserFolder() + QStringLiteral("/data")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       UserFolder() + QStringLiteral("/config"));
    // The faces that `make deps` installs; a test that needs another one is wrong.
    for (const char* face :
         {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "IPAGothic", "IPAPGothic"}) {
        if (!QFontDatabase::hasFamily(QString::fromLatin1(face)))
            qFatal("The face %s is missing: run `make deps`", face);
    }
    FontInfo::InstallSubstitutions();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        app->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        app->setPalette(app->style()->standardPalette());
        app->setFont(FontInfo::MakeFont(QStringLiteral("DejaVu Sans"), 12));
    }
    PlayedSounds().clear();
    OpenedTargets().clear();
    Sound::SetObserver([](const QString& what) { PlayedSounds().append(what); });
    OpenSucceeds() = true;
    Shell::SetOpener([](const QString& target) {
        OpenedTargets().append(target);
        return OpenSucceeds();
    });
}

} // namespace TestEnvironment
