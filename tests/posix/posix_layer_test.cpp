// The POSIX layer where the kernel lets it down, through a wrapper of its system calls.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <signal.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/posix/file_calls.h"
#include "platform/profile.h"
#include "platform/refusal.h"
#include "platform/system.h"
#include "tests/support/on_exit.h"
#include "tests/support/temp_folder.h"

using namespace std::string_literals;

namespace {
using Strings = std::vector<std::string>;

// The real calls, refused, interrupted or cut short as a test sets it.
struct FaultyCalls : platform::FileCalls {
    std::vector<int> refuse_with;  // errnos for the next copy_file_range calls
    int interrupt_reads = 0, interrupt_writes = 0;
    bool short_writes = false;  // each write takes at most 1000 bytes
    Strings synced;             // what fsync was called on, in order
    std::string folder_at;      // made (holding a file) at the first fsync: the rename then fails

    ssize_t CopyFileRange(int in, int out, std::size_t n) override {
        if (refuse_with.empty()) return FileCalls::CopyFileRange(in, out, n);
        errno = refuse_with.front();
        if (errno == EINTR) refuse_with.clear();
        return -1;
    }
    ssize_t Read(int fd, void* buf, std::size_t n) override {
        if (interrupt_reads > 0 && interrupt_reads--) return errno = EINTR, -1;
        return FileCalls::Read(fd, buf, n);
    }
    ssize_t Write(int fd, const void* buf, std::size_t n) override {
        if (interrupt_writes > 0 && interrupt_writes--) return errno = EINTR, -1;
        return FileCalls::Write(fd, buf, short_writes && n > 1000 ? 1000 : n);
    }
    int Fsync(int fd) override {
        synced.push_back(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)));
        if (!folder_at.empty()) std::filesystem::create_directories(folder_at + "/inside");
        return FileCalls::Fsync(fd);
    }
};


// copy_file_range refused (two file systems, an old kernel): a copy by hand that
// survives interrupted and short reads and writes; the copy, then its folder, flushed.
TEST(PosixLayer, CopyFallsBackToReadAndWriteFlushesAndClosesEverything) {
    const std::string big(3u << 17, 'x');  // several pieces of the hand copy
    const std::vector<std::uint64_t> by_hand = {1u << 16, 2u << 16, 3u << 16, 4u << 16, 5u << 16, 6u << 16,
                                                (6u << 16) + 3};
    const std::pair<int, std::vector<std::uint64_t>> cases[] = {
        {EXDEV, by_hand}, {ENOSYS, by_hand}, {EINVAL, by_hand}, {EOPNOTSUPP, by_hand}, {EINTR, {big.size() + 3}},
        {EIO, {}}};
    auto open_descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto before = open_descriptors();
    for (const auto& [err, progress] : cases) {
        TempFolder dir;
        dir.Write("expandmd80.mix", big + "end");
        std::vector<std::uint64_t> copied;
        FaultyCalls calls;
        calls.refuse_with = {err};
        calls.interrupt_reads = calls.interrupt_writes = 2;
        calls.short_writes = true;
        platform::SetFileCalls(&calls);
        platform::Status s = platform::CopyFileReplace(dir.File("expandmd80.mix"), dir.File("expandmd80.mix.Zarn"),
                                                       [&](auto done, auto) { copied.push_back(done); });
        platform::SetFileCalls(nullptr);
        const Strings& synced = calls.synced;
        const bool ok = err != EIO;
        const std::string folder = std::filesystem::canonical(dir.path()).string();
        EXPECT_EQ(s.ok, ok) << s.reason;
        EXPECT_EQ(copied, progress);
        EXPECT_EQ(dir.Read("expandmd80.mix.Zarn"), ok ? big + "end" : "");
        EXPECT_EQ(dir.Names().size(), ok ? 2u : 1u) << "a part left behind";
        EXPECT_EQ(synced, ok ? Strings({folder + "/expandmd80.mix.Zarn.zarn-copying", folder}) : Strings());
    }
    TempFolder dir;
    dir.Write("a.mix", "a");
    dir.Write("read-only.mix", "r");
    dir.SetReadOnly("read-only.mix");
    dir.MakeFolder("folder.mix");
    for (const char* target : {"b.mix", "b.mix", "read-only.mix", "folder.mix", "no/such.mix"})
        platform::CopyFileReplace(dir.File("a.mix"), dir.File(target));
    platform::CopyFileReplace(dir.File("missing.mix"), dir.File("c.mix"));
    platform::RemoveFile(dir.File("b.mix"));
    // A folder of the target's name made while the copy is flushed: refused for the rename's reason.
    FaultyCalls racing;
    racing.folder_at = dir.File("d.mix");
    platform::SetFileCalls(&racing);
    const platform::Status raced = platform::CopyFileReplace(dir.File("a.mix"), dir.File("d.mix"));
    platform::SetFileCalls(nullptr);
    EXPECT_EQ(raced.error, EISDIR) << raced.reason;
    std::filesystem::remove_all(dir.File("d.mix"));
    // A settings write, then a read into a buffer with no room, which takes nothing.
    char none[1] = {'#'};
    EXPECT_TRUE(platform::WriteIniString("A", "k", "value", dir.File("RA2MD.ini")));
    EXPECT_EQ(platform::ReadIniString("A", "k", "p", none, 0, dir.File("RA2MD.ini")), 0u);
    EXPECT_EQ(none[0], '#');
    EXPECT_EQ(open_descriptors(), before);
    EXPECT_EQ(dir.Names(), (Strings{"RA2MD.ini", "a.mix", "folder.mix", "read-only.mix"}));
}

