#pragma once

#include <QObject>
#include <QString>

// The running clock on the session bus, the way desktops reach running applications: the
// org.freedesktop.Application interface. A second start asks the clock that runs through it
// instead of starting a clock of its own.

// The bus name of the clock whose memos are in `memoFolder`: the application id and one
// element for the folder, from its canonical path (links resolved, so every spelling of a
// folder meets one clock), so that clocks on different folders in one session never answer
// each other's starts.
QString BusNameFor(const QString& memoFolder);

// Serves the interface for the clock that runs and reports what was asked.
class ApplicationBus : public QObject {
    Q_OBJECT
public:
    explicit ApplicationBus(QString busName);
    ~ApplicationBus() override;

    enum class Registration {
        Done,
        NoBus,      // there is no session bus
        NameOwned,  // another process owns the name: ownerPid()
        Refused,    // the bus refused it otherwise
    };
    // Takes the name and serves the object.
    Registration Register();
    const QString& name() const { return m_busName; }
    // The process that owns the name when Register() found it owned.
    uint ownerPid() const { return m_ownerPid; }
    // Why Register() did not take the name, for a message: "no session bus".
    const QString& reason() const { return m_reason; }

signals:
    // The user started the program again: bring the clock to the front.
    void activateRequested();
    // A desktop action ("memos", "settings").
    void actionRequested(const QString& name);

private:
    QString m_busName;
    bool m_registered = false;
    uint m_ownerPid = 0;
    QString m_reason;
};

enum class BusRequest {
    Delivered,  // the running clock has it
    NoBus,      // there is no session bus to ask through
    NoClock,    // nobody answered under the name
};

// Asks the clock under `busName` to come to the front (`action` empty) or to run a desktop
// action, trying again for up to `waitMs` while nobody answers (the clock may be starting).
BusRequest AskRunningClock(const QString& busName, const QString& action, int waitMs);
