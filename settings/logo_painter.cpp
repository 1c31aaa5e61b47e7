#include "logo_painter.h"

namespace plyvane {

namespace {
void Triangle(HDC dc, POINT origin, const LogoPoint (&corners)[3], COLORREF colour) {
    POINT points[3];
    for (int i = 0; i < 3; ++i) points[i] = {origin.x + corners[i].x, origin.y + corners[i].y};
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Polygon(dc, points, 3);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}
}  // namespace

void PaintLogo(HDC dc, POINT origin, const LogoGeometry& logo) {
    Triangle(dc, origin, logo.first, RGB(255, 0, 0));
    Triangle(dc, origin, logo.second, RGB(0, 0, 255));
    HFONT font = ::CreateFontA(logo.fontHeight, logo.fontWidth, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                               ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, RGB(0, 0, 0));
    ::TextOutA(dc, origin.x + logo.text.x, origin.y + logo.text.y, "Plyvane", 7);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
}

}  // namespace plyvane
