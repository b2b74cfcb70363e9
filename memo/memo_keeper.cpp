#include "memo/memo_keeper.h"

#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>

#include "logic/log_line.h"
#include "logic/resource_ids.h"

struct ExitHook {
    MemoKeeper* keeper = nullptr;
};

namespace {

// Runs at every exit, also after the keeper is gone: the hook is freed here, at its last use.
void FinishOnExit(int, void* hook) {
    auto* exitHook = static_cast<ExitHook*>(hook);
    if (exitHook->keeper != nullptr) {
        exitHook->keeper->Finish();
    }
    delete exitHook;
}

}  // namespace

MemoKeeper::~MemoKeeper() {
    if (m_exitHook != nullptr) {
        m_exitHook->keeper = nullptr;  // the hook itself stays registered until the exit
    }
}

void MemoKeeper::FinishAtExit() {
    if (m_exitHook != nullptr) {
        return;
    }
    m_exitHook = new ExitHook{this};
    if (::on_exit(&FinishOnExit, m_exitHook) != 0) {
        delete m_exitHook;
        m_exitHook = nullptr;
    }
}

void MemoKeeper::Finish() {
    if (m_openEdits) {
        const std::function<void()> commit = std::move(m_openEdits);
        m_openEdits = nullptr;
        commit();
    }
    Save(nullptr, SaveMoment::Ending);
}

bool MemoKeeper::FolderIsOurs(QWidget* owner, bool make, SaveMoment moment) {
    FolderLock* lock = m_services.memoFolderLock;
    const bool ours = lock == nullptr || lock->Follow(make);
    const QString folder = QDir::toNativeSeparators(FolderOf(m_store.path()));
    if (ours && m_folderLost) {
        LogLine("the memo folder %s is this clock's again", EncodePath(folder).constData());
    } else if (!ours && !m_folderLost) {
        LogLine(
            "another clock now holds the memo folder %s; this one no longer "
            "rings or saves memos",
            EncodePath(folder).constData());
        if (moment == SaveMoment::Running) {
            m_services.question->Warn(
                owner, QLatin1String(kAppTitle),
                //: %1 is the folder of the memo file.
                QCoreApplication::translate("Reminder",
                                            "The memo folder %1 was replaced, and another clock "
                                            "now keeps the memos there.\n\nThis clock no longer "
                                            "rings or saves memos, so that none rings twice.")
                    .arg(folder));
        }
    }
    m_folderLost = !ours;
    return ours;
}

bool MemoKeeper::Refresh(QWidget* owner) {
    if (!FolderIsOurs(owner, false, SaveMoment::Running)) {
        return false;
    }
    m_store.Refresh();
    return true;
}

bool MemoKeeper::Save(QWidget* owner, SaveMoment moment) {
    if (!m_store.dirty()) {
        return true;
    }
    const QString path = QDir::toNativeSeparators(m_store.path());
    if (!FolderIsOurs(owner, true, moment)) {
        if (moment == SaveMoment::Ending) {
            LogLine(
                "ending; memo changes not saved to %s: another clock "
                "keeps the memos there",
                EncodePath(path).constData());
        }
        return false;
    }
    const MemoSaveReport report = m_store.SaveIfDirty();
    if (moment == SaveMoment::Ending) {
        if (!report.result) {
            LogLine("ending; could not save the memos to %s: %s", EncodePath(path).constData(),
                    qPrintable(report.result.reason));
        }
        return report.result.ok;
    }
    if (report.failureEnds) {
        LogLine("the memos are saved to %s again", EncodePath(path).constData());
    }
    if (report.failureBegins) {
        LogLine("could not save the memos to %s: %s; will retry every minute",
                EncodePath(path).constData(), qPrintable(report.result.reason));
        m_services.question->Warn(
            owner, QLatin1String(kAppTitle),
            //: %1 is the memo file, %2 the system's reason.
            QCoreApplication::translate("Reminder",
                                        "The memos could not be saved to %1:\n%2.\n\nThey are kept "
                                        "while the clock runs, and saved as soon as that works "
                                        "again.")
                .arg(path, report.result.reason));
    }
    return report.result.ok;
}
