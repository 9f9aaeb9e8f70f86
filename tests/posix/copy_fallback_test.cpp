// Copies where the kernel will not copy for us (two file systems, an old
// kernel): copy_file_range is made to refuse through a link-time wrapper
// (tests/CMakeLists.txt), so the copy goes by read and write.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace {
int g_refuse_with = 0;  // the errno copy_file_range gives; 0: it works
}

extern "C" ssize_t __real_copy_file_range(int, off64_t*, int, off64_t*, size_t, unsigned);
extern "C" ssize_t __wrap_copy_file_range(int in, off64_t* in_off, int out, off64_t* out_off,
                                          size_t n, unsigned flags) {
    if (g_refuse_with == 0) return __real_copy_file_range(in, in_off, out, out_off, n, flags);
    errno = g_refuse_with;
    return -1;
}

namespace {

TEST(CopyFallback, ByReadAndWriteWhereTheKernelCannotCopy) {
    const std::string big(3u << 17, 'x');  // several pieces of the hand copy
    for (int err : {EXDEV, ENOSYS, EINVAL, EOPNOTSUPP, EIO}) {
        SCOPED_TRACE(err);
        TempFolder dir;
        dir.Write("expandmd80.mix", big + "end");
        std::vector<std::uint64_t> copied;
        g_refuse_with = err;
        platform::Status s = platform::CopyFileReplace(
            dir.File("expandmd80.mix"), dir.File("expandmd80.mix.Zarn"),
            [&](std::uint64_t done, std::uint64_t) { copied.push_back(done); });
        g_refuse_with = 0;
        if (err == EIO) {  // a real error is a refusal, and no part is left behind
            EXPECT_FALSE(s.ok);
            EXPECT_EQ(dir.Names(), std::vector<std::string>{"expandmd80.mix"});
            continue;
        }
        ASSERT_TRUE(s.ok) << s.reason;
        EXPECT_EQ(dir.Read("expandmd80.mix.Zarn"), big + "end");
        EXPECT_EQ(copied, (std::vector<std::uint64_t>{1u << 16, 2u << 16, 3u << 16, 4u << 16,
                                                      5u << 16, 6u << 16, (6u << 16) + 3}));
    }
}

}  // namespace
