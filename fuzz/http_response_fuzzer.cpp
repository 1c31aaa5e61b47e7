// Feeds arbitrary bytes to what the HTTP session reads from the network and
// the user: the response's header block, the ICY metadata filter and the
// address parser, and checks what they promise:
//   - header values are clean: a metadata interval is 0 or within bounds,
//     the station name has no control characters;
//   - the filter never returns more audio than it was given, and whatever
//     the pieces, the same bytes give the same audio and the same title;
//   - a valid address has a host of host characters and a port that is not 0
//     when it was given, and a masked address never shows the password
//     before its path.
// The first two bytes choose the metadata interval and the piece size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "http_address.h"
#include "http_response_headers.h"
#include "icy_metadata.h"

namespace {

using namespace plyvane;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<uint8_t> FilterInPieces(const uint8_t* data, std::size_t size, uint32_t interval, std::size_t piece,
                                    std::string& title) {
    IcyMetadataFilter filter(interval);
    std::vector<uint8_t> audio;
    for (std::size_t at = 0; at < size; at += piece) {
        std::vector<uint8_t> chunk(data + at, data + std::min(size, at + piece));
        const std::size_t kept = filter.Filter(chunk.data(), chunk.size());
        Check(kept <= chunk.size());
        audio.insert(audio.end(), chunk.begin(), chunk.begin() + kept);
    }
    title = filter.Title();
    for (char c : title) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    Check(title.size() <= 255);
    return audio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const uint32_t interval = 1u + data[0] % 64u;
    const std::size_t piece = 1u + data[1] % 37u;
    data += 2;
    size -= 2;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const ResponseHeaders headers = ParseResponseHeaders(text);
    Check(headers.metaInterval <= kMaxIcyMetaInterval);
    Check(headers.hasLength || headers.contentLength == 0);
    for (char c : headers.stationName) Check(static_cast<unsigned char>(c) >= 0x20);

    std::string wholeTitle;
    std::string pieceTitle;
    const std::vector<uint8_t> whole = FilterInPieces(data, size, interval, size == 0 ? 1 : size, wholeTitle);
    const std::vector<uint8_t> pieces = FilterInPieces(data, size, interval, piece, pieceTitle);
    Check(whole == pieces);
    Check(wholeTitle == pieceTitle);

    const std::string address = "http://" + text;
    HttpAddress parsed;
    if (ParseHttpAddress(address, parsed) == AddressCheck::kValid) {
        Check(!parsed.host.empty());
        for (char c : parsed.path) Check(static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x80);
        if (parsed.hasUserInfo && parsed.password.size() > 3 && parsed.password.find('@') == std::string::npos &&
            parsed.password.find('%') == std::string::npos) {
            const std::string masked = MaskAddressPassword(address);
            const std::string shownHost = masked.substr(0, masked.find('/', 7));
            Check(shownHost.find(":" + parsed.password + "@") == std::string::npos);
        }
    }
    return 0;
}
