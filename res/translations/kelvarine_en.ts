<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CClockDlg</name>
    <message>
        <source>The skin could not be stored in %1:
%2.

The clock shows it until it ends; the next start shows the skin stored before.</source>
        <extracomment>%1 is the settings file, %2 the system&apos;s reason.</extracomment>
        <translation>The skin could not be stored in %1:
%2.

The clock shows it until it ends; the next start shows the skin stored before.</translation>
    </message>
    <message>
        <source>备忘事件…</source>
        <translation>Memos…</translation>
    </message>
    <message>
        <source>显示备忘列表</source>
        <translation>Shows the list of memos</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>选择皮肤和开机自动启动</source>
        <translation>Chooses the skin and whether the clock starts at login</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>关闭时钟</source>
        <translation>Ends the clock</translation>
    </message>
    <message>
        <source>Kelvarine, %1</source>
        <extracomment>What a screen reader calls the clock: %1 is the time it shows.</extracomment>
        <translation>Kelvarine, %1</translation>
    </message>
    <message>
        <source>The memos cannot be read from %1: %2.

The clock leaves that file as it is and reads it again every minute.</source>
        <translation>The memos cannot be read from %1: %2.

The clock leaves that file as it is and reads it again every minute.</translation>
    </message>
    <message>
        <source>The chosen skin cannot be read from %1: %2.

The clock shows the first skin.</source>
        <translation>The chosen skin cannot be read from %1: %2.

The clock shows the first skin.</translation>
    </message>
</context>
<context>
    <name>CLinkLabel</name>
    <message>
        <source>打开链接</source>
        <translation>Open link</translation>
    </message>
</context>
<context>
    <name>CMemoDlg</name>
    <message>
        <source>一行文字：换行变成空格</source>
        <translation>One line of text: line breaks become spaces</translation>
    </message>
</context>
<context>
    <name>CSettingsDlg</name>
    <message>
        <source>The clock cannot start with your session from %1: a session entry cannot hold that path, as it is not valid UTF-8.</source>
        <translation>The clock cannot start with your session from %1: a session entry cannot hold that path, as it is not valid UTF-8.</translation>
    </message>
    <message>
        <source>The clock could not be set to start with your session: its entry %1 cannot be written: %2.</source>
        <translation>The clock could not be set to start with your session: its entry %1 cannot be written: %2.</translation>
    </message>
</context>
<context>
    <name>DialogData</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>备忘事件</source>
        <translation>Memos</translation>
    </message>
    <message>
        <source>&lt;= 添加</source>
        <translation>&lt;= Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>开机自动启动</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Report bugs to me</source>
        <translation>Report bugs to me</translation>
    </message>
    <message>
        <source>备忘内容</source>
        <translation>Memo text</translation>
    </message>
    <message>
        <source>新备忘的一行文字</source>
        <translation>The line of text of a new memo</translation>
    </message>
    <message>
        <source>添加备忘</source>
        <translation>Add memo</translation>
    </message>
    <message>
        <source>把所选日期、时间和文字作为新备忘加入列表</source>
        <translation>Adds the chosen date, time and text to the list as a new memo</translation>
    </message>
    <message>
        <source>删除备忘</source>
        <translation>Delete memo</translation>
    </message>
    <message>
        <source>从列表中删除所选备忘</source>
        <translation>Removes the selected memo from the list</translation>
    </message>
    <message>
        <source>备忘列表</source>
        <translation>Memos</translation>
    </message>
    <message>
        <source>所有备忘，按日期排列；关闭窗口时保存</source>
        <translation>Every memo, in date order; closing the window saves them</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>新备忘的日期</source>
        <translation>The date of a new memo</translation>
    </message>
    <message>
        <source>小时</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>新备忘的小时，0 到 23</source>
        <translation>The hour of a new memo, 0 to 23</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>新备忘的分钟，0 到 59</source>
        <translation>The minute of a new memo, 0 to 59</translation>
    </message>
    <message>
        <source>皮肤</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>时钟表盘的样式，旁边是预览</source>
        <translation>The look of the clock face, previewed beside the list</translation>
    </message>
    <message>
        <source>登录桌面时启动时钟</source>
        <translation>Starts the clock when you log in to the desktop</translation>
    </message>
    <message>
        <source>使用所选皮肤并关闭设置</source>
        <translation>Uses the chosen skin and closes the settings</translation>
    </message>
    <message>
        <source>皮肤预览</source>
        <translation>Skin preview</translation>
    </message>
    <message>
        <source>给开发者写一封报告问题的邮件</source>
        <translation>Writes an e-mail to the developers to report a problem</translation>
    </message>
    <message>
        <source>月份和年份</source>
        <translation>Month and year</translation>
    </message>
    <message>
        <source>上个月</source>
        <translation>Previous month</translation>
    </message>
    <message>
        <source>下个月</source>
        <translation>Next month</translation>
    </message>
    <message>
        <source>月份</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>年份</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>本月各日</source>
        <translation>Days of the month</translation>
    </message>
