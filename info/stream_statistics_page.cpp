#include "stream_statistics_page.h"

#include "resource_ids.h"
#include "stream_properties.h"

namespace plyvane {

namespace {
// In the order DescribeStreamPage gives the texts.
constexpr int kStreamFields[] = {IDC_STREAM_TYPE,    IDC_STREAM_FREQUENCY,  IDC_STREAM_CHANNEL_MODE,
                                 IDC_STREAM_BITRATE, IDC_STREAM_PACK_RATIO, IDC_STREAM_DESCRIPTION};
}  // namespace

CStreamProperties2::CStreamProperties2(const std::string& entry, StreamProbe& probe)
    : PropertyPage(IDD_STREAM_STATISTICS, "MPEG statistics"), entry_(entry), probe_(probe) {}

BOOL CStreamProperties2::OnInitDialog() {
    ShowStream();
    return TRUE;
}

void CStreamProperties2::ShowStream() {
    const auto texts = DescribeStreamPage(probe_.Result(SheetHandle(), entry_));
    for (std::size_t i = 0; i < texts.size(); ++i) ::SetDlgItemTextA(Handle(), kStreamFields[i], texts[i].c_str());
}

LRESULT CStreamProperties2::OnQuerySiblings(WPARAM code, PropertyPage* sender) {
    (void)code;
    if (sender != this) ShowStream();
    return 0;
}

}  // namespace plyvane
