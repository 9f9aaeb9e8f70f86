// libFuzzer harness for our INI text reader and writer (platform/posix/
// ini_text.cpp), built and run by tools/ini_fuzz.sh.
//
// The first three bytes pick a section, a key and a value from small lists;
// the rest is the file. Besides not crashing, a write must read back: the key
// written gives the value written (trimmed), and every other key of the lists
// reads as it did before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/ini_text.h"

namespace {

const char* const kSections[] = {"Audio", "Video", "audio", "A", "Multi Player", "x"};
const char* const kKeys[] = {"SoundVolume", "soundvolume", "ScreenWidth", "k", "a b", "K"};
const char* const kValues[] = {"0.8", "yes", "", "  spaced  ", "a=b", "\"q\"", "; x", "[S]"};

template <size_t N>
const char* Pick(const char* const (&items)[N], uint8_t byte) { return items[byte % N]; }

bool Same(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if ((*a | 0x20) != (*b | 0x20)) return false;
    return *a == *b;
}

std::string Trimmed(std::string s) {
    const char* blanks = " \t\v\f\x1A";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const char* section = Pick(kSections, data[0]);
    const char* key = Pick(kKeys, data[1]);
    const char* value = Pick(kValues, data[2]);
    std::string_view file(reinterpret_cast<const char*>(data) + 3, size - 3);

    std::optional<std::string> after = platform::WithIniValue(file, section, key, value);
    if (!after) return 0;  // a UTF-16 file: not written
    std::optional<std::string> read = platform::FindIniValue(*after, section, key);
    if (read != Trimmed(value)) std::abort();
    for (const char* s : kSections)
        for (const char* k : kKeys) {
            if (Same(s, section) && Same(k, key)) continue;
            if (platform::FindIniValue(file, s, k) != platform::FindIniValue(*after, s, k)) std::abort();
        }
    return 0;
}
