#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "logic/atomic_file.h"
#include "logic/crashed_saves.h"
#include "logic/ini_text.h"
#include "platform/autostart_store.h"
#include "platform/ini_profile_store.h"
#include "tests/test_support.h"

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("file.txt")) const {
        return dir.filePath(name);
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
};

TEST_F(AtomicFileTest, AWriteThatFailsPartWayLeavesTheOldFileByteForByte) {
    const QByteArray old(300, 'o');
    WriteFile(Path(), old);
    for (const qsizetype size : {400, 100'000}) {
        // Less than a page and more than any buffer: both once failed differently.
        WriteResult result;
        {
            FileSizeLimit limit(100);
            result = WriteFileAtomically(Path(), QByteArray(size, 'n'));
        }
        EXPECT_FALSE(result) << size;
        EXPECT_EQ(result.reason, QStringLiteral("File too large")) << size;
        EXPECT_EQ(ReadFile(Path()), old) << size;
        EXPECT_EQ(Files(), QStringList{"file.txt"}) << "no temporary file left, " << size;
    }
    EXPECT_TRUE(WriteFileAtomically(Path(), "new"));
    EXPECT_EQ(ReadFile(Path()), "new");
    EXPECT_EQ(Files(), QStringList{"file.txt"});
}

TEST_F(AtomicFileTest, KeepsPermissionsFollowsLinksAndMakesFolders) {
    WriteFile(Path(), "old");
    ::chmod(QFile::encodeName(Path()).constData(), 0640);
    ASSERT_TRUE(WriteFileAtomically(Path(), "new"));
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A link stays a link; the file it names gets the bytes.
    WriteFile(Path("elsewhere/real.txt"), "old");
    ASSERT_TRUE(QFile::link(Path("elsewhere/real.txt"), Path("link.txt")));
    ASSERT_TRUE(WriteFileAtomically(Path("link.txt"), "through the link"));
    EXPECT_TRUE(QFileInfo(Path("link.txt")).isSymLink());
    EXPECT_EQ(ReadFile(Path("elsewhere/real.txt")), "through the link");

    ASSERT_TRUE(WriteFileAtomically(Path("a/b/c.txt"), "deep"));
    EXPECT_EQ(ReadFile(Path("a/b/c.txt")), "deep");

    const WriteResult under = WriteFileAtomically(Path("file.txt/x.txt"), "x");
    EXPECT_FALSE(under);
    EXPECT_EQ(under.reason, QStringLiteral("Not a directory"));
    EXPECT_EQ(ReadFile(Path()), "new");
}

TEST(SetIniValue, changesOneLineAndKeepsEveryOther) {
    const struct {
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"", "[Kelvarine]\nRand=3\n"},
        {"[Kelvarine]\nRand=1\n", "[Kelvarine]\nRand=3\n"},
        {"; mine\n[Other]\nRand=7\n\n[Kelvarine]\nx = 1\nRand = 5\r\ny=2\n",
         "; mine\n[Other]\nRand=7\n\n[Kelvarine]\nx = 1\nRand=3\ny=2\n"},
        {"[Kelvarine]\nx=1\n\n[Other]\na=b", "[Kelvarine]\nx=1\nRand=3\n\n[Other]\na=b\n"},
        {"[Other]\na=b\n", "[Other]\na=b\n\n[Kelvarine]\nRand=3\n"},
        {"[Kelvarine]\nRandom=1\n", "[Kelvarine]\nRandom=1\nRand=3\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SetIniValue(c.before, "Kelvarine", "Rand", "3"), c.after) << c.before.data();
        EXPECT_EQ(GetIniValue(c.after, "Kelvarine", "Rand"), "3") << c.after.data();
    }
    // As QSettings reads them: blanks and one pair of quotes around the value go.
    EXPECT_EQ(GetIniValue("[Kelvarine]\n; Rand=1\nRand = \"5\" \r\n", "Kelvarine", "Rand"), "5");
    EXPECT_EQ(GetIniValue("[Other]\nRand=5\n", "Kelvarine", "Rand"), std::nullopt);
}

TEST_F(AtomicFileTest, TheIniStoreWritesWhatQSettingsReadsOrSaysWhyNot) {
    const QString ini = Path("config/kelvarine.ini");
    IniProfileStore store(ini);
    ASSERT_TRUE(store.Write("Kelvarine", "Rand", "4"));
    EXPECT_EQ(store.Read("Kelvarine", "Rand"), QStringLiteral("4"));
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Kelvarine/Rand").toString(), "4");

    const QByteArray before = ReadFile(ini);
    WriteResult failed;
    {
        FileSizeLimit limit(5);
        failed = store.Write("Kelvarine", "Rand", "6");
    }
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.reason, QStringLiteral("File too large"));
    EXPECT_EQ(ReadFile(ini), before);
    EXPECT_EQ(store.Read("Kelvarine", "Rand"), QStringLiteral("4"));
    EXPECT_EQ(store.ReadProblem(), QString());

    // A pipe there (nobody writes into it) is neither waited for nor replaced.
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
    EXPECT_EQ(store.Read("Kelvarine", "Rand"), std::nullopt);
    EXPECT_EQ(store.ReadProblem(), NotRegularReason(FileKind::Pipe));
    EXPECT_EQ(store.Write("Kelvarine", "Rand", "6").reason, NotRegularReason(FileKind::Pipe));
    EXPECT_EQ(QFileInfo(ini).isFile(), false);
}

