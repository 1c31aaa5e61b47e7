// Unrolls the next loop completely: the short loops of constant count in the
// transforms and the windowing, which -O2 leaves rolled.
#pragma once

#if defined(__clang__)
#define PLYVANE_UNROLL _Pragma("unroll")
#elif defined(__GNUC__)
#define PLYVANE_UNROLL _Pragma("GCC unroll 32")
#else
#define PLYVANE_UNROLL
#endif
