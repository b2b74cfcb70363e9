#pragma once

#include "platform/services.h"

// The application object: runs the clock window for the life of the process.
class CClockApp {
public:
    explicit CClockApp(const Services& services) : m_services(services) {}

    // Runs the clock until it is closed; false, as there is nothing more to run.
    bool InitInstance();
    // The process exit status.
    int ExitInstance();

private:
    const Services& m_services;
};
