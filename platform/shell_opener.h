#pragma once

#include <functional>

#include <QUrl>

#include "platform/services.h"

// Opens targets the way the desktop does (xdg-open, xdg-email behind QDesktopServices). Those
// only say whether they could start, so the registration is checked first, to tell "nothing
// registered" and "registered program missing" apart from success.
class XdgShellOpener : public ShellOpener {
public:
    using UrlOpener = std::function<bool(const QUrl&)>;
    // `openUrl` hands the URL over; QDesktopServices::openUrl unless a test says otherwise.
    explicit XdgShellOpener(MimeDefaults& mime, UrlOpener openUrl = {});
    int Open(const QString& target) override;

private:
    // kLaunchStarted when the application with that desktop-file ID can be run.
    int CheckHandler(const QString& id) const;

    MimeDefaults& m_mime;
    UrlOpener m_openUrl;
};
