// Draws the logo of logo_geometry.h into a device context.
#pragma once

#include <windows.h>

#include "logo_geometry.h"

namespace plyvane {

// `origin` is the top-left corner of the logo area in the DC.
void PaintLogo(HDC dc, POINT origin, const LogoGeometry& logo);

}  // namespace plyvane
