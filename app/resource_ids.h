#pragma once

#include <QString>

// The program's title: the caption of its own message boxes.
inline constexpr char kAppTitle[] = "Kelvarine";

inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDR_SKIN_FIRST = 129;
inline constexpr int kSkinCount = 8;
inline constexpr unsigned IDR_PREVIEW_BACK = 145;
inline constexpr unsigned IDR_ALARM_WAVE = 146;

// Compiled-in resources live under their numeric id, e.g. ":/png/129".
inline QString ResourcePath(const char* type, unsigned id) {
    return QStringLiteral(":/%1/%2").arg(QLatin1String(type)).arg(id);
}
