// Runs the generated INI cases (ini_cases.h) through this build's profile
// reader and writer and prints their result lines, for tools/ini_diff.sh to
// compare between the native build and the Windows build under Wine.
//
//   ini_diff [first case] [number of cases]
//
// On Windows each read is also made with GetPrivateProfileStringA itself;
// a difference from our wide-function route is reported on stderr.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/ini_cases.h"
#include "bench/ini_direct.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    unsigned long first = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
    unsigned long count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
    fs::path folder = fs::temp_directory_path() / ("zarn-ini-diff-" + std::to_string(first));
    fs::create_directories(folder);

    int direct_differences = 0;
    auto check = [&](const ini_cases::Call& call, const std::string& path, const std::string& line) {
        auto direct = DirectRead(call.section, call.key, call.text, call.capacity, path);
        if (!direct) return;
        std::string expected = std::to_string(direct->size()) + " " + ini_cases::Escape(*direct);
        if (expected == line) return;
        ++direct_differences;
        std::fprintf(stderr, "direct read differs: [%s] %s: %s against %s\n",
                     ini_cases::Escape(call.section).c_str(), ini_cases::Escape(call.key).c_str(),
                     line.c_str(), expected.c_str());
    };
    for (unsigned long number = first; number < first + count; ++number) {
        fs::path file = folder / ("case" + std::to_string(number) + ".ini");
        std::fputs(ini_cases::Run(ini_cases::Make(number), number, file.u8string(), check).c_str(),
                   stdout);
        std::error_code ec;
        fs::remove(file, ec);
    }
    fs::remove_all(folder);
    std::fprintf(stderr, "%lu cases, %d direct reads differ\n", count, direct_differences);
    return 0;
}
