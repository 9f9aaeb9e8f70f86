// Hidden and system files count as absent, to the state label as to the
// commands, which ask the same question.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win/wide.h"
#include "panel/frm1.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(FileExistsWin, HiddenAndSystemFilesCountAsAbsent) {
    struct Case {
        const char* what;
        DWORD attributes;
        bool expected;
        const char* label;
    } cases[] = {
        {"normal", FILE_ATTRIBUTE_NORMAL, true, "Enabled"},
        {"archive", FILE_ATTRIBUTE_ARCHIVE, true, "Enabled"},
        {"read-only", FILE_ATTRIBUTE_READONLY, true, "Enabled"},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, false, "Disabled"},
        {"system", FILE_ATTRIBUTE_SYSTEM, false, "Disabled"},
        {"hidden and read-only", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, false, "Disabled"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.Write("expandmd81.mix", "x");
        ASSERT_TRUE(SetFileAttributesW(Widen(dir.File("expandmd81.mix")).c_str(), c.attributes));
        EXPECT_EQ(platform::FileExists(dir.File("expandmd81.mix")), c.expected) << c.what;
        RecordingWindow w;
        Frm1 frm1(w, dir.path());
        frm1.Form_Load();
        EXPECT_EQ(w.texts["visual"], c.label) << c.what;
        SetFileAttributesW(Widen(dir.File("expandmd81.mix")).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
