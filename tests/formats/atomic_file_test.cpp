#include "formats/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/formats/temp_dir.h"
#include "tests/support/fault_inject.h"

namespace tavik {
namespace {
using testing::InjectedFault;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

int FilesIn(const TempDir& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
    return n;
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// Written in pieces, as a table is, so that the file sees several writes.
void Save(const std::string& path, std::string_view bytes) {
    AtomicFile f(path);
    for (std::size_t at = 0; at < bytes.size(); at += 65536) f.Write(bytes.substr(at, 65536));
    f.Commit();
}

TEST(AtomicFile, StreamsBigWritesAndLeavesOnlyTheTarget) {
    TempDir dir;
    const std::string path = dir / "t.vtb";
    WriteBytes(path, "old");
    std::string expected;
    {
        AtomicFile f(path);
        EXPECT_TRUE(IsOurTemporaryName(std::filesystem::path(f.TemporaryPath()).filename().string()));
        EXPECT_EQ(ReadBytes(path), "old");  // nothing reaches the target before the commit
        for (int i = 0; i < 5000; ++i) {
            const std::string line =
                "line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 700), 'x') + "\r\n";
            f.Write(line);
            expected += line;
        }
        f.Put('!');
        f.Stream() << "end " << 42;
        expected += "!end 42";
        f.Commit();
    }
    EXPECT_TRUE(ReadBytes(path) == expected);
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(AtomicFile, RewindStartsAgain) {
    TempDir dir;
    AtomicFile f(dir / "t.txt");
    f.Write(std::string(3 << 20, 'a'));
    f.Rewind();
    f.Write("b");
    f.Commit();
    EXPECT_EQ(ReadBytes(dir / "t.txt"), "b");
}

TEST(AtomicFile, AbandonedFileLeavesNothing) {
    TempDir dir;
    WriteBytes(dir / "t.vtb", "old");
    {
        AtomicFile f(dir / "t.vtb");
        f.Write("new");
    }
    EXPECT_EQ(ReadBytes(dir / "t.vtb"), "old");
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(AtomicFile, EveryFailingCallKeepsTheOldFileAndNamesItWithTheReason) {
    struct Case {
        const char* fault;
        const char* reason;
    } cases[] = {
        {"write:1:ENOSPC:t.vtb", "容量不足"},          {"write:2:EIO:t.vtb", "入出力エラー"},
        {"fsync:1:EIO:t.vtb", "入出力エラー"},         {"close:1:EDQUOT:t.vtb", "容量の割り当てを超えました"},
        {"rename:1:EACCES:t.vtb", "許可がありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDir dir;
        const std::string path = dir / "t.vtb";
        WriteBytes(path, "old");
        std::string message;
        long hits = 0;
        {
            InjectedFault fault(c.fault);
            message = MessageOf([&] { Save(path, std::string(3 << 20, 'n')); });
            hits = fault.Hits();
        }
        EXPECT_GE(hits, 1);
        EXPECT_EQ(message, path + " に書き込めません（" + c.reason + "）");
        EXPECT_TRUE(ReadBytes(path) == "old");
        EXPECT_EQ(FilesIn(dir), 1);
    }
}

TEST(AtomicFile, ReadOnlyTargetIsRefusedUnlessReplacing) {
    TempDir dir;
    const std::string path = dir / "t.vtb";
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(path));
    EXPECT_FALSE(IsReadOnlyFile(dir / "none"));
    EXPECT_THROW(Save(path, "new"), ReadOnlyFileError);
    EXPECT_EQ(MessageOf([&] { Save(path, "new"); }), path + " は読み取り専用のファイルです");
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FilesIn(dir), 1);
    WriteFileAtomic(path, "new", AtomicFile::ReadOnlyTarget::Replace);
    EXPECT_EQ(ReadBytes(path), "new");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST(AtomicFile, OwnerAndModeStay) {
    TempDir dir;
    const std::string path = dir / "t.vtb";
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    }
    WriteFileAtomic(path, "new");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
    // A new file gets the usual mode, not mkstemp's private one.
    const mode_t mask = ::umask(022);
    WriteFileAtomic(dir / "new.vtb", "x");
    ::umask(mask);
    ::stat((dir / "new.vtb").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(AtomicFile, LinksAreFollowedAndFoldersRefused) {
    TempDir dir;
    WriteBytes(dir / "real.vtb", "old");
    std::filesystem::create_symlink(dir / "real.vtb", dir / "link.vtb");
    WriteFileAtomic(dir / "link.vtb", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.vtb"));
    EXPECT_EQ(ReadBytes(dir / "real.vtb"), "new");
    std::filesystem::create_directory(dir / "folder.vtb");
    EXPECT_EQ(MessageOf([&] { WriteFileAtomic(dir / "folder.vtb", "x"); }),
              (dir / "folder.vtb") + " に書き込めません（フォルダです）");
    EXPECT_EQ(MessageOf([&] { WriteFileAtomic(dir / "no/such/t.vtb", "x"); }),
              (dir / "no/such/t.vtb") + " に書き込めません（ありません）");
}

TEST(AtomicFile, TemporariesWhoseWriterIsGoneAreRemovedBeforeASave) {
    TempDir dir;
    const auto age = [&](const std::string& name, long seconds) {
        WriteBytes(dir / name, "x");
        const timeval t[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ::utimes((dir / name).c_str(), t);
    };
    age(".t.vtb.tavik-Ab3xYz", 2 * 24 * 3600);  // ours, two days old, nobody writing: goes
    age(".u.ini.tavik-000000", 5);              // ours, just left by a killed writer: goes
    age(".t.vtb.tavik-Qw12er", 600);            // ours, its writer holds the lock: stays
    age(".t.vtb.XXXX12", 3 * 24 * 3600);        // not ours: stays
    age("notes.tavik-abcdef", 3 * 24 * 3600);   // not hidden: not ours
    const int writer = ::open((dir / ".t.vtb.tavik-Qw12er").c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    WriteFileAtomic(dir / "t.vtb", "new");
    EXPECT_FALSE(std::filesystem::exists(dir / ".t.vtb.tavik-Ab3xYz"));
    EXPECT_FALSE(std::filesystem::exists(dir / ".u.ini.tavik-000000"));
    EXPECT_TRUE(std::filesystem::exists(dir / ".t.vtb.tavik-Qw12er"));
    EXPECT_TRUE(std::filesystem::exists(dir / ".t.vtb.XXXX12"));
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.tavik-abcdef"));
    ::close(writer);
}

// A save killed outright (no handler runs) leaves its temporary; the next save in that
// folder removes it at once, while a save still being written keeps its own.
TEST(AtomicFile, AKilledSavesTemporaryGoesWithTheNextSave) {
    TempDir dir;
    WriteBytes(dir / "t.vtb", "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile f(dir / "t.vtb");
        f.Write(std::string(3 << 20, 'x'));
        ::kill(::getpid(), SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(FilesIn(dir), 2);  // the old file and the killed save's temporary
    AtomicFile busy(dir / "u.vtb");
    busy.Write("being written");
    WriteFileAtomic(dir / "t.vtb", "new");
    EXPECT_EQ(ReadBytes(dir / "t.vtb"), "new");
    EXPECT_TRUE(std::filesystem::exists(busy.TemporaryPath()));
    EXPECT_EQ(FilesIn(dir), 2);  // t.vtb and the temporary of the save in progress
    busy.Commit();
    EXPECT_EQ(ReadBytes(dir / "u.vtb"), "being written");
}

// Names as long as a folder holds still get a temporary beside them.
TEST(AtomicFile, NamesUpToTheLongestAreWritten) {
    TempDir dir;
    for (std::size_t length : {240u, 241u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".vtb";
        WriteFileAtomic(dir / name, "x");
        EXPECT_EQ(ReadBytes(dir / name), "x") << length;
    }
    // A name cut inside a character keeps the character whole (the temporary is a valid name).
    const std::string japanese = std::string(230, 'n') + "組成表組成表.vtb";
    WriteFileAtomic(dir / japanese, "y");
    EXPECT_EQ(ReadBytes(dir / japanese), "y");
    EXPECT_EQ(MessageOf([&] { WriteFileAtomic(dir / std::string(256, 'n'), "z"); }),
              (dir / std::string(256, 'n')) + " に書き込めません（名前が長すぎます）");
    EXPECT_EQ(FilesIn(dir), 5);
}

// The rename is only kept when the folder reaches the disk: a failed sync of the folder is a
// failed save, not a success.
TEST(AtomicFile, AFailedSyncOfTheFolderIsReported) {
    TempDir dir;
    const std::string path = dir / "t.vtb";
    WriteBytes(path, "old");
    std::string message;
    {
        // The first sync is the file's, the second the folder's.
        InjectedFault fault("fsync:2:EIO:" + dir.path().string());
        message = MessageOf([&] { Save(path, "new"); });
        EXPECT_EQ(fault.Hits(), 1);
    }
    EXPECT_EQ(message, path + " に書き込めません（入出力エラー）");
}

TEST(AtomicFile, ATerminatedSaveLeavesNoTemporary) {
    for (int sig : {SIGTERM, SIGINT}) {
        TempDir dir;
        WriteBytes(dir / "t.vtb", "old");
        EXPECT_EXIT(
            {
                AtomicFile f(dir / "t.vtb");
                f.Write(std::string(5 << 20, 'x'));
                ::raise(sig);
                f.Commit();
            },
            ::testing::KilledBySignal(sig), "");
        EXPECT_EQ(ReadBytes(dir / "t.vtb"), "old");
        EXPECT_EQ(FilesIn(dir), 1) << sig;
    }
}

}  // namespace
}  // namespace tavik
