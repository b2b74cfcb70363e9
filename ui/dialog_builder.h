#pragma once

#include <map>
#include <vector>

#include <QRect>
#include <QSize>

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

struct DialogLayout {
    std::vector<QRect> controls;
    QSize client;
};

// Makes room for controls whose minimum size exceeds their rectangle without changing the
// arrangement: a control short of width pushes every edge at or right of its own right edge
// further right by the shortfall (controls across that line stretch, those beyond it move, the
// client area widens), and the same downwards for height.
DialogLayout GrowToFit(DialogLayout layout, const std::vector<QSize>& minimums);

// Creates the template's controls as children of `dialog`, in tab order, named after their ids,
// placed by GrowToFit, and gives the dialog its caption, font and fixed size. Controls whose id
// is in `bound` are the dialog's own widgets (its members) and are adopted instead of created.
// Returns every control that has an id, by id.
std::map<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& t,
                                    const std::map<int, QWidget*>& bound = {});
