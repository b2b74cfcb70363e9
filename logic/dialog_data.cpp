#include "logic/dialog_data.h"

#include <algorithm>
#include <climits>

#include <QCoreApplication>

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

}  // namespace

std::optional<int> ParseDialogInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype digitsStart = i;
    long long value = 0;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        value =
            std::min(value * 10 + (text[i].unicode() - '0'), static_cast<long long>(INT_MAX) + 1);
        ++i;
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    value = negative ? -value : value;
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

IntFieldResult ReadIntField(const QString& text, int min, int max) {
    const std::optional<int> value = ParseDialogInt(text);
    if (!value) {
        return {std::nullopt,
                QCoreApplication::translate("DialogData", "Please enter an integer.")};
    }
    if (*value < min || *value > max) {
        return {std::nullopt, QCoreApplication::translate(
                                  "DialogData", "Please enter an integer between %1 and %2.")
                                  .arg(min)
                                  .arg(max)};
    }
    return {value, {}};
}
