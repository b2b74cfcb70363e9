<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CClockDlg</name>
    <message>
        <source>The skin could not be stored in %1:
%2.

The clock shows it until it ends; the next start shows the skin stored before.</source>
        <extracomment>%1 is the settings file, %2 the system&apos;s reason.</extracomment>
        <translation>Das Design konnte nicht in %1 gespeichert werden:
%2.

Die Uhr zeigt es, bis sie beendet wird; der nächste Start zeigt das zuvor gespeicherte Design.</translation>
    </message>
    <message>
        <source>备忘事件…</source>
        <translation>Notizen…</translation>
    </message>
    <message>
        <source>显示备忘列表</source>
        <translation>Zeigt die Liste der Notizen</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>选择皮肤和开机自动启动</source>
        <translation>Wählt das Design und ob die Uhr beim Anmelden startet</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>关闭时钟</source>
        <translation>Beendet die Uhr</translation>
    </message>
    <message>
        <source>Kelvarine, %1</source>
        <extracomment>What a screen reader calls the clock: %1 is the time it shows.</extracomment>
        <translation>Kelvarine, %1 Uhr</translation>
    </message>
    <message>
        <source>The memos cannot be read from %1: %2.

The clock leaves that file as it is and reads it again every minute.</source>
        <translation>Die Notizen können nicht aus %1 gelesen werden: %2.

Die Uhr lässt diese Datei, wie sie ist, und liest sie jede Minute erneut.</translation>
    </message>
    <message>
        <source>The chosen skin cannot be read from %1: %2.

The clock shows the first skin.</source>
        <translation>Das gewählte Design kann nicht aus %1 gelesen werden: %2.

Die Uhr zeigt das erste Design.</translation>
    </message>
</context>
<context>
    <name>CLinkLabel</name>
    <message>
        <source>打开链接</source>
        <translation>Link öffnen</translation>
    </message>
</context>
<context>
    <name>CMemoDlg</name>
    <message>
        <source>一行文字：换行变成空格</source>
        <translation>Eine Zeile Text: Zeilenumbrüche werden zu Leerzeichen</translation>
    </message>
</context>
<context>
    <name>CSettingsDlg</name>
    <message>
        <source>The clock cannot start with your session from %1: a session entry cannot hold that path, as it is not valid UTF-8.</source>
        <translation>Die Uhr kann nicht aus %1 mit Ihrer Sitzung starten: Ein Sitzungseintrag kann diesen Pfad nicht aufnehmen, da er kein gültiges UTF-8 ist.</translation>
    </message>
    <message>
        <source>The clock could not be set to start with your session: its entry %1 cannot be written: %2.</source>
        <translation>Die Uhr konnte nicht für den Start mit Ihrer Sitzung eingerichtet werden: Ihr Eintrag %1 kann nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>DialogData</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>备忘事件</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>&lt;= 添加</source>
        <translation>&lt;= Hinzufügen</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>开机自动启动</source>
        <translation>Beim Anmelden automatisch starten</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Report bugs to me</source>
        <translation>Fehler an mich melden</translation>
    </message>
    <message>
        <source>备忘内容</source>
        <translation>Notiztext</translation>
    </message>
    <message>
        <source>新备忘的一行文字</source>
        <translation>Die Textzeile einer neuen Notiz</translation>
    </message>
    <message>
        <source>添加备忘</source>
        <translation>Notiz hinzufügen</translation>
    </message>
    <message>
        <source>把所选日期、时间和文字作为新备忘加入列表</source>
        <translation>Fügt gewähltes Datum, Uhrzeit und Text als neue Notiz der Liste hinzu</translation>
    </message>
    <message>
        <source>删除备忘</source>
        <translation>Notiz löschen</translation>
    </message>
    <message>
        <source>从列表中删除所选备忘</source>
        <translation>Entfernt die ausgewählte Notiz aus der Liste</translation>
    </message>
    <message>
        <source>备忘列表</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>所有备忘，按日期排列；关闭窗口时保存</source>
        <translation>Alle Notizen nach Datum; beim Schließen des Fensters gespeichert</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>新备忘的日期</source>
        <translation>Das Datum einer neuen Notiz</translation>
    </message>
    <message>
        <source>小时</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>新备忘的小时，0 到 23</source>
        <translation>Die Stunde einer neuen Notiz, 0 bis 23</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>新备忘的分钟，0 到 59</source>
        <translation>Die Minute einer neuen Notiz, 0 bis 59</translation>
    </message>
    <message>
        <source>皮肤</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>时钟表盘的样式，旁边是预览</source>
        <translation>Das Aussehen des Zifferblatts, neben der Liste in der Vorschau</translation>
    </message>
    <message>
        <source>登录桌面时启动时钟</source>
        <translation>Startet die Uhr, wenn Sie sich am Desktop anmelden</translation>
    </message>
    <message>
        <source>使用所选皮肤并关闭设置</source>
        <translation>Übernimmt das gewählte Design und schließt die Einstellungen</translation>
    </message>
    <message>
        <source>皮肤预览</source>
        <translation>Designvorschau</translation>
    </message>
    <message>
        <source>给开发者写一封报告问题的邮件</source>
        <translation>Schreibt den Entwicklern eine E-Mail, um ein Problem zu melden</translation>
    </message>
    <message>
        <source>月份和年份</source>
        <translation>Monat und Jahr</translation>
    </message>
    <message>
        <source>上个月</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>下个月</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>月份</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>年份</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>本月各日</source>
        <translation>Tage des Monats</translation>
    </message>
