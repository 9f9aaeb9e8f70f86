// Runs the generated INI cases (ini_cases.h) through this build's profile
// reader and writer and prints one line per result, for tools/ini_diff.sh to
// compare between the native build and the Windows build under Wine.
//
//   ini_diff [first case] [number of cases]
//
// Lines: "<case>.<call> R <count> <text>" for a read, "W <result>" for a
// write, and after each write "A <section>/<key> <count> <text>" for the key
// written and every key the file names, read back. Writes are compared by
// what reads back, not byte for byte: Wine rewrites the whole file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "bench/ini_cases.h"
#include "bench/ini_direct.h"
#include "settings/profile.h"

namespace fs = std::filesystem;
using ini_cases::Escape;

namespace {

int direct_mismatches = 0;

std::string Read(const std::string& section, const std::string& key, const std::string& fallback,
                 unsigned capacity, const std::string& path) {
    std::string buffer(capacity + 1, '\0');
    unsigned n = profile::ReadString(section, key, fallback, &buffer[0], capacity, path);
    std::string text = std::to_string(n) + " " + Escape(buffer.substr(0, n));
    if (auto direct = DirectRead(section, key, fallback, capacity, path)) {
        std::string expected = std::to_string(direct->size()) + " " + Escape(*direct);
        if (expected != text) {
            ++direct_mismatches;
            std::fprintf(stderr, "direct read differs: [%s] %s: %s against %s\n",
                         Escape(section).c_str(), Escape(key).c_str(), text.c_str(),
                         expected.c_str());
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long first = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
    unsigned long count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
    fs::path folder = fs::temp_directory_path() / ("zarn-ini-diff-" + std::to_string(first));
    fs::create_directories(folder);

    for (unsigned long number = first; number < first + count; ++number) {
        ini_cases::Case c = ini_cases::Make(number);
        fs::path file = folder / ("case" + std::to_string(number) + ".ini");
        std::string path = file.u8string();
        if (c.has_file) {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            std::string bytes = ini_cases::FileBytes(c);
            out.write(bytes.data(), (std::streamsize)bytes.size());
        }
        for (size_t i = 0; i < c.calls.size(); ++i) {
            const ini_cases::Call& call = c.calls[i];
            std::string tag = std::to_string(number) + "." + std::to_string(i);
            if (!call.write) {
                std::printf("%s R %s\n", tag.c_str(),
                            Read(call.section, call.key, call.text, call.capacity, path).c_str());
                continue;
            }
            bool ok = profile::WriteString(call.section, call.key, call.text, path);
            std::printf("%s W %d\n", tag.c_str(), ok ? 1 : 0);
            std::set<std::pair<std::string, std::string>> names(c.names.begin(), c.names.end());
            names.insert({call.section, call.key});
            for (const auto& name : names)
                std::printf("%s A %s/%s %s\n", tag.c_str(), Escape(name.first).c_str(),
                            Escape(name.second).c_str(),
                            Read(name.first, name.second, "p", 100, path).c_str());
        }
        std::error_code ec;
        fs::remove(file, ec);
    }
    fs::remove_all(folder);
    if (direct_mismatches) std::fprintf(stderr, "%d direct reads differ\n", direct_mismatches);
    return 0;
}
