#include "platform/win/taskbar_win.h"

#include <shobjidl.h>

#include "platform/win/com.h"
#include "platform/win/system_library.h"

namespace platform {

namespace {

// Written out rather than taken from uuid.lib.
const CLSID kTaskbarList = {0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
const IID kTaskbarList3 = {0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

}  // namespace

ShellTaskbar::~ShellTaskbar() {
    if (list_) list_->Release();
}

ITaskbarList3* ShellTaskbar::List() {
    if (tried_) return list_;
    tried_ = true;
    if (!EnsureCom()) return nullptr;
    // EnsureCom has loaded ole32 from System32.
    using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    auto create = SystemFunction<Create>(GetModuleHandleW(L"ole32.dll"), "CoCreateInstance");
    ITaskbarList3* list = nullptr;
    if (!create || FAILED(create(kTaskbarList, nullptr, CLSCTX_INPROC_SERVER, kTaskbarList3,
                                 reinterpret_cast<void**>(&list))))
        return nullptr;
    if (FAILED(list->HrInit())) {
        list->Release();
        return nullptr;
    }
    list_ = list;
    return list_;
}

void ShellTaskbar::SetProgress(std::uint64_t done, std::uint64_t total) {
    ITaskbarList3* list = List();
    if (!list || !window_) return;
    list->SetProgressState(window_, TBPF_NORMAL);
    list->SetProgressValue(window_, done, total);
}

void ShellTaskbar::ClearProgress() {
    if (list_ && window_) list_->SetProgressState(window_, TBPF_NOPROGRESS);
}

}  // namespace platform
