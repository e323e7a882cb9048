// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FileTesting.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A process of this test, ended when the test ends.
std::unique_ptr<QProcess> Start(const QString& program, const QStringList& arguments,
                                const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->start(program, arguments);
    if (!process->waitForStarted(10000))
        return nullptr;
    return process;
}

void Stop(std::unique_ptr<QProcess>& process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

// Runs a small X tool and returns its standard output, or nothing when it fails.
QString Run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Polls `probe` until it holds or the time is up.
template<class Probe> bool WaitFor(Probe probe, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (probe())
            return true;
        QThread::msleep(50);
    }
    return probe();
}

} // namespace

// The real program on a real X server with a real window manager, which answers the window's
// resizes in its own time.
class tst_WindowUnderWindowManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "openbox", "xwininfo", "xdotool", "xprop"})
            QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                     "run `make deps`");
        FEnvironment = QProcessEnvironment::systemEnvironment();
        FEnvironment.remove(u"WAYLAND_DISPLAY"_s);
        FEnvironment.insert(u"XDG_CONFIG_HOME"_s, FHome.filePath(u"config"_s));
        FEnvironment.insert(u"XDG_DATA_HOME"_s, FHome.filePath(u"data"_s));
        FEnvironment.insert(u"XDG_CACHE_HOME"_s, FHome.filePath(u"cache"_s));
        FEnvironment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);

        // the server picks a free display and says which
        FServer = Start(u"Xvfb"_s,
                        {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s,
                         u"-nolisten"_s, u"tcp"_s},
                        FEnvironment);
        QVERIFY(FServer);
        QVERIFY(WaitFor(
            [&] {
                FServer->waitForReadyRead(50);
                return FServer->canReadLine();
            },
            20000));
        const QString display = QString::fromLatin1(FServer->readLine()).trimmed();
        QVERIFY2(!display.isEmpty(), "Xvfb gave no display");
        FEnvironment.insert(u"DISPLAY"_s, u":"_s + display);

        FManager = Start(u"openbox"_s, {u"--sm-disable"_s}, FEnvironment);
        QVERIFY(FManager);
        QVERIFY2(WaitFor(
                     [&] {
                         return Run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s},
                                    FEnvironment)
                             .contains(u"window id"_s);
                     },
                     20000),
                 "openbox did not take the screen");
    }

    void cleanupTestCase()
    {
        Stop(FManager);
        Stop(FServer);
    }

    void opensTheLogoAndKeepsItsSizeThroughSlides()
    {
        const QString logo = FHome.filePath(u"outside.qvd"_s);
        FileTesting::WriteAll(logo, "[SET]\r\nLabel=Outside\r\n");
        auto program = Start(QStringLiteral(QUILVORO_PROGRAM), {logo}, FEnvironment);
        QVERIFY(program);
        const auto stop = qScopeGuard([&] { Stop(program); });

        QString window;
        QVERIFY2(WaitFor(
                     [&] {
                         window = Run(u"xdotool"_s, {u"search"_s, u"--name"_s, u"Quilvoro 2.5"_s},
                                      FEnvironment)
                                      .split(u'\n', Qt::SkipEmptyParts)
                                      .value(0);
                         return !window.isEmpty();
                     },
                     20000),
                 "the window did not appear");
        const auto height = [&] {
            static const QRegularExpression line(u"Height: (\\d+)"_s);
            return line.match(Run(u"xwininfo"_s, {u"-id"_s, window}, FEnvironment))
                .captured(1)
                .toInt();
        };
        // with the file given, the preview slides in by itself
        QVERIFY2(WaitFor([&] { return height() == 621; }, 20000),
                 qPrintable(u"height %1"_s.arg(height())));

        // New, slide after slide, with a second press while one runs: whatever the window
        // manager made of the steps, the window ends each slide at its size
        Run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window}, FEnvironment);
        // a loaded machine may poll past a whole slide, so one seen slide out of three will do
        int slidesSeen = 0;
        for (int round = 0; round < 3; ++round) {
            Run(u"xdotool"_s, {u"key"_s, u"ctrl+n"_s}, FEnvironment);
            slidesSeen += WaitFor([&] { return height() != 621; }, 5000) ? 1 : 0;
            Run(u"xdotool"_s, {u"key"_s, u"ctrl+n"_s}, FEnvironment);
            QVERIFY2(WaitFor([&] { return height() == 621; }, 20000),
                     qPrintable(u"round %1: height %2"_s.arg(round).arg(height())));
        }
        QVERIFY(slidesSeen > 0);
        QThread::msleep(1500);
        QCOMPARE(height(), 621);

        // the layout is drawn for one size, which the window manager cannot change either
        Run(u"xdotool"_s, {u"windowsize"_s, window, u"500"_s, u"900"_s}, FEnvironment);
        const auto width = [&] {
            static const QRegularExpression line(u"Width: (\\d+)"_s);
            return line.match(Run(u"xwininfo"_s, {u"-id"_s, window}, FEnvironment))
                .captured(1)
                .toInt();
        };
        QVERIFY2(!WaitFor([&] { return width() != 802 || height() != 621; }, 1500),
                 qPrintable(u"%1 x %2"_s.arg(width()).arg(height())));
        QCOMPARE(program->state(), QProcess::Running);
    }

private:
    QTemporaryDir FHome;
    QProcessEnvironment FEnvironment;
    std::unique_ptr<QProcess> FServer;
    std::unique_ptr<QProcess> FManager;
};

QTEST_GUILESS_MAIN(tst_WindowUnderWindowManager)
#include "tst_WindowUnderWindowManager.moc"
