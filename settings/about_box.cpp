#include "about_box.h"

#include "logo_painter.h"
#include "resource_ids.h"

namespace plyvane {

CAboutBox::CAboutBox(const char* versionString)
    : Dialog(IDD_ABOUT), version_(versionString != nullptr ? versionString : "") {}

BOOL CAboutBox::OnInitDialog() {
    ::SetWindowTextA(Handle(), "Plyvane");
    ::SetDlgItemTextA(Handle(), IDC_ABOUT_VERSION, ("Version " + version_).c_str());
    // The product name in a larger, bold face.
    LOGFONTA face{};
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    if (dialogFont != nullptr && ::GetObjectA(dialogFont, sizeof face, &face) != 0) {
        face.lfHeight = face.lfHeight * 3 / 2;
        face.lfWeight = FW_BOLD;
        nameFont_ = ::CreateFontIndirectA(&face);
        ::SendDlgItemMessageA(Handle(), IDC_ABOUT_NAME, WM_SETFONT,
                              reinterpret_cast<WPARAM>(nameFont_), FALSE);
    }
    // The logo is drawn by this dialog: the frame control is owner-drawn.
    HWND logo = Item(IDC_ABOUT_LOGO);
    ::SetWindowLongPtrA(logo, GWL_STYLE,
                        (::GetWindowLongPtrA(logo, GWL_STYLE) & ~SS_TYPEMASK) | SS_OWNERDRAW);
    tips_.Create(Handle());
    tips_.AddControl(logo, "Plyvane plays MPEG audio, Layers II and III.");
    ::SetForegroundWindow(Handle());
    return TRUE;
}

bool CAboutBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)wParam;
    if (message != WM_DRAWITEM) return false;
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID != IDC_ABOUT_LOGO) return false;
    RECT area = item->rcItem;
    ::FillRect(item->hDC, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(item->hDC, &area, EDGE_SUNKEN, BF_RECT);
    LogoGeometry logo = AboutBoxLogo(area.right - area.left, area.bottom - area.top);
    PaintLogo(item->hDC, POINT{area.left + 2, area.top + 2}, logo);
    result = TRUE;
    return true;
}

void CAboutBox::OnDestroy() {
    // The name's font lives as long as the window that uses it.
    if (nameFont_ != nullptr) ::DeleteObject(nameFont_);
    nameFont_ = nullptr;
}

}  // namespace plyvane
