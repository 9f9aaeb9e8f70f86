// INI file text as the Windows profile functions read and write it, on text
// held in memory. The POSIX profile reader and writer (profile.cpp) wrap
// these with the file on disk; the fuzzing harness calls them directly.
//
// What a line is:
//  - Lines end at CR LF, LF or a lone CR; all three may be mixed in one file.
//  - Blanks (space, tab, vertical tab, form feed, Ctrl-Z) around a line do
//    not count.
//  - "[name]" starts a section, its name being the text up to the last ']',
//    blanks trimmed. A '[' with no ']' after it is an ordinary line.
//  - A line starting with ';' is a comment.
//  - Any other line is a key: the name before the first '=' and the value
//    after it, both trimmed. A line without '=' is a key with no value, which
//    reads as absent. A NUL character ends a name or a value early.
//  - Lines before the first section belong to a section named "".
//  - Names match without regard to ASCII letter case, and the names asked
//    for are trimmed of blanks as well. The first section of a
//    name is the only one read or written, and within it the first key.
// A file that starts with a UTF-8 byte order mark is read past the mark. A
// UTF-16 file (with its mark) is read too, each character past U+00FF as '?',
// but it is not written: see WithIniValue.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in `[section]`, trimmed but with its quotes still on (a
// short buffer cuts a quoted value in its own way; see profile.cpp). Nothing
// when the section or the key is absent, or the key has no '='.
std::optional<std::string> FindIniValue(std::string_view file, std::string_view section,
                                        std::string_view key);

// The file text with `key` in `[section]` set to `value`:
//  - a key that is there has its line replaced by "name=value", the name
//    spelled as the file spells it, the line's own line break kept;
//  - a missing key is added after the last key line of its section, or right
//    after the section's header when it has none;
//  - a missing section is added at the end as "[section]" and "key=value";
// each new line ends with the line break the file already uses (CR LF in a
// file that has none). Every other byte stays as it was. Nothing for a UTF-16
// file, which this writer does not rewrite.
std::optional<std::string> WithIniValue(std::string_view file, std::string_view section,
                                        std::string_view key, std::string_view value);

}  // namespace platform
