// Four floats or two doubles side by side, for the decoder's transforms and
// windowing. SSE2 where the target has it (x86-64, and the release's i686
// with -msse2); elsewhere plain arrays doing the same arithmetic lane by
// lane, so every build computes the same values.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "unroll.h"

// PLYVANE_SCALAR builds the plain version on x86 too, to check it there.
#if (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)) && !defined(PLYVANE_SCALAR)
#define PLYVANE_SSE2 1
#include <emmintrin.h>
#endif

namespace plyvane::simd {

#if defined(PLYVANE_SSE2)

struct Float4 {
    __m128 v;

    static Float4 Load(const float* p) { return {_mm_load_ps(p)}; }  // 16-byte aligned
    static Float4 LoadUnaligned(const float* p) { return {_mm_loadu_ps(p)}; }
    static Float4 Zero() { return {_mm_setzero_ps()}; }
    // Lanes a, b, c, d from the first lane up.
    static Float4 Of(float a, float b, float c, float d) { return {_mm_setr_ps(a, b, c, d)}; }
    void Store(float* p) const { _mm_store_ps(p, v); }
    void StoreUnaligned(float* p) const { _mm_storeu_ps(p, v); }

    friend Float4 operator+(Float4 a, Float4 b) { return {_mm_add_ps(a.v, b.v)}; }
    friend Float4 operator-(Float4 a, Float4 b) { return {_mm_sub_ps(a.v, b.v)}; }
    friend Float4 operator*(Float4 a, Float4 b) { return {_mm_mul_ps(a.v, b.v)}; }
    friend Float4 operator-(Float4 a) { return {_mm_xor_ps(a.v, _mm_set1_ps(-0.0f))}; }
    // The lanes in reverse order.
    Float4 Reversed() const { return {_mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3))}; }
    float Lane(int i) const {
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, v);
        return lanes[i];
    }
};

// True when any of values[0..count) is non-zero (-0.0 counts as zero); count
// a multiple of 4, values 16-byte aligned.
inline bool AnyNonZero(const float* values, int count) {
    __m128 any = _mm_setzero_ps();
    for (int i = 0; i < count; i += 4) any = _mm_or_ps(any, _mm_cmpneq_ps(_mm_load_ps(values + i), _mm_setzero_ps()));
    return _mm_movemask_ps(any) != 0;
}

// Rows a, b, c, d become columns.
inline void Transpose(Float4& a, Float4& b, Float4& c, Float4& d) { _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v); }

struct Double2 {
    static constexpr int kLanes = 2;
    __m128d v;

    static Double2 Load(const double* p) { return {_mm_load_pd(p)}; }  // 16-byte aligned
    static Double2 Splat(double x) { return {_mm_set1_pd(x)}; }
    void Store(double* p) const { _mm_store_pd(p, v); }

    friend Double2 operator+(Double2 a, Double2 b) { return {_mm_add_pd(a.v, b.v)}; }
    friend Double2 operator-(Double2 a, Double2 b) { return {_mm_sub_pd(a.v, b.v)}; }
    friend Double2 operator*(Double2 a, Double2 b) { return {_mm_mul_pd(a.v, b.v)}; }
    // Each lane rounded to single precision (to nearest, ties to even).
    Double2 RoundedToFloat() const { return {_mm_cvtps_pd(_mm_cvtpd_ps(v))}; }
};

// The four lanes as doubles, into out[0..3] (16-byte aligned).
inline void StoreAsDoubles(Float4 x, double* out) {
    _mm_store_pd(out, _mm_cvtps_pd(x.v));
    _mm_store_pd(out + 2, _mm_cvtps_pd(_mm_movehl_ps(x.v, x.v)));
}

// Each value rounded to an integer (to nearest, ties to even) and clipped to
// -32768..32767; count is a multiple of 8, in 16-byte aligned.
inline void RoundToInt16(const double* in, int16_t* out, int count) {
    const __m128d low = _mm_set1_pd(-32768.0);
    const __m128d high = _mm_set1_pd(32767.0);
    for (int i = 0; i < count; i += 8) {
        __m128i quad[2];
        for (int half = 0; half < 2; ++half) {
            const double* p = in + i + 4 * half;
            const __m128i a = _mm_cvtpd_epi32(_mm_min_pd(_mm_max_pd(_mm_load_pd(p), low), high));
            const __m128i b = _mm_cvtpd_epi32(_mm_min_pd(_mm_max_pd(_mm_load_pd(p + 2), low), high));
            quad[half] = _mm_unpacklo_epi64(a, b);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(quad[0], quad[1]));
    }
}

