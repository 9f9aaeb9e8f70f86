// UTF-8 <-> UTF-16 at the edge of the Win32 API. Everything inside the
// program is UTF-8; wide strings live only in the win/ folders.
#pragma once

#include <memory>
#include <string>
#include <windows.h>

namespace platform {

// WString, but with an allocator of its own: the library's explicit
// instantiation of WString (24 KiB, linked whole) is not used, and only
// the members the program calls are compiled in.
template <typename T>
struct WideAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = WideAllocator<U>;
    };
    WideAllocator() = default;
    template <typename U>
    WideAllocator(const WideAllocator<U>&) {}
};
using WString = std::basic_string<wchar_t, std::char_traits<wchar_t>, WideAllocator<wchar_t>>;

inline WString Widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    WString w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

inline std::string Narrow(const WString& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// The system's wording for a Win32 error code, without the trailing line break.
inline std::string SystemReason(DWORD err) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, err, 0, (LPWSTR)&text, 0, nullptr);
    WString w;
    if (n) {
        w.assign(text, n);
    } else {
        w = L"Error ";
        WString digits;
        do digits.insert(digits.begin(), wchar_t(L'0' + err % 10)); while (err /= 10);
        w += digits + L".";
    }
    if (text) LocalFree(text);
    while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L' ')) w.pop_back();
    return Narrow(w);
}

}  // namespace platform
