// The program's logo: a red triangle above a blue one and the name in bold
// italics, fitted to an area. Shared by the main window and the about box.
#pragma once

namespace plyvane {

struct LogoPoint {
    int x, y;
};

struct LogoGeometry {
    LogoPoint first[3];   // red
    LogoPoint second[3];  // blue
    LogoPoint text;       // top-left of "Plyvane"
    int fontHeight;
    int fontWidth;        // average character width
};

// For a drawing w by h pixels whose left edge is `left` pixels into the
// area (integer arithmetic, truncating).
LogoGeometry ComputeLogoGeometry(int w, int h, int left);

// The about box draws over its whole logo area, less a 2-pixel frame.
inline LogoGeometry AboutBoxLogo(int areaWidth, int areaHeight) {
    return ComputeLogoGeometry(areaWidth - 4, areaHeight - 4, 0);
}

// The main window draws at three quarters of its logo area, centred.
inline LogoGeometry MainWindowLogo(int areaWidth, int areaHeight) {
    int w = (areaWidth - 4) * 3 / 4;
    int h = (areaHeight - 4) * 3 / 4;
    return ComputeLogoGeometry(w, h, (areaWidth - 4 - w) / 2);
}

}  // namespace plyvane
