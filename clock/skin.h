#pragma once

#include <memory>
#include <optional>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

// Loads compiled-in PNG `nResourceId` into `slot`. On failure (no such resource, bytes that
// do not decode) the slot keeps what it held and the result is false.
bool LoadPngResource(unsigned nResourceId, std::unique_ptr<QImage>& slot);

// The skin index stored in the profile, or skin 0 when it is absent, no number or names no skin.
int SkinIndexFromProfile(const std::optional<QString>& stored);

// Where the clock first appears: its right edge on the screen's right edge, 50 pixels down.
QRect InitialClockRect(const QRect& screen, QSize face);
