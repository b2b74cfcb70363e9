#pragma once

#include <QObject>
#include <QString>

// The running clock on the session bus, the way desktops reach running applications: the
// org.freedesktop.Application interface, under the application id as bus name. A second start
// asks the clock that runs through it instead of starting a clock of its own.

// Serves the interface for the clock that runs and reports what was asked.
class ApplicationBus : public QObject {
    Q_OBJECT
public:
    ApplicationBus();
    ~ApplicationBus() override;
    // Takes the name and serves the object; false without a session bus or when the name is
    // taken.
    bool Register();

signals:
    // The user started the program again: bring the clock to the front.
    void activateRequested();
    // A desktop action ("memos", "settings").
    void actionRequested(const QString& name);

private:
    bool m_registered = false;
};

enum class BusRequest {
    Delivered,  // the running clock has it
    NoBus,      // there is no session bus to ask through
    NoClock,    // nobody answered under the name
};

// Asks the running clock to come to the front (`action` empty) or to run a desktop action,
// trying again for up to `waitMs` while nobody answers (the clock may be starting).
BusRequest AskRunningClock(const QString& action, int waitMs);
