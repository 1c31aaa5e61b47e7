// The "Internet" page (CInternetProperties): proxy and port, the HTTP
// account (the password hidden), what opening an address does, and the
// playlist scan of HTTP entries.
#pragma once

#include "internet_settings.h"
#include "property_sheet.h"

namespace plyvane {

class CInternetProperties : public PropertyPage {
public:
    CInternetProperties();

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnApply() override;
    void OnReset() override;

private:
    void ShowSettings();
    std::string FieldText(int id) const;

    InternetChanges changes_;
    bool filling_ = false;  // the page itself is writing the fields
};

}  // namespace plyvane
