#pragma once

#include <QString>

// The program's title: the caption of its own message boxes.
inline constexpr char kAppTitle[] = "Kelvarine";

inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDR_SKIN_FIRST = 129;  // eight skins, see skins.h
inline constexpr unsigned IDR_PREVIEW_BACK = 145;
inline constexpr unsigned IDR_ALARM_WAVE = 146;

// Dialog templates (logic/dialogs.cpp) and their controls.
inline constexpr unsigned IDD_MEMO = 140;
inline constexpr int IDC_MEMO_LIST = 1000;
inline constexpr int IDC_MEMO_TEXT = 1002;
inline constexpr int IDC_MEMO_DELETE = 1003;
inline constexpr int IDC_MEMO_ADD = 1004;
inline constexpr int IDC_MEMO_CALENDAR = 1006;
inline constexpr int IDC_MEMO_HOUR = 1007;
inline constexpr int IDC_MEMO_MINUTE = 1008;

inline constexpr unsigned IDD_SETTINGS = 142;
inline constexpr int IDOK = 1;
inline constexpr int IDC_AUTOSTART = 1009;
inline constexpr int IDC_SKIN_LIST = 1010;
inline constexpr int IDC_PREVIEW_FRAME = 1011;
inline constexpr int IDC_REPORT_LINK = 1012;

// Compiled-in resources live under their numeric id, e.g. ":/png/129".
inline QString ResourcePath(const char* type, unsigned id) {
    return QStringLiteral(":/%1/%2").arg(QLatin1String(type)).arg(id);
}