// 32 samples of each of two channels as interleaved 16-bit little-endian PCM.
inline void InterleavePcm16(const int16_t* first, const int16_t* second, uint8_t* out) {
    for (int i = 0; i < 32; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_unpacklo_epi16(a, b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i + 16), _mm_unpackhi_epi16(a, b));
    }
}

#else

struct Float4 {
    float v[4];

    static Float4 Load(const float* p) { return LoadUnaligned(p); }
    static Float4 LoadUnaligned(const float* p) {
        Float4 r;
        std::memcpy(r.v, p, sizeof r.v);
        return r;
    }
    static Float4 Zero() { return {{0.0f, 0.0f, 0.0f, 0.0f}}; }
    static Float4 Of(float a, float b, float c, float d) { return {{a, b, c, d}}; }
    void Store(float* p) const { std::memcpy(p, v, sizeof v); }
    void StoreUnaligned(float* p) const { Store(p); }

    friend Float4 operator+(Float4 a, Float4 b) { return Each(a, b, [](float x, float y) { return x + y; }); }
    friend Float4 operator-(Float4 a, Float4 b) { return Each(a, b, [](float x, float y) { return x - y; }); }
    friend Float4 operator*(Float4 a, Float4 b) { return Each(a, b, [](float x, float y) { return x * y; }); }
    friend Float4 operator-(Float4 a) { return {{-a.v[0], -a.v[1], -a.v[2], -a.v[3]}}; }
    Float4 Reversed() const { return {{v[3], v[2], v[1], v[0]}}; }
    float Lane(int i) const { return v[i]; }

private:
    template <typename Op>
    static Float4 Each(Float4 a, Float4 b, Op op) {
        return {{op(a.v[0], b.v[0]), op(a.v[1], b.v[1]), op(a.v[2], b.v[2]), op(a.v[3], b.v[3])}};
    }
};

inline bool AnyNonZero(const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (values[i] != 0.0f) return true;
    }
    return false;
}

inline void Transpose(Float4& a, Float4& b, Float4& c, Float4& d) {
    Float4* rows[4] = {&a, &b, &c, &d};
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            const float t = rows[i]->v[j];
            rows[i]->v[j] = rows[j]->v[i];
            rows[j]->v[i] = t;
        }
    }
}

struct Double2 {
    static constexpr int kLanes = 2;
    double v[2];

    static Double2 Load(const double* p) { return {{p[0], p[1]}}; }
    static Double2 Splat(double x) { return {{x, x}}; }
    void Store(double* p) const { p[0] = v[0], p[1] = v[1]; }

    friend Double2 operator+(Double2 a, Double2 b) { return {{a.v[0] + b.v[0], a.v[1] + b.v[1]}}; }
    friend Double2 operator-(Double2 a, Double2 b) { return {{a.v[0] - b.v[0], a.v[1] - b.v[1]}}; }
    friend Double2 operator*(Double2 a, Double2 b) { return {{a.v[0] * b.v[0], a.v[1] * b.v[1]}}; }
    Double2 RoundedToFloat() const {
        return {{static_cast<double>(static_cast<float>(v[0])), static_cast<double>(static_cast<float>(v[1]))}};
    }
};

inline void StoreAsDoubles(Float4 x, double* out) {
    for (int i = 0; i < 4; ++i) out[i] = x.v[i];
}

inline void RoundToInt16(const double* in, int16_t* out, int count) {
    for (int i = 0; i < count; ++i) {
        const double clipped = in[i] < -32768.0 ? -32768.0 : in[i] > 32767.0 ? 32767.0 : in[i];
        out[i] = static_cast<int16_t>(std::nearbyint(clipped));
    }
}

inline void InterleavePcm16(const int16_t* first, const int16_t* second, uint8_t* out) {
    for (int i = 0; i < 32; ++i) {
        const uint16_t a = static_cast<uint16_t>(first[i]);
        const uint16_t b = static_cast<uint16_t>(second[i]);
        out[4 * i] = static_cast<uint8_t>(a & 0xFF);
        out[4 * i + 1] = static_cast<uint8_t>(a >> 8);
        out[4 * i + 2] = static_cast<uint8_t>(b & 0xFF);
        out[4 * i + 3] = static_cast<uint8_t>(b >> 8);
    }
}

#endif

}  // namespace plyvane::simd
