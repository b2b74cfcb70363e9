#pragma once

#include <QByteArray>
#include <QString>

#include "platform/services.h"

// Start with the desktop session: an XDG autostart entry that runs the program's own path.

// $XDG_CONFIG_HOME/autostart/kelvarine.desktop.
QString DefaultAutostartPath();

// The entry that starts `program` (an absolute path, quoted in Exec when it needs it), tried
// only while the program is there.
QByteArray AutostartEntryText(const QString& program);

// Whether the entry is exactly what an earlier version wrote for `program`: one to bring up to
// date when the settings next store the box.
bool IsEarlierAutostartEntry(const QByteArray& entryText, const QString& program);

// Whether the entry starts `program` and nothing else: its Exec, unquoted, is the path (letter
// case aside), and the entry is not switched off. Anything else belongs to someone else.
bool IsAutostartEntryFor(const QByteArray& entryText, const QString& program);

// The check box's state: an entry exists and is that program's.
bool StartsWithSession(const AutostartStore& store, const QString& program);

class XdgAutostartStore : public AutostartStore {
public:
    explicit XdgAutostartStore(QString path) : m_path(std::move(path)) {}
    std::optional<QByteArray> ReadEntry() const override;
    // Through WriteFileAtomically, so a crash or a full disk never leaves half an entry; false
    // for a program path that is not text (see PathIsText), which no entry can hold.
    WriteResult WriteEntry(const QString& program) override;
    bool Remove() override;
    QString Location() const override { return m_path; }

private:
    QString m_path;
};
