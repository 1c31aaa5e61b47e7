// What the session needs from a response's header block: the body's length,
// where a partial answer starts, and the ICY metadata interval. Every value
// is checked: a header that does not read cleanly counts as absent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plyvane {

// The largest ICY metadata interval we accept; servers use 8 to 64 KB.
inline constexpr uint32_t kMaxIcyMetaInterval = 1u << 20;

struct ResponseHeaders {
    bool hasLength = false;       // a single, well-formed Content-Length that fits 32 bits
    uint32_t contentLength = 0;
    bool hasRangeStart = false;   // "Content-Range: bytes START-END/..."
    uint32_t rangeStart = 0;
    bool hasMetaInterval = false; // "icy-metaint" present (valid or not)
    uint32_t metaInterval = 0;    // 0 when present but unusable
    std::string stationName;      // "icy-name", printable characters only
};

// block: header lines, each ended by "\n" (a "\r" before it is allowed).
ResponseHeaders ParseResponseHeaders(std::string_view block);

}  // namespace plyvane
