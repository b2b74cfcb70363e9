// The dialogs' layouts, in dialog units, with their controls in tab order. Their texts are
// translated where the dialogs are built, in the context kDialogTextContext.

#include <QtGlobal>

#include "logic/dialog_template.h"
#include "logic/resource_ids.h"

namespace {

using enum ControlClass;

LayoutBox Row(std::vector<LayoutBox> children) {
    return {LayoutBox::kRow, -1, {}, std::move(children)};
}
LayoutBox Column(std::vector<LayoutBox> children) {
    return {LayoutBox::kColumn, -1, {}, std::move(children)};
}
LayoutBox Control(int index, Qt::Orientations grows = {}) {
    return {LayoutBox::kControl, index, grows, {}};
}
LayoutBox Stretch() {
    return {LayoutBox::kStretch, -1, {}, {}};
}

const DialogTemplate kMemoDialog = {
    IDD_MEMO,
    QT_TRANSLATE_NOOP("Dialogs", "备忘事件"),
    {286, 212},
    "System",
    10,
    {
        // A single-line edit in a tall frame.
        {IDC_MEMO_TEXT,
         "IDC_MEMO_TEXT",
         Edit,
         "",
         {155, 92, 124, 113},
         kStyleBorder | kStyleTabStop | kStyleAutoHScroll,
         QT_TRANSLATE_NOOP("Dialogs", "备忘内容"),
         QT_TRANSLATE_NOOP("Dialogs", "新备忘的一行文字")},
        {IDC_MEMO_ADD,
         "IDC_MEMO_ADD",
         Button,
         QT_TRANSLATE_NOOP("Dialogs", "<= 添加"),
         {102, 137, 50, 14},
         kStylePushButton | kStyleTabStop,
         QT_TRANSLATE_NOOP("Dialogs", "添加备忘"),
         QT_TRANSLATE_NOOP("Dialogs", "把所选日期、时间和文字作为新备忘加入列表")},
        {IDC_MEMO_DELETE,
         "IDC_MEMO_DELETE",
         Button,
         QT_TRANSLATE_NOOP("Dialogs", "删除"),
         {102, 162, 50, 14},
         kStylePushButton | kStyleTabStop,
         QT_TRANSLATE_NOOP("Dialogs", "删除备忘"),
         QT_TRANSLATE_NOOP("Dialogs", "从列表中删除所选备忘")},
        {IDC_MEMO_LIST,
         "IDC_MEMO_LIST",
         ListBox,
         "",
         {7, 7, 92, 198},
         kStyleNotify | kStyleSort | kStyleNoIntegralHeight | kStyleVScroll | kStyleBorder |
             kStyleTabStop,
         QT_TRANSLATE_NOOP("Dialogs", "备忘列表"),
         QT_TRANSLATE_NOOP("Dialogs", "所有备忘，按日期排列；关闭窗口时保存")},
        {IDC_MEMO_CALENDAR,
         "IDC_MEMO_CALENDAR",
         MonthCalendar,
         "",
         {100, 7, 179, 82},
         kStyleNoToday | kStyleTabStop,
         QT_TRANSLATE_NOOP("Dialogs", "日期"),
         QT_TRANSLATE_NOOP("Dialogs", "新备忘的日期")},
        {IDC_MEMO_HOUR,
         "IDC_MEMO_HOUR",
         Edit,
         "",
         {105, 99, 19, 14},
         kStyleBorder | kStyleTabStop | kStyleAutoHScroll,
         QT_TRANSLATE_NOOP("Dialogs", "小时"),
         QT_TRANSLATE_NOOP("Dialogs", "新备忘的小时，0 到 23")},
        {IDC_STATIC, "", Static, ":", {126, 101, 5, 8}, kStyleLeft | kStyleGroup},
        {IDC_MEMO_MINUTE,
         "IDC_MEMO_MINUTE",
         Edit,
         "",
         {132, 99, 19, 14},
         kStyleBorder | kStyleTabStop | kStyleAutoHScroll,
         QT_TRANSLATE_NOOP("Dialogs", "分钟"),
         QT_TRANSLATE_NOOP("Dialogs", "新备忘的分钟，0 到 59")},
    },
    // The list (3) on the left takes a larger dialog's room, showing more of every memo; on the
    // right the calendar (4), and under it the time (5 : 7) above the buttons (1, 2) beside the
    // text field (0), which takes the height.
    Row({Control(3, Qt::Horizontal | Qt::Vertical),
         Column({Control(4),
                 Row({Column({Row({Control(5), Control(6), Control(7)}), Control(1), Control(2)}),
                      Control(0, Qt::Vertical)})})}),
};

const DialogTemplate kSettingsDialog = {
    IDD_SETTINGS,
    QT_TRANSLATE_NOOP("Dialogs", "设置"),
    {145, 132},
    "System",
    10,
    {
        {IDC_SKIN_LIST,
         "IDC_SKIN_LIST",
         ListBox,
         "",
         {7, 7, 47, 101},
         kStyleBorder | kStyleVScroll | kStyleTabStop | kStyleNotify | kStyleNoIntegralHeight,
         QT_TRANSLATE_NOOP("Dialogs", "皮肤"),
         QT_TRANSLATE_NOOP("Dialogs", "时钟表盘的样式，旁边是预览")},
        {IDC_AUTOSTART,
         "IDC_AUTOSTART",
         Button,
         QT_TRANSLATE_NOOP("Dialogs", "开机自动启动"),
         {7, 115, 64, 10},
         kStyleAutoCheckBox | kStyleTabStop,
         nullptr,
         QT_TRANSLATE_NOOP("Dialogs", "登录桌面时启动时钟")},
        {IDOK,
         "IDOK",
         Button,
         QT_TRANSLATE_NOOP("Dialogs", "确定"),
         {88, 111, 50, 14},
         kStylePushButton | kStyleTabStop,
         nullptr,
         QT_TRANSLATE_NOOP("Dialogs", "使用所选皮肤并关闭设置")},
        // Never shown: it only marks where the preview is painted.
        {IDC_PREVIEW_FRAME,
         "IDC_PREVIEW_FRAME",
         Static,
         "",
         {54, 7, 84, 81},
         kStyleBlackRect | kStyleHidden,
         QT_TRANSLATE_NOOP("Dialogs", "皮肤预览")},
        {IDC_REPORT_LINK,
         "IDC_REPORT_LINK",
         Static,
         QT_TRANSLATE_NOOP("Dialogs", "Report bugs to me"),
         {69, 95, 61, 8},
         kStyleLeft | kStyleGroup | kStyleTabStop,
         nullptr,
         QT_TRANSLATE_NOOP("Dialogs", "给开发者写一封报告问题的邮件")},
    },
    // The skins (0) beside the preview (3) over the link (4), and the box (1) beside OK (2): the
    // preview and OK keep to the right edge of a dialog widened by a long text.
    Column({Row({Control(0), Stretch(), Column({Control(3), Control(4)})}),
            Row({Control(1), Stretch(), Control(2)})}),
};

}  // namespace

const DialogTemplate* FindDialogTemplate(unsigned id) {
    for (const DialogTemplate* t : {&kMemoDialog, &kSettingsDialog}) {
        if (t->id == id) {
            return t;
        }
    }
    return nullptr;
}
