// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PictureStore.h"

#include "output/PngWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

using namespace Qt::StringLiterals;

QString PictureStore::Store(const QImage& image)
{
    const std::optional<QByteArray> encoded = PngWriter::Encode(image);
    if (!encoded)
        return {};
    const QByteArray& png = *encoded;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/quilvoro/pictures"_s;
    if (!QDir().mkpath(folder))
        return {};
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex().left(16));
    const QString path = folder + u'/' + name + u".png"_s;
    if (QFileInfo(path).isFile())
        return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        return {};
    return path;
}
