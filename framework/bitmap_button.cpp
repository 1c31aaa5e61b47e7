#include "bitmap_button.h"

#include <commctrl.h>

namespace plyvane {

HBITMAP LoadFaceMappedBitmap(int resourceId) {
    COLORMAP map{RGB(0, 255, 0), ::GetSysColor(COLOR_BTNFACE)};
    return ::CreateMappedBitmap(::GetModuleHandleA(nullptr), resourceId, 0, &map, 1);
}

BitmapButtons::~BitmapButtons() {
    for (const Loaded& entry : loaded_) ::DeleteObject(entry.bitmap);
}

HBITMAP BitmapButtons::Load(int resourceId) {
    for (const Loaded& entry : loaded_) {
        if (entry.id == resourceId) return entry.bitmap;
    }
    HBITMAP bitmap = LoadFaceMappedBitmap(resourceId);
    if (bitmap != nullptr) loaded_.push_back({resourceId, bitmap});
    return bitmap;
}

bool BitmapButtons::SetButton(HWND button, int resourceId) {
    HBITMAP bitmap = Load(resourceId);
    if (button == nullptr || bitmap == nullptr) return false;
    LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
    if ((style & BS_BITMAP) == 0) ::SetWindowLongPtrA(button, GWL_STYLE, style | BS_BITMAP);
    ::SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return true;
}

bool BitmapButtons::SetPicture(HWND picture, int resourceId) {
    HBITMAP bitmap = Load(resourceId);
    if (picture == nullptr || bitmap == nullptr) return false;
    ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return true;
}

void SetPushed(HWND button, bool pushed) {
    if (button != nullptr) ::SendMessageA(button, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

bool IsPushed(HWND button) {
    return button != nullptr && (::SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

}  // namespace plyvane
