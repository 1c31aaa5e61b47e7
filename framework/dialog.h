// A dialog built from a template, with its messages routed to small
// virtual handlers. The object is reached from the window handle (the
// dialog's user data), so a window's state lives in its object, never in
// globals.
#pragma once

#include <windows.h>

namespace plyvane {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal through the system's dialog loop; returns the EndDialog result.
    INT_PTR DoModal(HWND owner);
    // Modal through our own loop, so PreTranslateMessage sees every message
    // first (accelerators, tool tips). The owner is disabled meanwhile.
    INT_PTR RunModalLoop(HWND owner);
    // Modeless: the caller keeps the object alive until the window is gone.
    HWND CreateModeless(HWND owner);

    void EndDialog(INT_PTR result);
    HWND Handle() const { return window_; }
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    int TemplateId() const { return templateId_; }

    // The object behind a window made by this class, or null.
    static Dialog* FromHandle(HWND window);

protected:
    // WM_INITDIALOG; return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND. IDOK and IDCANCEL end the dialog unless overridden.
    virtual void OnCommand(int id, int code, HWND control);
    // WM_NOTIFY; the value becomes the message result.
    virtual LRESULT OnNotify(NMHDR* header) { (void)header; return 0; }
    // Every other message: return true when handled, with its result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_DESTROY, before the handle is forgotten.
    virtual void OnDestroy() {}
    // Our own loop's first look at a message; true swallows it.
    virtual bool PreTranslateMessage(MSG* message) { (void)message; return false; }

    // The dialog procedure of every window made by this class; windows that
    // other code creates from a template (property pages) enter through it
    // with the object in WM_INITDIALOG's lParam.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND window_ = nullptr;
    bool modal_ = false;       // ended through ::EndDialog
    bool ownLoop_ = false;     // ended by leaving RunModalLoop
    bool ended_ = false;
    INT_PTR result_ = 0;
};

}  // namespace plyvane
