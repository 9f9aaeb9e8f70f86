// True where a profile write leaves every other byte of the file as it was (our
// writer, Windows); Wine's kernel32 writes the whole file back in its own form.
#pragma once
#ifdef _WIN32
inline constexpr bool kWriterKeepsOtherBytes = false;
#else
inline constexpr bool kWriterKeepsOtherBytes = true;
#endif
