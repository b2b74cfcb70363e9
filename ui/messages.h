#pragma once

#include <QEvent>

// Private messages between the clock's windows; always posted, never sent, so the receiver
// runs them after the current paint or input handler has finished.
inline constexpr QEvent::Type WM_CHECK_MEMOS = static_cast<QEvent::Type>(QEvent::User + 101);
inline constexpr QEvent::Type WM_MOUSEHOVER = static_cast<QEvent::Type>(QEvent::User + 0x2A1);
inline constexpr QEvent::Type WM_MOUSELEAVE = static_cast<QEvent::Type>(QEvent::User + 0x2A3);
