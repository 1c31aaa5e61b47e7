#include "logo_geometry.h"

namespace plyvane {

LogoGeometry ComputeLogoGeometry(int w, int h, int m) {
    LogoGeometry logo{};
    logo.first[0] = {m + 2 * h / 9, h / 3};
    logo.first[1] = {m + h / 3, 0};
    logo.first[2] = {m + w, h / 3};
    logo.second[0] = {m + h / 9, 2 * h / 3};
    logo.second[1] = {m + w, 2 * h / 3};
    logo.second[2] = {m, h};
    logo.text = {m + h / 9, h / 3 - h / 9};
    logo.fontHeight = h / 3 + h / 5;
    logo.fontWidth = w / 9;
    return logo;
}

}  // namespace plyvane
