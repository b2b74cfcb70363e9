#pragma once

#include <memory>

#include <QImage>
#include <QSize>
#include <QStringList>

#include "logic/failure_streak.h"
#include "platform/services.h"

class QWidget;

// The skin the face shows: its image at the screen's density and its size, and the user's
// choice kept in the profile.
class FaceSkin {
public:
    explicit FaceSkin(const Services& services) : m_services(services) {}

    // The skin the profile names (skin 0 when it names none); a profile that cannot be read is
    // told in `problems`.
    int Stored(QStringList& problems) const;
    // Loads skin `skin`; when it cannot, the skin shown stays and the result is false.
    bool Select(int skin, qreal dpr);
    // Keeps `skin` as the user's choice. Told once, over `owner`, while storing keeps failing;
    // the skin is shown all the same.
    void Store(int skin, QWidget* owner);

    // In logical pixels, whatever the image's density; empty before a skin was loaded.
    QSize size() const;
    // Null before a skin was loaded.
    const QImage* image() const { return m_image.get(); }
    // The skin last loaded (0 before any was).
    int shown() const { return m_shown; }

private:
    const Services& m_services;
    std::unique_ptr<QImage> m_image;
    int m_shown = 0;
    FailureStreak m_storeFailures;  // of the tries to store the skin
};
