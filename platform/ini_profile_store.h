#pragma once

#include "platform/services.h"

// The INI file: read as QSettings reads plain values, but only ever a regular file; written
// line by line, keeping every other line as it was, through WriteFileAtomically so that a full
// disk cannot cut it short. A file that is there but cannot be read is never replaced.
class IniProfileStore : public ProfileStore {
public:
    explicit IniProfileStore(QString path) : m_path(std::move(path)) {}
    std::optional<QString> Read(const QString& group, const QString& key) const override;
    QString ReadProblem() const override { return m_readProblem; }
    WriteResult Write(const QString& group, const QString& key, const QString& value) override;

private:
    QString m_path;
    mutable QString m_readProblem;
};
