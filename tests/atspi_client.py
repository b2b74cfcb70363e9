"""What a screen reader sees of the running clock, through AT-SPI.

Usage: atspi_client.py face|memos|settings|add TEXT HOUR MINUTE
Prints what it finds; exits non-zero with a line per fault.
"""
import sys
import time

import pyatspi

# The roles a user reaches and needs a name for.
NAMED_ROLES = {'text', 'push button', 'list', 'table', 'spin button', 'check box', 'link',
               'list item', 'image', 'frame', 'dialog'}
faults = []


def wait_for(find, seconds=10):
    deadline = time.time() + seconds
    while True:
        found = find()
        if found is not None or time.time() > deadline:
            return found
        time.sleep(0.1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == 'kelvarine':
            return app
    return None


def window(role, name_start=''):
    app = application()
    if app is None:
        return None
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.getRoleName() == role and w.name.startswith(name_start):
            if w.getState().contains(pyatspi.STATE_SHOWING):
                return w
    return None


def actions(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do(acc, name):
    names = actions(acc)
    if name not in names:
        faults.append(f'{acc.getRoleName()} {acc.name!r} has no action {name!r} ({names})')
        return
    acc.queryAction().doAction(names.index(name))


def controls(acc, depth=0):
    """Every descendant down to the calendar's parts (not its 42 day cells)."""
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRoleName() not in ('table', 'list') or depth == 0:
            yield from controls(child, depth + 1)


def check_named(win):
    for c in controls(win):
        role = c.getRoleName()
        print(f'  [{role}] {c.name!r}: {c.description!r}')
        if role in NAMED_ROLES and not c.name.strip():
            faults.append(f'an unnamed {role} in {win.name!r}')


# The days' names the calendar's columns carry in the clock's own language (Chinese under C).
WEEKDAYS = {'星期一', '星期二', '星期三', '星期四', '星期五', '星期六', '星期日'}


def check_calendar_days(win):
    """The calendar's date table names its columns with the days, not their numbers."""
    days = next((c for c in controls(win) if c.getRoleName() == 'table' and c.name == '本月各日'),
                None)
    if days is None:
        faults.append('no table of the calendar\'s days')
        return
    table = days.queryTable()
    headers = [getattr(table.getColumnHeader(i), 'name', None) for i in range(table.nColumns)]
    descriptions = [table.getColumnDescription(i) for i in range(table.nColumns)]
    for header, description in zip(headers, descriptions):
        print(f'  [column header] {header!r}: {description!r}')
    for what, names in (('headers', headers), ('descriptions', descriptions)):
        if len(names) != 7 or set(names) != WEEKDAYS:
            faults.append(f'the calendar\'s column {what} are not the days\' names: {names}')


def by_name(win, name):
    for c in controls(win):
        if c.name == name:
            return c
    faults.append(f'no control named {name!r} in {win.name!r}')
    return None


def main():
    step = sys.argv[1]
    face = wait_for(lambda: window('frame', 'Kelvarine'))
    if face is None:
        print('FAIL: the clock is not on the accessibility bus')
        return 1
    if step == 'face':
        print(f'face: {face.name!r}, actions {actions(face)}')
        if not face.name.split(', ')[-1][:1].isdigit():
            faults.append(f'the face is not named with the time: {face.name!r}')
        for name in ('memos', 'settings', 'quit'):
            if name not in actions(face):
                faults.append(f'the face has no action {name!r}')
        # With no dialog open the face is the clock's one window; the hands are part of it.
        app = application()
        for w in (app.getChildAtIndex(i) for i in range(app.childCount)):
            if w is None or (w.getRoleName() == 'frame' and w.name.startswith('Kelvarine')):
                continue
            if w.getRoleName() == 'image' or w.getState().contains(pyatspi.STATE_SHOWING):
                faults.append(f'a window besides the face: {w.getRoleName()} {w.name!r}')
    elif step in ('memos', 'settings'):
        title = {'memos': '备忘事件', 'settings': '设置'}[step]
        do(face, step)
        win = wait_for(lambda: window('dialog', title))
        if win is None:
            faults.append(f'the {step} action opens no dialog {title!r}')
        else:
            print(f'{title}:')
            check_named(win)
            if step == 'memos':
                check_calendar_days(win)
    elif step == 'add':
        text, hour, minute = sys.argv[2:5]
        win = wait_for(lambda: window('dialog', '备忘事件'))
        fields = {name: by_name(win, name) for name in ('备忘内容', '小时', '分钟')}
        for name, value in (('备忘内容', text), ('小时', hour), ('分钟', minute)):
            if fields[name] is not None:
                fields[name].queryEditableText().setTextContents(value)
        add = by_name(win, '添加备忘')
        if add is not None:
            do(add, 'Press')
        memo_list = by_name(win, '备忘列表')
        listed = lambda: next((c for c in controls(memo_list) if text in c.name), None)
        if memo_list is not None and wait_for(listed, 5) is None:
            faults.append(f'{text!r} is not in the memo list after Press')
    for fault in faults:
        print('FAIL:', fault)
    return 1 if faults else 0


sys.exit(main())
