#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// A message-driven timer: OnTimer runs on the UI thread every Interval ms while Enabled.
class TTimer : public QObject
{
    Q_OBJECT

public:
    explicit TTimer(QObject* parent = nullptr);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    int Interval() const { return m_timer.interval(); }
    void SetInterval(int ms);

    // A free number for the owner; the slide transition keeps its phase in it.
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    // Runs the tick handler as a timeout would.
    void Tick();

    std::function<void(QObject*)> OnTimer;

private:
    void Restart();

    QTimer m_timer;
    bool FEnabled = true;
    int FTag = 0;
};
