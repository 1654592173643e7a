#pragma once

// What the processor offers the fast paths, asked once; nothing off x86.
namespace cpu {

inline bool HasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool kHas = __builtin_cpu_supports("avx2");
    return kHas;
#else
    return false;
#endif
}

inline bool HasSsse3() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool kHas = __builtin_cpu_supports("ssse3");
    return kHas;
#else
    return false;
#endif
}

// Byte permutes across a whole 512-bit register.
inline bool HasByteLanePermutes() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool kHas =
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return kHas;
#else
    return false;
#endif
}

}  // namespace cpu