// Run again with tests/no_exchange.c preloaded: a file system that cannot exchange two names
// but can link, where the version is kept by a look before a plain rename.
TEST_F(AtomicFileTest, WithoutAnExchangeAVersionOfOthersIsKeptAsTheSameFileBeforeTheRename) {
    WriteFile(Path(), "theirs");
    ::chmod(QFile::encodeName(Path()).constData(), 0600);
    struct stat theirs = {};
    ::stat(QFile::encodeName(Path()).constData(), &theirs);
    // That the file system here is the one meant (CTest says which).
    WriteFile(Path("other"), "");
    EXPECT_EQ(::renameat2(AT_FDCWD, QFile::encodeName(Path("other")).constData(), AT_FDCWD,
                          QFile::encodeName(Path()).constData(), RENAME_EXCHANGE) != 0,
              qEnvironmentVariableIsSet("KELVARINE_NO_EXCHANGE") ||
                  qEnvironmentVariableIsSet("KELVARINE_NO_LINKS"));
    ::renameat2(AT_FDCWD, QFile::encodeName(Path("other")).constData(), AT_FDCWD,
                QFile::encodeName(Path()).constData(), RENAME_EXCHANGE);  // back, if swapped
    ASSERT_TRUE(QFile::remove(Path("other")));
    ASSERT_EQ(ReadFile(Path()), "theirs");
    FileVersion known;  // the caller saw no file there
    QStringList kept;
    ASSERT_TRUE(ReplaceKeepingOthers(Path(), "mine", known, kept));
    ASSERT_EQ(kept.size(), 1);
    struct stat copy = {};
    ::stat(QFile::encodeName(kept[0]).constData(), &copy);
    EXPECT_EQ(copy.st_ino, theirs.st_ino);  // a writer still at it finishes there
    EXPECT_EQ(copy.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadFile(kept[0]), "theirs");
    EXPECT_EQ(ReadFile(Path()), "mine");
    // What it wrote itself is replaced without a copy.
    ASSERT_TRUE(ReplaceKeepingOthers(Path(), "mine again", known, kept));
    EXPECT_EQ(kept.size(), 1);
    EXPECT_EQ(Files(), (QStringList{"file.txt", QFileInfo(kept[0]).fileName()}));
}

