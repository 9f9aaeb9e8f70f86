// Tables: the layouts against the values as published (the UI tests realise
// them), the release zip's names against the panel's file tables, and the
// platform layer's decisions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/layout.h"
#include "panel/failure.h"
#include "panel/files.h"
#include "platform/folder.h"
#include "platform/loader.h"
#include "platform/refusal.h"
#include "tests/support/remedies.h"

namespace {

using namespace platform;

const char kHelpText[] =
    "Marrowgate : Zeal and Rising Nations is a Mod for Yuri's Revenge, the mission \r\n"
    "CD for Red Alert 2.\r\n"
    "this mod is known as a partial addition mod because not only does it improve \r\n"
    "the existing sides but it also adds a whole new side, M:ZARN to Yuri's revenge \r\n"
    "is like yuri's revenge to RA2\r\n"
    "In this version of the mod, the CDA side is almost completey functional, \r\n"
    "although there is plenty of graphics work to be added. the CDA AI needs a lot \r\n"
    "of work, so avoid an AI controled CDA side in this release.\r\n"
    "also the sound plugin is on its way to completion, there is no delivery system for \r\n"
    "this plug in as of yet, so you will need to either add it manually or install it \r\n"
    "following the instuctions very carefully\r\n"
    "this mod is created by Marrowgate and ZDev, with help from others!\r\n";

// A table as text in twips, controls in tab order ("*": a tab stop).
std::string Text(const app::Form& f) {
    auto colour = [](const char* what, std::uint32_t c) {
        char text[16];
        std::snprintf(text, sizeof text, " %s%06X", what, (unsigned)c);
        return c == app::kSystem ? "" : std::string(text);
    };
    auto font = [](const app::Font* f) {
        return !f ? "" : std::string(" font ") + f->face + "/" + std::to_string(f->size_hundredths) +
                             (f->bold ? "b" : "") + (f->italic ? "i" : "");
    };
    auto caption = [](const std::string& c) { return c == kHelpText ? "(help text)" : c; };
    const char* kinds[] = {"button", "label", "picturebox", "image", "textbox", "memo", "scrollbar", "combo",
                           "line"};
    std::string t = std::string(f.caption) + " " + std::to_string(f.client_width) + "x" +
                    std::to_string(f.client_height) + " at " + std::to_string(f.left) + "," + std::to_string(f.top) +
                    (f.frame == app::Frame::kFixedDialog ? " dialog" : " single") + (f.icon ? " icon" : "") +
                    colour("bg", f.back) + font(f.font) + " focus " + f.focus + "\n";
    for (const app::Control* c = f.controls; c != f.controls + f.count; ++c)
        t += std::string(c->name) + " " + kinds[(int)c->kind] + " \"" + caption(c->caption) + "\" " +
             std::to_string(c->left) + "," + std::to_string(c->top) + " " + std::to_string(c->width) + "x" +
             std::to_string(c->height) + (c->tab_stop ? " *" : "") + font(c->font) + colour("fg", c->fore) +
             colour("bg", c->back) + (c->flags & app::kBorder ? " border" : "") +
             (c->flags & app::kCentred ? " centred" : "") + (c->flags & app::kReadOnly ? " readonly" : "") +
             "\n";
    return t;
}

TEST(LayoutTables, AreAsPublishedAndRoundPixelsToTheNearest) {
    struct { const app::Form& form; const char* text; } cases[] = {
        {app::kFrm1Layout,
         "The Marrowgate: Zeal And Rising Nations! 11505x2385 at 2505,4680 dialog icon bg000000 font MS Sans Serif/825 focus Picture2(0)\n"
         "Picture2(0) picturebox \"A\" 120,0 885x780 * bg000000\n"
         "Command5 button \"E&xit\" 10200,2040 1335x375 *\n"
         "Command3 button \"&Disable\" 2160,2040 975x375 *\n"
         "Command2 button \"&Enable\" 0,2040 975x375 *\n"
         "Command1 button \"&Launch\" 3120,2040 4095x375 *\n"
         "Picture2(3) picturebox \"B\" 9840,1080 645x645 * bg000000\n"
         "Picture2(2) picturebox \"C\" 0,960 1050x675 * bg000000\n"
         "visual label \"\" 960,2040 1215x375 font Monotype Corsiva/1425bi fgC00000 bg000000 border\n"
         "Command4 button \"&Info\" 9360,2040 855x375 *\n"
         "Command6 button \"&Help\" 8400,2040 975x375 *\n"
         "Command7 button \"Game Options\" 7200,2040 1215x375 *\n"
         "Uninstall button \"Uninstall\" 10800,0 735x255 *\n"
         "Clean button \"Clean\" 10800,480 735x255 *\n"
         "Label1 label \"\" 10800,240 765x255 border\n"
         "Label2 label \"\" 10800,720 735x1335 border\n"
         "Image1 image \"D\" 9720,0 1005x1020 bg000000\n"
         "Image2 image \"E\" 1080,0 8610x1995 bg000000\n"},
        {app::kGameOptionsLayout,
         "Game Options 3840x3270 at -1,-1 single bg000000 font MS Sans Serif/825 focus EVBBo\n"
         "EVBBo button \"1\" 360,1680 255x255 *\n"
         "EVSo button \"1\" 360,2040 255x255 *\n"
         "NAo button \"1\" 360,120 255x255 *\n"
         "EHRo button \"1\" 360,2520 255x255 *\n"
         "EVBB button \"0\" 120,1680 255x255 *\n"
         "EVS button \"0\" 120,2040 255x255 *\n"
         "NA button \"0\" 120,120 255x255 *\n"
         "EHR button \"0\" 120,2520 255x255 *\n"
         "EHRS label \"\" 600,2520 735x255 font MS Sans Serif/825b fgFFFFFF bg000000 border centred\n"
         "NAS label \"\" 600,120 1095x255 font MS Sans Serif/825b fgFFFFFF bg000000 border centred\n"
         "EVBBS label \"\" 600,1680 735x255 font MS Sans Serif/825b fgFFFFFF bg000000 border centred\n"
         "EVSS label \"\" 600,2040 735x255 font MS Sans Serif/825b fgFFFFFF bg000000 border centred\n"
         "Label2 label \"Enable High Resolutions\" 1320,2520 1935x255 fgFFFFFF bg000000 border centred\n"
         "Label3 label \"No Music\" 1680,120 1575x255 fgFFFFFF bg000000 border centred\n"
         "Label4 label \"Enable &VRAM Sidebar\" 1320,2040 1935x255 fgFFFFFF bg000000 border centred\n"
         "Label5 label \"Enable Video &Back Buffer\" 1320,1680 1935x255 fgFFFFFF bg000000 border centred\n"
         "HScroll1 scrollbar \"\" 1080,480 2055x255 *\n"
         "Text1 textbox \"\" 3120,480 615x285 * font MS Sans Serif/825b fgFFFFFF bg000000 centred\n"
         "HScroll2 scrollbar \"\" 1080,840 2055x255 *\n"
         "HScroll3 scrollbar \"\" 1080,1200 2055x255 *\n"
         "Text2 textbox \"\" 3120,840 615x285 * font MS Sans Serif/825b fgFFFFFF bg000000 centred\n"
         "Text3 textbox \"\" 3120,1200 615x285 * font MS Sans Serif/825b fgFFFFFF bg000000 centred\n"
         "Label1 label \"Sound Volume\" 0,480 1095x255 fgFFFFFF bg000000 centred\n"
         "Label6 label \"Voice Volume\" 0,840 1095x255 fgFFFFFF bg000000 centred\n"
         "Label7 label \"Music Volume\" 0,1200 1095x255 fgFFFFFF bg000000 centred\n"
         "Combo1 combo \"1280x1024|1024x768|800x600|640x480\" 120,2880 1575x315 *\n"
         "Command1 button \"Save And Close\" 1800,2880 1815x255 *\n"
         "Line1 line \"\" 3840,1560 0x1560\n"
         "Line2 line \"\" 3840,1560 3840x120\n"
         "Line3 line \"\" 3840,1560 3840x2400\n"
         "Line4 line \"\" 3840,2400 0x2400\n"},
        {app::kAboutLayout,
         "About ZARN 5370x1245 at 375,2100 single font MS Sans Serif/825 focus Command1\n"
         "Label1 label \"The Marrowgate:The Zeal And Rising Nations. \" 120,120 3495x255\n"
         "Label2 label \"Mod Created By:   Marrowgate (The ZARN Team)\" 120,360 3735x255\n"
         "Label3 label \"ZDev (The ZARN Team)\" 1440,600 2055x255\n"
         "Label4 label \"Contorl Pannel Created By: ZDev \" 120,960 2535x255\n"
         "Command1 button \"Ok\" 3960,120 1215x375 *\n"
         "Label6 label \"v 2.1\" 4320,600 495x255\n"},
        {app::kHelpLayout,
         "Mod Help 10800x6450 at 5685,5790 dialog bg000000 font MS Sans Serif/1200 focus Text1\n"
         "Text1 memo \"(help text)\" 2040,120 8655x6255 * readonly\n"
         "Command1 button \"&Close Help\" 120,6120 1815x315 * font MS Sans Serif/825\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(c.form), c.text) << c.form.name;
    // Twips to pixels: the nearest pixel, a half away from zero, at every DPI.
    const int pixels[][3] = {{1440, 96, 96}, {7, 96, 0}, {8, 96, 1}, {255, 144, 26}, {-255, 144, -26},
                             {4680, 192, 624}, {11505, 192, 1534}};  // twips, dpi, pixels
    for (const auto& p : pixels) EXPECT_EQ(app::Pixels(p[0], p[1]), p[2]) << p[0] << " at " << p[1];
}

// The line below a refusal, and whether a copy waits (for a held file, a second
// in all), over facts no test machine has: r read-only, f a folder, e elevated, w Wine.
TEST(Platform, RefusalRemedyAndPatience) {
    const ErrorKind kHeld = ErrorKind::kSharingViolation, kDenied = ErrorKind::kAccessDenied;
    const FolderAccess kYes = FolderAccess::kAllowed, kNo = FolderAccess::kDenied;
    const Next kFailed = Next::kFailed, kRetry = Next::kWaitAndRetry;
    struct { Step step; ErrorKind error; FolderAccess folder; const char* facts; int waited_ms; const char* line;
             Next next; } cases[] = {
        {Step::kDelete, kHeld, kNo, "", 0, remedies::kCloseProgram, kFailed},
        {Step::kOpenSource, kHeld, kNo, "", 0, remedies::kCloseProgram, kRetry},
        {Step::kCreateCopy, kHeld, kNo, "", 500, remedies::kCloseProgram, kRetry},
        {Step::kRename, kHeld, kNo, "", 999, remedies::kCloseProgram, kRetry},
        {Step::kRename, kHeld, kNo, "", 1000, remedies::kCloseProgram, kFailed},
        {Step::kDelete, kDenied, kYes, "e", 0, remedies::kCloseProgram, kFailed},  // a running program
        {Step::kDelete, kDenied, kNo, "r", 0, remedies::kClearReadOnly, kFailed},
        {Step::kCreateCopy, kDenied, kNo, "", 0, remedies::kRunAsAdministrator, kFailed},
        {Step::kDelete, kDenied, kNo, "e", 0, "", kFailed},
        {Step::kCreateCopy, kDenied, kNo, "w", 0, remedies::kGiveLinuxAccess, kFailed},
        {Step::kDelete, kDenied, kNo, "ew", 0, remedies::kGiveLinuxAccess, kFailed},
        {Step::kDelete, kDenied, FolderAccess::kUnknown, "", 0, "", kFailed},
        {Step::kRename, kDenied, kYes, "f", 0, "", kFailed},
        {Step::kStart, kDenied, kNo, "", 0, "", kFailed},
        {Step::kFlush, ErrorKind::kUnsupported, kYes, "", 0, "", Next::kCarryOn},  // a share without flushes
        {Step::kFlush, ErrorKind::kOther, kYes, "", 0, "", kFailed},
        {Step::kWrite, ErrorKind::kUnsupported, kYes, "", 0, "", kFailed},
    };
    for (const auto& c : cases) {
        auto has = [&](char fact) { return std::string(c.facts).find(fact) != std::string::npos; };
        RefusalFacts f{c.step, c.error, has('r'), has('f'), c.folder, has('e'), has('w')};
        EXPECT_EQ(core::RemedyText(ChooseRemedy(f)), c.line) << int(c.step) << c.facts;
        EXPECT_EQ(AfterFailedStep(c.step, c.error, c.waited_ms), c.next) << int(c.step) << " " << c.waited_ms;
    }
}

// Whether the token's rights refuse a step: Windows' "Modify" grants DELETE on the file but no
// FILE_DELETE_CHILD on the folder, and deletes work; under Wine only the folder counts.
TEST(Platform, RefusalFolderRightsPerStep) {
    const std::uint32_t kModify = kRightAddFile, kFull = kRightAddFile | kRightDeleteChild, kDel = kRightDelete;
    const FolderAccess kYes = FolderAccess::kAllowed, kNo = FolderAccess::kDenied;
    struct { Step step; bool exists; std::uint32_t file, folder; bool wine; FolderAccess want; } cases[] = {
        {Step::kCreateCopy, false, 0, kModify, false, kYes},
        {Step::kCreateCopy, false, 0, kRightDeleteChild, false, kNo},
        {Step::kDelete, true, kDel, kModify, false, kYes},
        {Step::kDelete, true, 0, kRightDeleteChild, false, kYes},
        {Step::kDelete, true, 0, kModify, false, kNo},
        {Step::kDelete, true, kDel, kModify, true, kNo},
        {Step::kDelete, true, 0, kFull, true, kYes},
        {Step::kRename, true, kDel, kModify, false, kYes},
        {Step::kRename, true, 0, kModify, false, kNo},
        {Step::kRename, false, 0, kModify, false, kYes},
        {Step::kRename, false, 0, kRightDeleteChild, false, kNo},
        {Step::kOpenSource, true, kDel, kModify, false, kNo},
        {Step::kOpenSource, true, 0, kFull, false, kYes},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderAccessFor(c.step, Rights{c.exists, c.file, c.folder}, c.wine), c.want)
            << int(c.step) << " " << c.exists << " " << c.file << " " << c.folder << " " << c.wine;
}

// A system DLL by its full path in the system folder, where the loader lacks the flag: never cut short.
TEST(Platform, SystemDlls) {
    struct { const wchar_t *folder, *name; std::size_t capacity; const wchar_t* path; } cases[] = {
        {L"C:\\Windows\\system32", L"windowscodecs.dll", 260, L"C:\\Windows\\system32\\windowscodecs.dll"},
        {L"", L"uxtheme.dll", 260, nullptr},
        {L"C:\\W", L"a.dll", 11, L"C:\\W\\a.dll"},  // ten characters and the terminator
        {L"C:\\W", L"ab.dll", 11, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<wchar_t> out(c.capacity, L'#');  // exactly the room it is given
        EXPECT_EQ(JoinSystemPath(c.folder, c.name, out.data(), c.capacity), c.path != nullptr) << c.capacity;
        EXPECT_EQ(c.path ? std::wstring(out.data()) : std::wstring(out.begin(), out.end()),
                  c.path ? c.path : std::wstring(c.capacity, L'#'));
    }
}

// Players unpack the whole release zip into the game folder: no command may
// delete, move, test or make one of its files. Every name a command makes
// from a fixed name begins with it, in any letter case: the name itself, its
// disabled form, the temporary name of a copy to it.
TEST(ReleaseZip, NoCommandTouchesItsFiles) {
    std::ifstream list(ZARN_SOURCE_DIR "/tools/release/files.txt");
    std::vector<std::string> zip;
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') zip.push_back(line);
    ASSERT_EQ(zip.size(), 2u) << "the panel and the players' guide";
    std::vector<std::string> fixed = {core::GameExe, platform::kSettingsFile, core::PatchExe};
    fixed.insert(fixed.end(), std::begin(core::ModFiles), std::end(core::ModFiles));
    fixed.insert(fixed.end(), std::begin(core::UninstallFiles), std::end(core::UninstallFiles));
    fixed.insert(fixed.end(), std::begin(core::CleanFiles), std::end(core::CleanFiles));
    auto begins = [](std::string name, std::string with) {
        for (std::string* s : {&name, &with})
            for (char& c : *s) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        return name.rfind(with, 0) == 0;
    };
    for (const std::string& name : zip)
        for (const std::string& f : fixed) EXPECT_FALSE(begins(name, f)) << name << " begins with " << f;
    EXPECT_FALSE(begins(zip[1], zip[0]) || begins(zip[0], zip[1])) << "the guide takes the panel's name";
}

}  // namespace
