// The POSIX copy where the kernel lets it down: copy_file_range refused (two
// file systems, an old kernel) or interrupted, through a link-time wrapper
// (tests/CMakeLists.txt); what it flushes before the caller may delete the
// source; and the descriptors it leaves open, for every way a copy ends.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace {
std::vector<int> g_refuse_with;   // errnos for the next copy_file_range calls
std::vector<std::string> g_synced;  // what fsync was called on, in order
int g_interrupt_reads = 0, g_interrupt_writes = 0;  // calls to interrupt next
bool g_short_writes = false;  // each write takes at most 1000 bytes

std::string PathOf(int fd) {
    char path[PATH_MAX];
    ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return n > 0 ? std::string(path, n) : "?";
}
}  // namespace

extern "C" ssize_t __real_copy_file_range(int, off64_t*, int, off64_t*, size_t, unsigned);
extern "C" ssize_t __wrap_copy_file_range(int in, off64_t* in_off, int out, off64_t* out_off,
                                          size_t n, unsigned flags) {
    if (g_refuse_with.empty()) return __real_copy_file_range(in, in_off, out, out_off, n, flags);
    errno = g_refuse_with.front();
    if (errno != EINTR) return -1;
    g_refuse_with.erase(g_refuse_with.begin());
    return -1;
}
extern "C" ssize_t __real_read(int, void*, size_t);
extern "C" ssize_t __wrap_read(int fd, void* buf, size_t n) {
    if (g_interrupt_reads > 0 && g_interrupt_reads--) return errno = EINTR, -1;
    return __real_read(fd, buf, n);
}
extern "C" ssize_t __real_write(int, const void*, size_t);
extern "C" ssize_t __wrap_write(int fd, const void* buf, size_t n) {
    if (g_interrupt_writes > 0 && g_interrupt_writes--) return errno = EINTR, -1;
    return __real_write(fd, buf, g_short_writes && n > 1000 ? 1000 : n);
}
extern "C" int __real_fsync(int);
extern "C" int __wrap_fsync(int fd) {
    g_synced.push_back(PathOf(fd));
    return __real_fsync(fd);
}

namespace {

int OpenDescriptors() {
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator("/proc/self/fd")) n += !e.path().empty();
    return n;
}

TEST(CopyPosix, ByReadAndWriteWhereTheKernelCannotCopy) {
    const std::string big(3u << 17, 'x');  // several pieces of the hand copy
    const std::vector<std::uint64_t> by_hand = {1u << 16, 2u << 16, 3u << 16, 4u << 16,
                                                5u << 16, 6u << 16, (6u << 16) + 3};
    struct Case {
        int err;
        bool copied;
        std::vector<std::uint64_t> progress;
    } cases[] = {
        {EXDEV, true, by_hand},      {ENOSYS, true, by_hand},  {EINVAL, true, by_hand},
        {EOPNOTSUPP, true, by_hand}, {EINTR, true, {big.size() + 3}},  // once, then it works
        {EIO, false, {}},            // a real error refuses the copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        TempFolder dir;
        dir.Write("expandmd80.mix", big + "end");
        std::vector<std::uint64_t> copied;
        g_refuse_with = {c.err};
        // By hand, a signal may interrupt a read or a write, and a write may
        // take only part of what it was given, as on some network shares.
        g_interrupt_reads = g_interrupt_writes = 2;
        g_short_writes = true;
        platform::Status s = platform::CopyFileReplace(
            dir.File("expandmd80.mix"), dir.File("expandmd80.mix.Zarn"),
            [&](std::uint64_t done, std::uint64_t) { copied.push_back(done); });
        g_refuse_with.clear();
        g_interrupt_reads = g_interrupt_writes = 0;
        g_short_writes = false;
        EXPECT_EQ(s.ok, c.copied) << s.reason;
        EXPECT_EQ(copied, c.progress);
        EXPECT_EQ(dir.Read("expandmd80.mix.Zarn"), c.copied ? big + "end" : "");
        EXPECT_EQ(dir.Names().size(), c.copied ? 2u : 1u) << "a part left behind";
    }
}

// The new file's data, then the folder's new name, are on the disk before
// the copy reports success: only then may the caller delete the source.
TEST(CopyPosix, FlushesTheCopyThenItsFolder) {
    TempFolder dir;
    dir.Write("ra2md.csf", "csf");
    g_synced.clear();
    ASSERT_TRUE(platform::CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    std::string folder = std::filesystem::canonical(dir.path()).string();
    EXPECT_EQ(g_synced, (std::vector<std::string>{folder + "/ra2md.csf.Zarn.zarn-copying",
                                                  folder}));
}

// However a copy or a delete ends, it leaves no file open: a panel that
// leaked one per file would hold the game's files until it closed.
TEST(CopyPosix, NoDescriptorIsLeftOpen) {
    TempFolder dir;
    dir.Write("a.mix", "a");
    dir.Write("read-only.mix", "r");
    dir.SetReadOnly("read-only.mix");
    dir.MakeFolder("folder.mix");
    const int before = OpenDescriptors();
    for (const char* target : {"b.mix", "b.mix", "read-only.mix", "folder.mix", "no/such.mix"})
        platform::CopyFileReplace(dir.File("a.mix"), dir.File(target));
    platform::CopyFileReplace(dir.File("missing.mix"), dir.File("c.mix"));
    g_refuse_with = {EIO};
    platform::CopyFileReplace(dir.File("a.mix"), dir.File("d.mix"));
    g_refuse_with.clear();
    platform::RemoveFile(dir.File("b.mix"));
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.mix", "folder.mix", "read-only.mix"}));
}

}  // namespace