</context>
<context>
    <name>LinkOpen</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>The operating system is out
of memory or resources.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>The specified file was not found.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>The specified path was not found.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>The operating system denied
access to the specified file.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>There was not enough memory to complete the operation.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>A sharing violation occurred. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>The filename association is
incomplete or invalid.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>The DDE transaction could not
be completed because the request timed out.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>The DDE transaction failed.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>The DDE transaction could not
be completed because other DDE transactions
were being processed.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>There is no application associated
with the given filename extension.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>The specified dynamic-link library was not found.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Unknown Error (%1) occurred.</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:</source>
        <translation>Unable to open hyperlink:</translation>
    </message>
    <message>
        <source>No mail program is set up to open this link.</source>
        <translation>No mail program is set up to open this link.</translation>
    </message>
    <message>
        <source>You can write to:</source>
        <extracomment>Followed by a line with the mail address alone, for the user to copy.</extracomment>
        <translation>You can write to:</translation>
    </message>
</context>
<context>
    <name>Reminder</name>
    <message>
        <source>%1 %2 - 删除此备忘？</source>
        <extracomment>The reminder&apos;s question: %1 is the memo&apos;s date and time, %2 its text.</extracomment>
        <translation>%1 %2 - Delete this memo?</translation>
    </message>
    <message>
        <source>memo</source>
        <translation>memo</translation>
    </message>
    <message>
        <source>The memos could not be saved to %1:
%2.

They are kept while the clock runs, and saved as soon as that works again.</source>
        <extracomment>%1 is the memo file, %2 the system&apos;s reason.</extracomment>
        <translation>The memos could not be saved to %1:
%2.

They are kept while the clock runs, and saved as soon as that works again.</translation>
    </message>
    <message>
        <source>The memo folder %1 was replaced, and another clock now keeps the memos there.

This clock no longer rings or saves memos, so that none rings twice.</source>
        <extracomment>%1 is the folder of the memo file.</extracomment>
        <translation>The memo folder %1 was replaced, and another clock now keeps the memos there.

This clock no longer rings or saves memos, so that none rings twice.</translation>
    </message>
</context>
<context>
    <name>Skins</name>
    <message>
        <source>标准版</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>传统版</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>优雅版</source>
        <translation>Elegant</translation>
    </message>
    <message>
        <source>奥运版</source>
        <translation>Olympic</translation>
    </message>
    <message>
        <source>卡通版</source>
        <translation>Cartoon</translation>
    </message>
    <message>
        <source>简装版</source>
        <translation>Simple</translation>
    </message>
    <message>
        <source>梦幻版</source>
        <translation>Dream</translation>
    </message>
    <message>
        <source>光盘版</source>
        <translation>CD</translation>
    </message>
</context>
<context>
    <name>UserFile</name>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>it is a folder, not a regular file</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>it is a named pipe, not a regular file</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>it is a socket, not a regular file</translation>
    </message>
    <message>
        <source>it is a character device, not a regular file</source>
        <translation>it is a character device, not a regular file</translation>
    </message>
    <message>
        <source>it is a block device, not a regular file</source>
        <translation>it is a block device, not a regular file</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>it is larger than %1, too large for the clock</source>
        <extracomment>Why a file is not read: %1 is the largest size the clock reads, as &quot;64 MB&quot;.</extracomment>
        <translation>it is larger than %1, too large for the clock</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The clock cannot lock the folder of its memos, %1: %2.

It does not start, so that no second clock can write the same memo file.</source>
        <translation>The clock cannot lock the folder of its memos, %1: %2.

It does not start, so that no second clock can write the same memo file.</translation>
    </message>
</context>
</TS>
