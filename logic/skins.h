#pragma once

#include <optional>

#include <QString>

#include "logic/resource_ids.h"

// The clock's eight built-in faces: what they are called, where their images are, and how the
// chosen one is kept in the profile.

inline constexpr int kSkinCount = 8;

// The compiled-in image of skin `skin` (0..7): PNG resource IDR_SKIN_FIRST + skin.
inline unsigned SkinResourceId(int skin) {
    return IDR_SKIN_FIRST + static_cast<unsigned>(skin);
}

// The skin's name in the user's language.
QString SkinName(int skin);

// Where the profile keeps the chosen skin's index, as decimal text.
inline constexpr char kSkinGroup[] = "Kelvarine";
inline constexpr char kSkinKey[] = "Rand";

// The skin index stored in the profile, or skin 0 when it is absent, no number or names no skin.
int SkinIndexFromProfile(const std::optional<QString>& stored);
