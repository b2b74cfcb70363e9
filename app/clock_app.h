#pragma once

#include <QString>

#include "platform/services.h"

class ApplicationBus;

// The application object: runs the clock window for the life of the process, doing what later
// starts ask of it through `bus`, and first `startAction` ("memos", "settings" or none).
class CClockApp {
public:
    CClockApp(const Services& services, ApplicationBus* bus = nullptr, QString startAction = {})
        : m_services(services), m_bus(bus), m_startAction(std::move(startAction)) {}

    // Runs the clock until it is closed; false, as there is nothing more to run.
    bool InitInstance();
    // The process exit status.
    int ExitInstance();

private:
    const Services& m_services;
    ApplicationBus* m_bus;
    QString m_startAction;
};
