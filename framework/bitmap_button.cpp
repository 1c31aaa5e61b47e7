#include "bitmap_button.h"

#include <commctrl.h>

namespace plyvane {

HBITMAP LoadFaceMappedBitmap(int resourceId) {
    COLORMAP map{RGB(0, 255, 0), ::GetSysColor(COLOR_BTNFACE)};
    return ::CreateMappedBitmap(::GetModuleHandleA(nullptr), resourceId, 0, &map, 1);
}

namespace {
constexpr char kGreyedProperty[] = "PlyvaneGreyedPicture";

// The picture's shapes in the shadow colour, with a highlight one pixel
// below and to the right, on the button face.
HBITMAP CreateGreyedBitmap(HBITMAP source) {
    BITMAP info{};
    if (::GetObjectA(source, sizeof info, &info) == 0) return nullptr;
    const int width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, source, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    if (rows != height) {
        ::ReleaseDC(nullptr, screen);
        return nullptr;
    }
    auto asPixel = [](COLORREF colour) {
        return static_cast<DWORD>(GetBValue(colour) | (GetGValue(colour) << 8) |
                                  (GetRValue(colour) << 16));
    };
    const DWORD face = asPixel(::GetSysColor(COLOR_BTNFACE));
    const DWORD shadow = asPixel(::GetSysColor(COLOR_BTNSHADOW));
    const DWORD light = asPixel(::GetSysColor(COLOR_BTNHIGHLIGHT));
    std::vector<DWORD> greyed(pixels.size(), face);
    auto shape = [&](int x, int y) { return (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != face; };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (shape(x, y) && x + 1 < width && y + 1 < height) {
                greyed[static_cast<size_t>(y + 1) * width + x + 1] = light;
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (shape(x, y)) greyed[static_cast<size_t>(y) * width + x] = shadow;
        }
    }
    HBITMAP result = ::CreateCompatibleBitmap(screen, width, height);
    if (result != nullptr) {
        ::SetDIBits(screen, result, 0, height, greyed.data(), &format, DIB_RGB_COLORS);
    }
    ::ReleaseDC(nullptr, screen);
    return result;
}
}  // namespace

BitmapButtons::~BitmapButtons() {
    for (const Loaded& entry : loaded_) ::DeleteObject(entry.bitmap);
    for (HBITMAP bitmap : greyed_) ::DeleteObject(bitmap);
}

bool BitmapButtons::SetDisabledButton(HWND button, int resourceId) {
    HBITMAP picture = Load(resourceId);
    if (button == nullptr || picture == nullptr) return false;
    HBITMAP greyed = CreateGreyedBitmap(picture);
    if (greyed == nullptr) return false;
    greyed_.push_back(greyed);
    ::SetPropA(button, kGreyedProperty, greyed);
    LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
    ::SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    ::EnableWindow(button, FALSE);
    ::InvalidateRect(button, nullptr, TRUE);
    return true;
}

bool DrawDisabledButton(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    auto greyed = static_cast<HBITMAP>(::GetPropA(item.hwndItem, kGreyedProperty));
    if (greyed == nullptr) return false;
    RECT area = item.rcItem;
    ::DrawFrameControl(item.hDC, &area, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_INACTIVE);
    BITMAP info{};
    ::GetObjectA(greyed, sizeof info, &info);
    HDC memory = ::CreateCompatibleDC(item.hDC);
    HGDIOBJ old = ::SelectObject(memory, greyed);
    ::BitBlt(item.hDC, (area.left + area.right - info.bmWidth) / 2,
             (area.top + area.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight, memory, 0, 0,
             SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return true;
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
