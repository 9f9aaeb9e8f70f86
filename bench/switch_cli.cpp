// Runs Enable or Disable over a game folder from the command line, for the
// fault test (tools/fault/switch_kill.sh) and the switching benchmark
// (bench/switch.sh):
//
//     switch_cli enable|disable <game folder>
//
// The real handlers run (Frm1::Command2_Click, Command3_Click) against a
// window that prints every message box text to stderr and the state label
// to stdout. Exit status 0 when no box came up.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "panel/frm1.h"
#include "platform/system.h"

namespace {

class PrintingWindow : public platform::Window {
public:
    int messages = 0;
    void SetText(const char* control, const std::string& text) override {
        std::printf("%s: %s\n", control, text.c_str());
    }
    std::string Text(const char*) override { return {}; }
    int Value(const char*) override { return 0; }
    void SetValue(const char*, int) override {}
    void SetRange(const char*, int, int, int, int) override {}
    platform::Answer Message(const std::string& text, platform::Buttons) override {
        ++messages;
        std::fprintf(stderr, "%s\n", text.c_str());
        return platform::Answer::kOk;
    }
    void ShowModal(platform::Form) override {}
    void Close() override {}
    void SetBusy(bool) override {}
    void KeepPainted() override {}
};

// The game folder named on the command line.
class GameFolder : public platform::Folder {
public:
    explicit GameFolder(std::string path) : path_(std::move(path)) {}
    std::string Path() const override { return path_; }

private:
    std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "enable") != 0 && std::strcmp(argv[1], "disable") != 0)) {
        std::fprintf(stderr, "usage: switch_cli enable|disable <game folder>\n");
        return 2;
    }
    PrintingWindow window;
    GameFolder folder(argv[2]);
    platform::SystemFiles files;
    platform::SystemPrograms programs;
    platform::SteadyClock clock;
    core::Frm1 frm1(window, folder, files, programs, nullptr, clock);
    if (std::strcmp(argv[1], "enable") == 0) frm1.Command2_Click();
    else frm1.Command3_Click();
    return window.messages == 0 ? 0 : 1;
}
