#pragma once

#include <map>

#include <QRect>

#include "logic/dialog_template.h"

class QDialog;
class QFont;
class QWidget;

// Pixels per dialog unit come from the dialog font: a quarter of its average character width
// across, an eighth of its height down.
struct DialogBaseUnits {
    int avgCharWidth = 0;
    int charHeight = 0;
};

// The average width is that of the 52 Latin letters, rounded, as the templates were drawn for.
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);

// A rectangle in dialog units as pixels, each edge rounded to the nearest pixel.
QRect MapDialogRect(const QRect& dialogUnits, DialogBaseUnits base);

// Creates the template's controls as children of `dialog`, in tab order, named after their ids,
// and lays them out as the template arranges them: each control at least its rectangle's size,
// and larger where its text or content needs it. Gives the dialog its caption, its font and
// the size of that layout, which it keeps unless a control grows; then that size is its least.
// Controls whose id is in `bound` are the dialog's own widgets (its members) and are adopted
// instead of created. Returns every control that has an id, by id.
std::map<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& t,
                                    const std::map<int, QWidget*>& bound = {});