// Through its link, on another disk than the working folder's: a second name keeps
// the old text. A full disk leaves it whole; UTF-16 is read as Windows does; a link to
// itself and a device are not written.
TEST(PosixLayer, WriterReplacesInOneStepAndLeavesUtf16AndDevicesAlone) {
    TempFolder folder("game folder", access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "");
    folder.Write("real.ini", "[Audio]\nSoundVolume=0.5\n");
    std::string real = folder.File("real.ini"), path = folder.File("RA2MD.ini");
    ASSERT_EQ(chmod(real.c_str(), 0640) | symlink(real.c_str(), path.c_str()) |
                  link(real.c_str(), folder.File("old.ini").c_str()), 0);
    EXPECT_TRUE(platform::WriteIniString("Audio", "SoundVolume", "0.8", path));
    EXPECT_EQ(folder.Read("real.ini") + folder.Read("old.ini"),
              "[Audio]\nSoundVolume=0.8\n[Audio]\nSoundVolume=0.5\n");
    struct stat st = {}, again = {}, link_st = {};
    EXPECT_TRUE(lstat(path.c_str(), &link_st) == 0 && S_ISLNK(link_st.st_mode));
    EXPECT_TRUE(stat(real.c_str(), &st) == 0 && (st.st_mode & 07777) == 0640) << std::oct << st.st_mode;
    EXPECT_TRUE(platform::WriteIniString("Audio", "SoundVolume", "0.8", path));
    EXPECT_TRUE(stat(real.c_str(), &again) == 0 && again.st_ino == st.st_ino);

    rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = {4096, old.rlim_max};
    struct sigaction ignore = {}, before = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &before);
    OnExit restore([&] { setrlimit(RLIMIT_FSIZE, &old), sigaction(SIGXFSZ, &before, nullptr); });
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool wrote = platform::WriteIniString("Audio", "SoundVolume", std::string(8192, 'x'), path);
    restore.Now();
    EXPECT_FALSE(wrote);
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\nSoundVolume=0.8\n");
    EXPECT_EQ(folder.Names(), (Strings{"RA2MD.ini", "old.ini", "real.ini"}));
    const std::string text = "\xFF\xFE[\0A\0]\0\r\0\n\0j\0=\0\x3D\xD8\xFF\xDF\x2D\x4E\xFF\xDB\x00\xDC"
                             "\xFF\0\0\x01x\0z"s;  // the odd last byte is no character
    std::string swapped = text;  // the same in UTF-16 big-endian
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    for (const std::string& utf16 : {text, swapped}) {
        folder.Write("utf16.ini", utf16);
        char buffer[100];
        unsigned n = platform::ReadIniString("A", "j", "p", buffer, 100, folder.File("utf16.ini"));
        EXPECT_EQ(std::string(buffer, n), "???\xFF?x");
        EXPECT_FALSE(platform::WriteIniString("A", "j", "v", folder.File("utf16.ini")));
        EXPECT_EQ(folder.Read("utf16.ini"), utf16);
    }
    const std::string loop = folder.File("loop.ini");  // a link to itself: no file to write to
    ASSERT_EQ(symlink("loop.ini", loop.c_str()), 0);
    EXPECT_FALSE(platform::WriteIniString("A", "j", "v", loop));
    EXPECT_TRUE(lstat(loop.c_str(), &again) == 0 && S_ISLNK(again.st_mode));
    std::string device = folder.File("device.ini");
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) return;  // only root may
    EXPECT_FALSE(platform::WriteIniString("A", "j", "v", device));
    EXPECT_TRUE(stat(device.c_str(), &again) == 0 && S_ISCHR(again.st_mode));
}

// The real application folder service: the folder that holds the running program.
TEST(PosixLayer, ApplicationFolderHoldsTheProgram) {
    EXPECT_EQ(platform::SystemFolder().Path(), std::filesystem::canonical("/proc/self/exe").parent_path().string());
}

// On a read-only medium (the game folder mounted read-only, here in a namespace of a child
// process) a settings write fails, as kernel32's does, even of the value the file holds: the
// file stays as it was and no other file is made. A delete there names the folder's access.
TEST(PosixLayer, ASettingsWriteOnAReadOnlyMediumChangesNothing) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Audio]\nSoundVolume=0.5\n");
    const std::string path = folder.path(), uid = std::to_string(getuid()), gid = std::to_string(getgid());
    pid_t child = fork();
    if (child == 0) {  // exits 2 where the system allows no such mount, 1 if a write or the delete succeeds
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(2);
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " + uid + " 1";
        std::ofstream("/proc/self/gid_map") << "0 " + gid + " 1";
        if (mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            _exit(2);
        const platform::Status deleted = platform::RemoveFile(folder.File("RA2MD.ini"));
        _exit(deleted.ok || platform::ChooseRemedy(platform::FactsAbout(deleted)) != platform::Remedy::kGiveLinuxAccess ||
              platform::WriteIniString("Audio", "SoundVolume", "0.8", folder.File("RA2MD.ini")) ||
              platform::WriteIniString("Audio", "SoundVolume", "0.5", folder.File("RA2MD.ini")) ||
              platform::WriteIniString("Audio", "SoundVolume", "0.8", folder.File("new.ini")));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "no read-only mount here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write or the delete succeeded";
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\nSoundVolume=0.5\n");
    EXPECT_EQ(folder.Names(), Strings{"RA2MD.ini"});
}

}  // namespace
