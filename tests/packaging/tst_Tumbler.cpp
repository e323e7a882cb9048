// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop's own thumbnail service, run on the installed program: it makes the file that
// the thumbnailer command writes into and reads it back through the handle it holds.
#include "support/AppTestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// Starts the service on its own session bus, queues every file at once and waits for the
// thumbnails (or a bound) before the bus goes away with everything on it.
constexpr char kSession[] = R"(
"$TUMBLERD" &
gdbus wait --session --timeout 20 org.freedesktop.thumbnails.Thumbnailer1 || exit 3
gdbus call --session --dest org.freedesktop.thumbnails.Thumbnailer1 \
  --object-path /org/freedesktop/thumbnails/Thumbnailer1 \
  --method org.freedesktop.thumbnails.Thumbnailer1.Queue "$URIS" "$MIMES" normal default 0 \
  || exit 4
for i in $(seq 1 300); do
  missing=0
  for f in $EXPECTED; do [ -s "$f" ] || missing=1; done
  [ $missing = 0 ] && break
  sleep 0.1
done
kill %1 2>/dev/null || true
)";

QString TumblerDaemon()
{
    for (const QString& path : {u"/usr/lib/x86_64-linux-gnu/tumbler-1/tumblerd"_s,
                                u"/usr/lib/aarch64-linux-gnu/tumbler-1/tumblerd"_s,
                                u"/usr/lib/tumbler-1/tumblerd"_s, u"/usr/libexec/tumblerd"_s}) {
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

QString GVariantStrings(const QStringList& values)
{
    return u"['"_s + values.join(u"', '"_s) + u"']"_s;
}

} // namespace

class tst_Tumbler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FDaemon = TumblerDaemon();
        if (FDaemon.isEmpty())
            QSKIP("tumbler is not installed (make deps installs it)");
        for (const QString& tool : {u"dbus-run-session"_s, u"gdbus"_s})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), qPrintable(tool));
        QVERIFY(FRoot.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(
            QStringLiteral(QUILVORO_CMAKE),
            {u"--install"_s, QStringLiteral(QUILVORO_BUILD_DIR), u"--prefix"_s, Path(u"prefix"_s)});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void thumbnailsAppearInTheCache()
    {
        QDir().mkpath(Path(u"logos"_s));
        const QStringList logos = {Path(u"logos/red.qvd"_s), Path(u"logos/wide name.qvd"_s)};
        for (const QString& logo : logos) {
            QFile file(logo);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[SET]\r\nLabel=Tm\r\nColor3=255\r\n");
        }
        QStringList uris, thumbnails;
        for (const QString& logo : logos) {
            const QByteArray uri = QUrl::fromLocalFile(logo).toEncoded();
            uris.append(QString::fromLatin1(uri));
            const QByteArray md5 = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
            thumbnails.append(Path(u"cache/thumbnails/normal/%1.png"_s.arg(QLatin1String(md5))));
        }
        const QString log = RunSession(uris, thumbnails);
        for (const QString& thumbnail : thumbnails) {
            const QImage image(thumbnail, "PNG");
            QVERIFY2(!image.isNull(), qPrintable(thumbnail + u"\n"_s + log));
            QCOMPARE(std::max(image.width(), image.height()), 128);
            // the logo's red background, away from the letters
            const QRgb corner = image.pixel(1, image.height() - 2);
            QVERIFY2(qRed(corner) > 200 && qGreen(corner) < 40 && qBlue(corner) < 40,
                     qPrintable(QString::number(corner, 16)));
        }
    }

private:
    QString Path(const QString& name) const { return FRoot.filePath(name); }

    QString RunSession(const QStringList& uris, const QStringList& thumbnails) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_DATA_DIRS"_s, Path(u"prefix/share"_s) + u":/usr/share"_s);
        environment.insert(u"XDG_CACHE_HOME"_s, Path(u"cache"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, Path(u"config"_s));
        environment.insert(u"PATH"_s, Path(u"prefix/bin:"_s) + environment.value(u"PATH"_s));
        environment.insert(u"TUMBLERD"_s, FDaemon);
        environment.insert(u"URIS"_s, GVariantStrings(uris));
        environment.insert(
            u"MIMES"_s,
            GVariantStrings(QStringList(uris.size(), u"application/x-quilvoro-logo"_s)));
        // the names as the shell splits them: no spaces in the md5 names
        environment.insert(u"EXPECTED"_s, thumbnails.join(u' '));
        QProcess session;
        session.setProcessEnvironment(environment);
        session.setProcessChannelMode(QProcess::MergedChannels);
        session.start(u"dbus-run-session"_s,
                      {u"--"_s, u"sh"_s, u"-c"_s, QString::fromLatin1(kSession)});
        if (!session.waitForFinished(120000))
            return u"the session did not finish"_s;
        return QString::fromLocal8Bit(session.readAll());
    }

    QTemporaryDir FRoot;
    QString FDaemon;
};

QUILVORO_APP_TEST_MAIN(tst_Tumbler)
#include "tst_Tumbler.moc"
