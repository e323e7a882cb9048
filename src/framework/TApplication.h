#pragma once

#include <QApplication>

#include <exception>
#include <functional>

// The application object: owns the message loop and shows exceptions that escape a handler
// in an error message box captioned with the title, after which the program goes on.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    QString Title() const { return m_title; }
    void SetTitle(const QString& title);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an exception the way the program shows every unhandled failure.
    void ShowException(const std::exception& e);
    void ShowException(const QString& message);

    // The message text as the display shows it: a "." is added when the last character sorts
    // after ".".
    static QString ExceptionText(const QString& message);

    // Runs `body` inside the start-up guard: any exception that escapes is shown and 0 returned.
    static int RunGuarded(const std::function<int()>& body);

    static TApplication* Instance();

private:
    QString m_title;
};
