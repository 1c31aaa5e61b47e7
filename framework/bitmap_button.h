// Buttons and pictures that show a bitmap from the resources. Pure green
// (0,255,0) in a bitmap stands for the button face, so the pictures follow
// the user's colour scheme.
#pragma once

#include <windows.h>

#include <vector>

namespace plyvane {

// The bitmap with pure green replaced by the current button-face colour.
// The bitmap must have a colour table (4 or 8 bits per pixel).
HBITMAP LoadFaceMappedBitmap(int resourceId);

// Owns the bitmaps it puts on buttons and pictures; frees them at the end.
class BitmapButtons {
public:
    BitmapButtons() = default;
    ~BitmapButtons();
    BitmapButtons(const BitmapButtons&) = delete;
    BitmapButtons& operator=(const BitmapButtons&) = delete;

    // Gives the button (BS_BITMAP) the picture.
    bool SetButton(HWND button, int resourceId);
    // Gives a picture static (SS_BITMAP) the picture.
    bool SetPicture(HWND picture, int resourceId);
    // A button that cannot be used: disabled, drawn by its owner with the
    // picture greyed and embossed as the system draws disabled pictures
    // (the dialog passes its WM_DRAWITEM to DrawDisabledButton).
    bool SetDisabledButton(HWND button, int resourceId);

private:
    HBITMAP Load(int resourceId);
    struct Loaded {
        int id;
        HBITMAP bitmap;
    };
    std::vector<Loaded> loaded_;
    std::vector<HBITMAP> greyed_;
};

// Draws a button made by SetDisabledButton; false for other controls.
bool DrawDisabledButton(const DRAWITEMSTRUCT& item);

// The pushed look of a button that stays down while its state is on.
void SetPushed(HWND button, bool pushed);
bool IsPushed(HWND button);

}  // namespace plyvane