</context>
<context>
    <name>LinkOpen</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Dem Betriebssystem fehlt es
an Speicher oder Ressourcen.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Die angegebene Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Der angegebene Pfad wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Das Betriebssystem hat den Zugriff
auf die angegebene Datei verweigert.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>Für den Vorgang war nicht genug Speicher vorhanden.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>Die .EXE-Datei ist ungültig
(keine Win32-.EXE oder Fehler im .EXE-Abbild).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Eine Freigabeverletzung ist aufgetreten. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>Die Dateizuordnung ist
unvollständig oder ungültig.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil die Anfrage zu lange dauerte.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>Die DDE-Transaktion ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil andere DDE-Transaktionen
bearbeitet wurden.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Mit der angegebenen Dateiendung
ist keine Anwendung verknüpft.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>Die angegebene dynamische Bibliothek wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Unbekannter Fehler (%1) aufgetreten.</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:</source>
        <translation>Der Link konnte nicht geöffnet werden:</translation>
    </message>
    <message>
        <source>No mail program is set up to open this link.</source>
        <translation>Es ist kein E-Mail-Programm eingerichtet, das diesen Link öffnen kann.</translation>
    </message>
    <message>
        <source>You can write to:</source>
        <extracomment>Followed by a line with the mail address alone, for the user to copy.</extracomment>
        <translation>Sie können an diese Adresse schreiben:</translation>
    </message>
</context>
<context>
    <name>Reminder</name>
    <message>
        <source>%1 %2 - 删除此备忘？</source>
        <extracomment>The reminder&apos;s question: %1 is the memo&apos;s date and time, %2 its text.</extracomment>
        <translation>%1 %2 - Diese Notiz löschen?</translation>
    </message>
    <message>
        <source>memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>The memos could not be saved to %1:
%2.

They are kept while the clock runs, and saved as soon as that works again.</source>
        <extracomment>%1 is the memo file, %2 the system&apos;s reason.</extracomment>
        <translation>Die Notizen konnten nicht in %1 gespeichert werden:
%2.

Sie bleiben erhalten, solange die Uhr läuft, und werden gespeichert, sobald das wieder möglich ist.</translation>
    </message>
    <message>
        <source>The memo folder %1 was replaced, and another clock now keeps the memos there.

This clock no longer rings or saves memos, so that none rings twice.</source>
        <extracomment>%1 is the folder of the memo file.</extracomment>
        <translation>Der Notizordner %1 wurde ersetzt, und eine andere Uhr führt die Notizen dort jetzt.

Diese Uhr erinnert nicht mehr an Notizen und speichert keine mehr, damit keine doppelt klingelt.</translation>
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
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>优雅版</source>
        <translation>Elegant</translation>
    </message>
    <message>
        <source>奥运版</source>
        <translation>Olympia</translation>
    </message>
    <message>
        <source>卡通版</source>
        <translation>Comic</translation>
    </message>
    <message>
        <source>简装版</source>
        <translation>Schlicht</translation>
    </message>
    <message>
        <source>梦幻版</source>
        <translation>Traum</translation>
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
        <translation>es ist ein Ordner, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>es ist eine benannte Pipe, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>es ist ein Socket, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a character device, not a regular file</source>
        <translation>es ist ein zeichenorientiertes Gerät, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a block device, not a regular file</source>
        <translation>es ist ein blockorientiertes Gerät, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is larger than %1, too large for the clock</source>
        <extracomment>Why a file is not read: %1 is the largest size the clock reads, as &quot;64 MB&quot;.</extracomment>
        <translation>es ist größer als %1, zu groß für die Uhr</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The clock cannot lock the folder of its memos, %1: %2.

It does not start, so that no second clock can write the same memo file.</source>
        <translation>Die Uhr kann den Ordner ihrer Notizen, %1, nicht sperren: %2.

Sie startet nicht, damit keine zweite Uhr dieselbe Notizdatei schreibt.</translation>
    </message>
</context>
</TS>
