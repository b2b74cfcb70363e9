#include "platform/ini_profile_store.h"

#include "logic/atomic_file.h"
#include "logic/ini_text.h"
#include "logic/user_file.h"

namespace {

// The INI file holds a few lines; anything much larger is not ours.
constexpr qint64 kMaxIniBytes = 1024 * 1024;

}  // namespace

std::optional<QString> IniProfileStore::Read(const QString& group, const QString& key) const {
    // Not QSettings: it opens whatever is there, and a pipe would hold the start-up for good.
    const UserFile file = ReadUserFile(m_path, kMaxIniBytes);
    m_readProblem = file.problem;
    if (!file.bytes) {
        return std::nullopt;
    }
    const std::optional<QByteArray> value = GetIniValue(*file.bytes, group.toUtf8(), key.toUtf8());
    return value ? std::optional<QString>(QString::fromUtf8(*value)) : std::nullopt;
}

WriteResult IniProfileStore::Write(const QString& group, const QString& key, const QString& value) {
    const UserFile file = ReadUserFile(m_path, kMaxIniBytes);
    if (file.kind != FileKind::Missing && !file.bytes) {
        return {false, file.problem};  // never replaced unread
    }
    return WriteFileAtomically(m_path, SetIniValue(file.bytes.value_or(QByteArray()),
                                                   group.toUtf8(), key.toUtf8(), value.toUtf8()));
}
