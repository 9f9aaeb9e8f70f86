// True when a profile write leaves every other byte of the file as it was: our
// own writer's and Windows'. Wine's kernel32 writes the whole file back (CR LF,
// "key=value", blank lines dropped), so under Wine only values read back count.
#pragma once
#ifdef _WIN32
inline constexpr bool kWriterKeepsOtherBytes = false;
#else
inline constexpr bool kWriterKeepsOtherBytes = true;
#endif
