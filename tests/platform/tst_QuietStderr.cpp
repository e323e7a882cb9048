// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kOwnWarning = "quilvoro: the program's own warning";

// A tenth of a second of quiet 16-bit mono PCM.
QByteArray Wav()
{
    const quint32 rate = 22050;
    const quint32 dataSize = rate / 10 * 2;
    QByteArray bytes(44 + dataSize, '\0');
    char* p = bytes.data();
    auto put32 = [&](qsizetype at, quint32 v) {
        qToLittleEndian(v, p + at);
    };
    auto put16 = [&](qsizetype at, quint16 v) {
        qToLittleEndian(v, p + at);
    };
    std::memcpy(p, "RIFF", 4);
    put32(4, 36 + dataSize);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, 1);
    put32(24, rate);
    put32(28, rate * 2);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(p + 36, "data", 4);
    put32(40, dataSize);
    return bytes;
}

// What the program does that reaches the sound system and the desktop: beeps, a sound file, a
// missing sound file, and opening an address where no desktop can take it. Then a warning of
// its own, which must still get through.
int RunChild(int argc, char* argv[], const QString& wav)
{
    QGuiApplication app(argc, argv);
    Sound::MessageBeep(Sound::MB_OK);
    Sound::MessageBeep(Sound::MB_ICONHAND);
    Sound::PlayFile(wav);
    Sound::PlayFile(wav + u".missing"_s);
    Shell::Open(u"https://www.quilvoro.example/info.php?pf=w&sn=quilvoro"_s, &app, [](bool) {});
    Shell::Open(wav, &app, [](bool) {});
    QThread::msleep(300); // the sound system reports from its own threads
    qWarning("%s", kOwnWarning.constData());
    return 0;
}

} // namespace

class tst_QuietStderr : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyTheProgramsOwnWarningsReachStandardError()
    {
        QTemporaryDir dir;
        const QString wav = dir.filePath(u"updown.wav"_s);
        QFile file(wav);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Wav());
        file.close();

        // A desktop session has its runtime folder; without one Qt says so, which is not the
        // noise looked for here.
        QTemporaryDir runtime;
        QVERIFY(QFile::setPermissions(runtime.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, wav});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QByteArray err = child.readAllStandardError();
        QVERIFY2(!err.contains("ALSA"), err.constData());
        QCOMPARE(err.trimmed(), kOwnWarning);
    }
};

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        return RunChild(childArgc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    tst_QuietStderr test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_QuietStderr.moc"
