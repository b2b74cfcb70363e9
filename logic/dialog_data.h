#pragma once

#include <optional>

#include <QString>

// Reading the number fields of a dialog the way the dialog framework does, with its messages.

// An integer field's text: blanks (spaces, tabs) around, an optional sign, decimal digits.
// Values beyond the int range saturate, so they fail any range check rather than wrapping.
std::optional<int> ParseDialogInt(const QString& text);

struct IntFieldResult {
    std::optional<int> value;  // set when the text is an integer within the range
    QString message;           // what to tell the user otherwise
};

// "Please enter an integer." for a text that is no integer, "Please enter an integer between
// min and max." for one outside the range.
IntFieldResult ReadIntField(const QString& text, int min, int max);
