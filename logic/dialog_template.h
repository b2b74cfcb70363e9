#pragma once

#include <vector>

#include <QRect>
#include <QSize>
#include <Qt>

// A dialog described as data, the way a resource script describes it: every control with its
// id, class, text and rectangle in dialog units, and the rows and columns they stand in.
// BuildDialog (ui/dialog_builder.h) turns one into Qt widgets and layouts.

enum class ControlClass { Edit, Button, ListBox, MonthCalendar, Static };

// The styles a template may give a control beyond "child, visible".
enum ControlStyle : unsigned {
    kStyleBorder = 1u << 0,
    kStyleTabStop = 1u << 1,
    kStyleAutoHScroll = 1u << 2,  // edit: scrolls sideways instead of wrapping
    kStyleNotify = 1u << 3,       // list box: reports selection changes
    kStyleSort = 1u << 4,         // list box: keeps its lines sorted (done by the owner)
    kStyleNoIntegralHeight = 1u << 5,
    kStyleVScroll = 1u << 6,
    kStyleNoToday = 1u << 7,  // month calendar: no "today" footer
    kStylePushButton = 1u << 8,
    kStyleAutoCheckBox = 1u << 9,
    kStyleLeft = 1u << 10,  // static: left-aligned text
    kStyleGroup = 1u << 11,
    kStyleBlackRect = 1u << 12,  // static: a filled frame, no text
    kStyleHidden = 1u << 13,     // not visible when created
};

inline constexpr int IDC_STATIC = -1;

// The translation context of the templates' texts.
inline constexpr char kDialogTextContext[] = "Dialogs";

struct ControlTemplate {
    int id;
    const char* name;  // the control's object name; empty for IDC_STATIC
    ControlClass cls;
    const char* text;  // UTF-8, as written; translated in kDialogTextContext
    QRect rect;        // dialog units
    unsigned styles;
    // What assistive technology calls the control and says of it (translated like `text`); a
    // control without a name is called by its text.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
};

// How a dialog's controls are arranged: rows and columns of controls, which the dialog's layout
// follows. The gaps, margins and sizes come from the controls' rectangles, so a dialog whose texts
// fit looks as drawn, while a longer text widens its control and moves what lies beyond it.
struct LayoutBox {
    enum Kind { kRow, kColumn, kControl, kStretch };
    Kind kind = kRow;
    int control = -1;                 // kControl: its index in DialogTemplate::controls
    Qt::Orientations grows = {};      // kControl: the ways it takes the room of a larger dialog
    std::vector<LayoutBox> children;  // kRow, kColumn; a box without a stretch or a control
                                      // that grows its way packs them at its start
};

struct DialogTemplate {
    unsigned id;
    const char* caption;  // UTF-8, as written; translated in kDialogTextContext
    QSize size;           // dialog units
    const char* fontFamily;
    int fontPoints;
    std::vector<ControlTemplate> controls;  // in tab order
    // The dialog can be made larger when a control grows; controls left out keep their
    // rectangle.
    LayoutBox layout;
};

// The compiled-in template with that resource id, or nullptr.
const DialogTemplate* FindDialogTemplate(unsigned id);
