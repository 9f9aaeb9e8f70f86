#include "tests/support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/platform.h"

namespace fs = std::filesystem;
using fs::u8path;

TempFolder::TempFolder(const std::string& leaf, const std::string& under) {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path base = (under.empty() ? fs::temp_directory_path() : u8path(under)) /
                    ("zarn-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::path dir = base / u8path(leaf);
    fs::create_directories(dir);
    path_ = dir.u8string();
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::path base = u8path(path_).parent_path();
    for (auto& e : fs::recursive_directory_iterator(base, ec))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(base, ec);
}

std::string TempFolder::File(const std::string& name) const {
    return path_ + platform::kPathSeparator + name;
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(u8path(File(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

std::string TempFolder::Read(const std::string& name) const {
    std::ifstream in(u8path(File(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TempFolder::MakeFolder(const std::string& name) const {
    fs::create_directory(u8path(File(name)));
}

void TempFolder::SetReadOnly(const std::string& name) const {
    fs::permissions(u8path(File(name)), fs::perms::owner_write | fs::perms::group_write |
                                        fs::perms::others_write,
                    fs::perm_options::remove);
}

std::vector<std::string> TempFolder::Names() const {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(u8path(path_)))
        names.push_back(e.path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
}
