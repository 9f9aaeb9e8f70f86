#include "app/win/modal.h"

void RunMessageLoop(const std::function<bool()>& running) {
    MSG msg;
    while (running()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage((int)msg.wParam);  // let outer loops see it too
            return;
        }
        if (got < 0) return;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void RunModal(ui::Form /*form*/, HWND /*owner*/) {}
