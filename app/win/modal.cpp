#include "app/win/modal.h"

#include "app/win/dialogs.h"
#include "app/win/form.h"

namespace app {

namespace {

// The combo box around `focus` whose drop-down list is open, or null.
HWND DroppedCombo(HWND focus) {
    for (HWND h = focus; h; h = GetParent(h)) {
        wchar_t cls[16];
        if (GetClassNameW(h, cls, 16) && lstrcmpiW(cls, L"ComboBox") == 0)
            return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) ? h : nullptr;
        if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

// Escape closes no window: no window has a cancel button, and a multi-line
// text box inside a dialog-like window closes it on Escape of its own. The
// one thing Escape does is close an open drop-down list, done here since
// not every combo box closes it on a key that came through a dialog loop.
bool Escape(const MSG& msg) {
    bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
    if (!(key && msg.wParam == VK_ESCAPE) && !(msg.message == WM_CHAR && msg.wParam == 0x1B))
        return false;
    if (msg.message == WM_KEYDOWN)
        if (HWND combo = DroppedCombo(msg.hwnd)) SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    return true;
}

// A plain letter is an access key only with Alt: IsDialogMessage matches a
// character typed on a control that takes no characters (a picture box, a
// push button) against the captions' access keys as if Alt were down. Such
// a character goes to the control itself, which ignores it.
bool CharForNoOne(MSG& msg) {
    if (msg.message != WM_CHAR) return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, (LPARAM)&msg);
    return !(code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE | DLGC_WANTALLKEYS));
}

// Tab moves the focus as WM_NEXTDLGCTL does on our windows. Left to
// IsDialogMessage, which takes them for no dialog, Wine makes a push button
// that Tab reaches the default button, which Enter then presses. As in a
// dialog, a text box that Tab reaches has its whole text selected, so what
// is typed replaces it.
bool Tab(const MSG& msg, HWND root) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, (LPARAM)&msg);
    if (code & (DLGC_WANTTAB | DLGC_WANTMESSAGE)) return false;
    SendMessageW(root, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) != 0, 0);
    HWND to = GetFocus();
    if (to && (SendMessageW(to, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageW(to, EM_SETSEL, 0, -1);
    return true;
}

// The arrows move the focus through the window's controls, as the dialog
// manager does, but past those that never take it (labels, images), where
// the dialog manager would stop. Controls that want the arrows (scroll bars,
// text boxes, the combo box) keep them.
bool Arrow(const MSG& msg, HWND root) {
    if (msg.message != WM_KEYDOWN || !msg.hwnd || msg.hwnd == root) return false;
    bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
    if (!back && msg.wParam != VK_RIGHT && msg.wParam != VK_DOWN) return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, (LPARAM)&msg);
    if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    HWND first = nullptr;
    for (HWND h = GetNextDlgGroupItem(root, msg.hwnd, back); h && h != msg.hwnd && h != first;
         h = GetNextDlgGroupItem(root, h, back)) {
        if (!first) first = h;
        if (TakesFocus(h)) {
            SetFocus(h);
            break;
        }
    }
    return true;
}

}  // namespace

void RunMessageLoop(const FormWindow& window) {
    MSG msg;
    while (window.IsOpen()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage((int)msg.wParam);  // let outer loops see it too
            return;
        }
        if (got < 0) return;
        if (Escape(msg)) continue;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && (Arrow(msg, root) || Tab(msg, root))) continue;
        if (root && !CharForNoOne(msg) && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void RunModal(platform::Form form, HWND owner, const platform::Folder& folder) {
    // Built afresh at every opening: nothing typed and not saved survives.
    FormWindow window(LayoutOf(form), RunModal, &folder);
    DialogEvents events(form, window, folder);
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

}  // namespace app
