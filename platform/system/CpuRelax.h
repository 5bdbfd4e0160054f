// A hint to the processor inside a short polling loop: the other hardware
// thread of the core runs meanwhile, and the loop draws less power.
#pragma once

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}
