#include "logic/memo_store.h"

#include <cstdio>

bool MemoStore::Load() {
    QStringList kept;
    CleanUpAfterCrashedSaves(m_path, kept);
    for (const QString& copy : kept) {
        std::fprintf(stderr, "kelvarine: a save of %s was cut short; a version is kept as %s\n",
                     EncodePath(m_path).constData(), EncodePath(copy).constData());
    }
    return Read();
}

bool MemoStore::ReadAgainIfUnread() {
    return m_bRead || Read();
}

bool MemoStore::Read() {
    MemoList fromFile;
    LoadMemoFile(m_path, fromFile, &m_fileStamp);
    m_bRead = m_fileStamp.problem.isEmpty();
    if (m_bRead) {
        fromFile.insert(fromFile.end(), m_memos.begin(), m_memos.end());
        m_memos = std::move(fromFile);
        GiveIds();
    }
    return m_bRead;
}

MemoList& MemoStore::Edit() {
    m_bDirty = true;
    return m_memos;
}

void MemoStore::Replace(MemoList list) {
    m_memos = std::move(list);
    m_bDirty = true;
    GiveIds();
}

MemoSaveReport MemoStore::SaveIfDirty() {
    if (!m_bDirty) {
        return {};
    }
    MemoSaveReport report;
    report.result = ReadAgainIfUnread() ? SaveMemoFile(m_path, m_memos, &m_fileStamp)
                                        : WriteResult{false, m_fileStamp.problem};
    report.failureBegins = !report.result && !m_bFailing;
    report.failureEnds = report.result && m_bFailing;
    m_bFailing = !report.result;
    m_bDirty = !report.result;
    return report;
}

void MemoStore::GiveIds() {
    for (MemoEntry& memo : m_memos) {
        if (memo.id == 0) {
            memo.id = m_nextId++;
        }
    }
}
