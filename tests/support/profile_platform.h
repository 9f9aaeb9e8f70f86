// What differs between the profile writers the tests run against.
#pragma once

// True when a write leaves every other byte of the file as it was. Our own
// writer does, as Windows does; Wine's kernel32 parses the file and writes
// all of it back (CR LF breaks, "key=value" without blanks, blank lines
// dropped), so under Wine only the values that read back are compared.
#ifdef _WIN32
inline constexpr bool kWriterKeepsOtherBytes = false;
#else
inline constexpr bool kWriterKeepsOtherBytes = true;
#endif
