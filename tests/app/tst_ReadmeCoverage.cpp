// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QProcess>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString Readme()
{
    return QString::fromUtf8(FileTesting::ReadAll(QStringLiteral(QUILVORO_README)));
}

// Whether `word` stands in `text` on its own, not as part of a longer option or key.
bool Mentions(const QString& text, const QString& word)
{
    const QRegularExpression alone(u"(^|[^\\w+-])"_s + QRegularExpression::escape(word)
                                   + u"($|[^\\w+-])"_s);
    return text.contains(alone);
}

// The options a command's --help lists, short and long.
QStringList HelpOptions(const QStringList& arguments)
{
    QProcess program;
    program.start(QStringLiteral(QUILVORO_PROGRAM), arguments + QStringList {u"--help"_s});
    if (!program.waitForFinished(30000) || program.exitCode() != 0)
        return {};
    QStringList options;
    static const QRegularExpression optionLine(u"^  (-\\w), (--[\\w-]+)|^  (--[\\w-]+)"_s);
    for (const QString& line : QString::fromUtf8(program.readAllStandardOutput()).split(u'\n')) {
        const QRegularExpressionMatch match = optionLine.match(line);
        for (int i = 1; i <= 3; ++i) {
            if (!match.captured(i).isEmpty())
                options.append(match.captured(i));
        }
    }
    return options;
}

} // namespace

// The read-me that S. O. S. opens keeps up with the program.
class tst_ReadmeCoverage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void namesEveryShortcutOfTheWindow()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        QList<QKeySequence> keys;
        for (const QAction* action : form.findChildren<QAction*>())
            keys += action->shortcuts();
        for (const QAction* action : form.actions())
            keys += action->shortcuts();
        for (const QShortcut* shortcut : form.findChildren<QShortcut*>())
            keys += shortcut->keys();
        QVERIFY(keys.size() >= 8);
        const QString readme = Readme();
        for (const QKeySequence& key : std::as_const(keys)) {
            const QString name = key.toString(QKeySequence::PortableText);
            QVERIFY2(Mentions(readme, name), qPrintable(name));
        }
    }

    void namesEveryCommandLineOption_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("window") << QStringList {};
        QTest::newRow("render") << QStringList {u"render"_s};
    }

    void namesEveryCommandLineOption()
    {
        QFETCH(QStringList, command);
        const QStringList options = HelpOptions(command);
        QVERIFY(options.contains(u"--help"_s));
        const QString readme = Readme();
        for (const QString& option : options)
            QVERIFY2(Mentions(readme, option), qPrintable(option));
        if (!command.isEmpty())
            QVERIFY(Mentions(readme, u"quilvoro "_s + command.join(u' ')));
    }
};

QUILVORO_APP_TEST_MAIN(tst_ReadmeCoverage)
#include "tst_ReadmeCoverage.moc"
