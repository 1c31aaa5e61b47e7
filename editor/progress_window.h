// The progress window of long operations on the window thread: the item in
// work, a bar, a percentage and "Cancel". Its owner is disabled while it is
// up; each step lets waiting messages through, so the windows stay painted
// and "Cancel" can be pressed. "Cancel" only raises a flag the operation
// polls.
#pragma once

#include <string>

#include "dialog.h"

namespace plyvane {

class CProgressWindow : public Dialog {
public:
    // The caption is the string resource `captionId` ("Progress indicator"
    // for 0). Range 0..100, step 10; no window until Create.
    explicit CProgressWindow(int captionId = 0);
    ~CProgressWindow() override;

    // Disables an enabled owner and creates the window; false (owner enabled
    // again) when it cannot be created.
    bool Create(HWND owner);
    void SetRange(int low, int high);
    void SetStep(int step);
    void ShowItem(const char* text);
    // Lets waiting messages through, steps the bar and shows the percentage.
    void Step();
    // Lets waiting messages through; whether Cancel was pressed since the
    // last poll.
    bool PollCancel();
    // Gives the owner back its input and destroys the window.
    void Close();

    bool OwnerDisabled() const { return ownerDisabled_; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    void LetMessagesThrough();

    int captionId_;
    int low_ = 0;
    int high_ = 100;
    int step_ = 10;
    bool cancelled_ = false;
    bool ownerDisabled_ = false;
    HWND owner_ = nullptr;
};

}  // namespace plyvane
