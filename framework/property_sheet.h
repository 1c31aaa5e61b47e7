// A tabbed property sheet and its pages, over the system's property sheet
// (COMCTL32). The sheet keeps the system's rules: a page's apply step runs on
// OK or Apply only for pages that have been shown at least once, Cancel runs
// the reset step of the same pages, and a page marked changed enables Apply.
// A page can ask its siblings (every page shown so far) to refresh.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialog.h"

namespace plyvane {

class PropertySheet;

class PropertyPage : public Dialog {
public:
    PropertyPage(int templateId, const char* title);

    // The page's window exists and its set-up (OnInitDialog) has finished.
    bool Initialised() const { return initialised_; }

    // Marks the page changed for the sheet (enables Apply) or not.
    void SetModified(bool changed = true);
    // Sends `code` to every page shown so far, this one included, until one
    // answers non-zero; the answer.
    LRESULT QuerySiblings(WPARAM code);

    HWND SheetHandle() const;

protected:
    // The apply step (OK or Apply); false keeps the sheet open on this page.
    virtual bool OnApply() { return true; }
    // The reset step (Cancel, or the sheet closed).
    virtual void OnReset() {}
    // The page became the visible one.
    virtual void OnSetActive() {}
    // A sibling query; `sender` is the page that asked (it may be this one).
    virtual LRESULT OnQuerySiblings(WPARAM code, PropertyPage* sender) {
        (void)code;
        (void)sender;
        return 0;
    }

    LRESULT OnNotify(NMHDR* header) override;
    // A page never ends a dialog: OK and Cancel belong to the sheet.
    void OnCommand(int id, int code, HWND control) override {
        (void)id;
        (void)code;
        (void)control;
    }
    // Pages that handle other messages call this for the ones they don't.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class PropertySheet;
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string title_;
    PropertySheet* sheet_ = nullptr;
    bool initialised_ = false;
};

class PropertySheet {
public:
    explicit PropertySheet(const char* caption) : caption_(caption != nullptr ? caption : "") {}
    virtual ~PropertySheet() = default;
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    // Pages in tab order; they must outlive the sheet's showing.
    void AddPage(PropertyPage& page);

    // Runs the sheet modally on the first page; IDOK when it was closed with
    // OK, IDCANCEL otherwise (Cancel, the close box, or a failure to open).
    INT_PTR DoModal(HWND owner);

private:
    friend class PropertyPage;
    void Applied(bool byOk) { endedWithOk_ = endedWithOk_ || byOk; }

    std::string caption_;
    std::vector<PropertyPage*> pages_;
    bool endedWithOk_ = false;
};

}  // namespace plyvane
