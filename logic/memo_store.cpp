#include "logic/memo_store.h"

void MemoStore::Load() {
    LoadMemoFile(m_path, m_memos, &m_fileStamp);
    GiveIds();
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
    report.result = SaveMemoFile(m_path, m_memos, &m_fileStamp);
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
