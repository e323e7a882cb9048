// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "framework/TTimer.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct TRun
{
    int exitCode = -1;
    QString output;
};

TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, u"%1 did not finish: %2"_s.arg(program, process.errorString())};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString Tool(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The value of `key` in a desktop-style key file, or a null string.
QString KeyFileValue(const QString& path, const QString& key)
{
    for (const QString& line : QString::fromUtf8(ReadAll(path)).split(u'\n')) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return {};
}

} // namespace

// Installs the build tree into a temporary prefix, as `cmake --install` does for a user, and
// checks what a desktop needs from it.
class tst_Install : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QVERIFY(FPrefix.isValid());
        // The installed file type must be what this process's MIME database sees.
        qputenv("XDG_DATA_DIRS",
                (FPrefix.filePath(u"share"_s) + u":/usr/local/share:/usr/share"_s).toLocal8Bit());
        const TRun install = Run(
            QStringLiteral(QUILVORO_CMAKE),
            {u"--install"_s, QStringLiteral(QUILVORO_BUILD_DIR), u"--prefix"_s, FPrefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void everyFileIsInstalled()
    {
        const QString list =
            QStringLiteral(QUILVORO_SOURCE_DIR) + u"/tests/packaging/installed-files.txt"_s;
        const QStringList lines = QString::fromUtf8(ReadAll(list)).split(u'\n');
        int files = 0;
        for (const QString& line : lines) {
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QFileInfo installed(FPrefix.filePath(line));
            QVERIFY2(installed.isFile() && installed.size() > 0, qPrintable(line));
            ++files;
        }
        QVERIFY(files >= 15);
        QVERIFY(QFileInfo(FPrefix.filePath(u"bin/quilvoro"_s)).isExecutable());
    }

    void desktopEntryIsValidAndOpensLogoFiles()
    {
        const QString entry =
            FPrefix.filePath(u"share/applications/example.quilvoro.Quilvoro.desktop"_s);
        const QString validate = Tool(u"desktop-file-validate"_s);
        QVERIFY2(!validate.isEmpty(), "desktop-file-validate is missing (make deps)");
        const TRun run = Run(validate, {entry});
        QVERIFY2(run.exitCode == 0 && run.output.trimmed().isEmpty(), qPrintable(run.output));
        QCOMPARE(KeyFileValue(entry, u"Exec"_s), u"quilvoro %f"_s);
        QCOMPARE(KeyFileValue(entry, u"MimeType"_s), u"application/x-quilvoro-logo;"_s);
        QCOMPARE(KeyFileValue(entry, u"Icon"_s), u"quilvoro"_s);
        QVERIFY(KeyFileValue(entry, u"Categories"_s).split(u';').contains(u"Graphics"_s));
        QVERIFY(!KeyFileValue(entry, u"Name[ja]"_s).isEmpty());
        QVERIFY(!KeyFileValue(entry, u"Comment[ja]"_s).isEmpty());
    }

    void xmlFilesAreWellFormedAndTheMetainfoValid()
    {
        const QString xmllint = Tool(u"xmllint"_s);
        QVERIFY2(!xmllint.isEmpty(), "xmllint is missing (make deps)");
        const QString metainfo =
            FPrefix.filePath(u"share/metainfo/example.quilvoro.Quilvoro.metainfo.xml"_s);
        const TRun lint =
            Run(xmllint,
                {u"--noout"_s, metainfo, FPrefix.filePath(u"share/mime/packages/quilvoro.xml"_s)});
        QVERIFY2(lint.exitCode == 0, qPrintable(lint.output));
        const QString appstream = Tool(u"appstreamcli"_s);
        if (appstream.isEmpty())
            QSKIP("appstreamcli is not installed: the metainfo was only checked as XML");
        const TRun validate = Run(appstream, {u"validate"_s, u"--no-net"_s, metainfo});
        QVERIFY2(validate.exitCode == 0, qPrintable(validate.output));
    }

    // The licence the metainfo declares is the one whose text lies at the root of the tree.
    void metainfoLicenceIsTheShippedText()
    {
        const QString metainfo = QString::fromUtf8(
            ReadAll(FPrefix.filePath(u"share/metainfo/example.quilvoro.Quilvoro.metainfo.xml"_s)));
        const QRegularExpressionMatch match =
            QRegularExpression(u"<project_license>([^<]+)</project_license>"_s).match(metainfo);
        QVERIFY(match.hasMatch());
        const QString source = QStringLiteral(QUILVORO_SOURCE_DIR);
        const QByteArray text = ReadAll(source + u"/LICENSES/"_s + match.captured(1) + u".txt"_s);
        QVERIFY2(!text.isEmpty(), qPrintable(match.captured(1)));
        QCOMPARE(ReadAll(source + u"/LICENSE"_s), text);
    }

    void logoFilesAreKnownByNameAndByContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("by name") << u"logo.qvd"_s << QByteArray();
        QTest::newRow("by content") << u"logo"_s << QByteArray("[SET]\r\nLabel=Quilvoro\r\n");
        QTest::newRow("by content, byte order mark")
            << u"untitled"_s << QByteArray("\xEF\xBB\xBF[SET]\r\nLabel=Quilvoro\r\n");
    }

    void logoFilesAreKnownByNameAndByContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString update = Tool(u"update-mime-database"_s);
        QVERIFY2(!update.isEmpty(), "update-mime-database is missing (make deps)");
        const TRun run = Run(update, {FPrefix.filePath(u"share/mime"_s)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));

        const QMimeDatabase mimes;
        const QMimeType type = content.isEmpty()
            ? mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension)
            : mimes.mimeTypeForFileNameAndData(name, content);
        QCOMPARE(type.name(), u"application/x-quilvoro-logo"_s);
    }

    void iconsAreDrawnAtEachSize_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d", size) << size;
    }

    void iconsAreDrawnAtEachSize()
    {
        QFETCH(int, size);
        const QImage icon(
            FPrefix.filePath(u"share/icons/hicolor/%1x%1/apps/quilvoro.png"_s.arg(size)));
        QCOMPARE(icon.size(), QSize(size, size));
        // A rounded tile: clear corners, an opaque border line at the middle of each edge.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(size - 1, size - 1)), 0);
        QVERIFY(qAlpha(icon.pixel(size / 2, 0)) > 200);
        QVERIFY(qAlpha(icon.pixel(0, size / 2)) > 200);
    }

    void thumbnailerDrawsTheLogoAtTheAskedSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("normal") << 128;
        QTest::newRow("large") << 256;
    }

    // As a file manager runs it: the codes of the entry's command replaced, the program found
    // on the path, no display server.
    void thumbnailerDrawsTheLogoAtTheAskedSize()
    {
        QFETCH(int, size);
        const QString entry = FPrefix.filePath(u"share/thumbnailers/quilvoro.thumbnailer"_s);
        QCOMPARE(KeyFileValue(entry, u"MimeType"_s), u"application/x-quilvoro-logo;"_s);
        QTemporaryDir work;
        const QString logo = work.filePath(u"logo.qvd"_s);
        const QString thumbnail = work.filePath(u"thumbnail.png"_s);
        QVERIFY(QFile::copy(QStringLiteral(QUILVORO_SOURCE_DIR) + u"/docs/screenshot.qvd"_s, logo));

        QStringList command = KeyFileValue(entry, u"Exec"_s).split(u' ', Qt::SkipEmptyParts);
        QVERIFY(!command.isEmpty());
        for (QString& argument : command) {
            argument.replace(u"%s"_s, QString::number(size));
            argument.replace(u"%i"_s, logo);
            argument.replace(u"%o"_s, thumbnail);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"PATH"_s,
                           FPrefix.filePath(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        const QString program =
            QStandardPaths::findExecutable(command.takeFirst(), {FPrefix.filePath(u"bin"_s)});
        QVERIFY(!program.isEmpty());
        const TRun run = Run(program, command, environment);
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));

        const QImage image(thumbnail, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(qMax(image.width(), image.height()), size);
        // The logo itself, not an empty picture: the background colour and the letters' orange.
        const QColor background(0xC2, 0xE9, 0xFE);
        bool letters = false;
        for (int y = 0; y < image.height() && !letters; ++y)
            for (int x = 0; x < image.width() && !letters; ++x)
                letters = qRed(image.pixel(x, y)) > 200 && qBlue(image.pixel(x, y)) < 100;
        QVERIFY(letters);
        QCOMPARE(image.pixelColor(0, 0).rgb(), background.rgb());
    }

    // The installed program, started from the prefix, reads its read-me and plays its sound
    // from the installed data folder.
    void installedProgramFindsItsData()
    {
        const QString data = FPrefix.filePath(u"share/quilvoro"_s);
        TestEnvironment::OpenSucceeds() = false;
        TestDialogs dialogs;
        TMakeForm1 form(FPrefix.filePath(u"bin/quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        QCOMPARE(TestEnvironment::OpenedTargets().size(), 1);
        QCOMPARE(QFileInfo(TestEnvironment::OpenedTargets().at(0)).canonicalFilePath(),
                 data + u"/Readme.txt"_s);
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(dialogs.texts.at(0).text, QString::fromUtf8(ReadAll(data + u"/Readme.txt"_s)));

        // The sound is first looked up in the working folder, so start from an empty one.
        QTemporaryDir elsewhere;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        TestEnvironment::PlayedSounds().clear();
        form.SpeedButton1Click(nullptr);
        while (form.Timer1->Enabled())
            form.Timer1->Tick();
        QDir::setCurrent(before);
        QCOMPARE(TestEnvironment::PlayedSounds().size(), 1);
        QCOMPARE(QFileInfo(TestEnvironment::PlayedSounds().at(0)).canonicalFilePath(),
                 data + u"/updown.wav"_s);
    }

private:
    QTemporaryDir FPrefix;
};

QUILVORO_APP_TEST_MAIN(tst_Install)
#include "tst_Install.moc"
