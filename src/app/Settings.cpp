#include "app/Settings.h"

#include <QSettings>

QSettings Settings::Open()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quilvoro"),
                     QStringLiteral("Quilvoro"));
}
