#include "app/win/modal.h"

#include "app/win/dialogs.h"
#include "app/win/form.h"

void RunMessageLoop(const FormWindow& window) {
    MSG msg;
    while (window.IsOpen()) {
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

void RunModal(ui::Form form, HWND owner) {
    // Built afresh at every opening: nothing typed and not saved survives.
    FormWindow window(LayoutOf(form), RunModal);
    DialogEvents events(form, window);
    if (owner) EnableWindow(owner, FALSE);
    if (window.Open(&events, owner)) RunMessageLoop(window);
    // FormWindow::Close has given the owner its input back before the window
    // went, so the owner was activated rather than another program; this
    // covers a window that failed to open.
    if (owner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}