TEST_F(AtomicFileTest, TheCleanUpAfterACrashTakesOnlyTheClocksOwnTemporaries) {
    const QByteArray memos = "2026-12-07 10:00 water the plants\r\n";
    WriteFile(Path("memo.txt"), memos);
    const QString hashes = "-0123456789abcdef-fedcba9876543210";
    const struct {
        QString name;
        QByteArray bytes;
        bool stays;
    } left[] = {
        // An earlier version's temporaries were named so; so are the user's own files.
        {"memo.txt.Notes1", "My private notes\n", true},
        {"memo.txt.Backup", memos, true},
        {"memo.txt.2024Q1", "2024-01-02 09:00 old\r\n2024-0", true},
        {"memo.txt.Photo1", QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11), true},
        // Only alike: the memo file's bytes would have them removed.
        {".memo.txt.kelvarine-aB3dE", memos, true},
        {".memo.txt.kelvarine-aB3dE6x", memos, true},
        {".memo.txt.kelvarine-aB3dE6.bak", memos, true},
        {".memo.txt.kelvarine-aB3_E6", memos, true},
        {".memo.txt.kelvarine-aB3dE6" + hashes + "-x", memos, true},
        {".memo.txt.kelvarine-aB3dE6" + hashes.toUpper(), memos, true},
        {".memo.txt.kelvarine-aB3dE6", memos, false},
        {".memo.txt.kelvarine-Qq1Ww2" + hashes, memos, false},
    };
    for (const auto& l : left) {
        WriteFile(dir.filePath(l.name), l.bytes);
    }
    // Someone else's version, where one is kept already under the name it gets.
    WriteFile(Path("memo.txt.20261207-100000"), "kept before");
    QFile theirs(Path(".memo.txt.kelvarine-Zz9Yy8"));
    ASSERT_TRUE(theirs.open(QIODevice::WriteOnly) && theirs.write("theirs") == 6 &&
                theirs.flush() &&
                theirs.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(10, 0)),
                                   QFileDevice::FileModificationTime));
    theirs.close();
    QStringList kept;
    CleanUpAfterCrashedSaves(Path("memo.txt"), kept);
    EXPECT_EQ(kept, QStringList{Path("memo.txt.20261207-100000-2")})
        << kept.join(" ").toStdString();
    EXPECT_EQ(ReadFile(kept.value(0)), "theirs");
    EXPECT_EQ(ReadFile(Path("memo.txt.20261207-100000")), "kept before");
    for (const auto& l : left) {
        EXPECT_EQ(QFileInfo::exists(dir.filePath(l.name)), l.stays) << l.name.toStdString();
        if (l.stays) {
            EXPECT_EQ(ReadFile(dir.filePath(l.name)), l.bytes) << l.name.toStdString();
        }
    }
}

// Run again with tests/no_links.c preloaded: a file system that can neither exchange, rename
// without replacing, nor link.
TEST_F(AtomicFileTest, ANewFileAndOthersVersionsFindTheirPlaceEvenWithoutLinks) {
    FileVersion known;
    QStringList kept;
    ASSERT_TRUE(ReplaceKeepingOthers(Path(), "first", known, kept));
    EXPECT_EQ(ReadFile(Path()), "first");
    // That the file system here is the one meant (CTest says which).
    EXPECT_EQ(::linkat(AT_FDCWD, QFile::encodeName(Path()).constData(), AT_FDCWD,
                       QFile::encodeName(Path("second name")).constData(), 0) != 0,
              qEnvironmentVariableIsSet("KELVARINE_NO_LINKS"));
    QFile::remove(Path("second name"));
    ASSERT_TRUE(ReplaceKeepingOthers(Path(), "second", known, kept));
    WriteFile(Path(), "theirs");
    ASSERT_TRUE(ReplaceKeepingOthers(Path(), "third", known, kept));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(ReadFile(kept[0]), "theirs");
    EXPECT_EQ(ReadFile(Path()), "third");
    EXPECT_EQ(Files(), (QStringList{"file.txt", QFileInfo(kept[0]).fileName()}));
}

TEST_F(AtomicFileTest, TheSessionEntryIsNeverCutShortEither) {
    XdgAutostartStore store(Path("autostart/kelvarine.desktop"));
    ASSERT_TRUE(store.WriteEntry("/usr/bin/kelvarine"));
    const std::optional<QByteArray> before = store.ReadEntry();
    ASSERT_TRUE(before);
    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(store.WriteEntry("/opt/elsewhere/bin/kelvarine"));
    }
    EXPECT_EQ(store.ReadEntry(), before);
}

}  // namespace
