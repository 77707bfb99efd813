#include "CWipeRandom.h"

#include <windows.h>

// RtlGenRandom: the system's random source, in advapi32 since Windows XP.
extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

static uint64_t SplitMix(uint64_t& x)
{
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

CWipeRandom::CWipeRandom()
{
    uint64_t seed[4] = {};
    if (!SystemFunction036(seed, sizeof seed)) {
        // No system source: mix what differs between calls; still never all zero.
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        seed[0] = static_cast<uint64_t>(t.QuadPart);
        seed[1] = GetTickCount() ^ (static_cast<uint64_t>(GetCurrentThreadId()) << 32);
        seed[2] = reinterpret_cast<uintptr_t>(this);
    }
    uint64_t x = seed[0] ^ seed[1] ^ seed[2] ^ seed[3];
    for (uint64_t& s : State)
        s = SplitMix(x) ^ seed[&s - State];
    if (!(State[0] | State[1] | State[2] | State[3]))
        State[0] = 1;
}

// xoshiro256**
uint64_t CWipeRandom::Next()
{
    auto rotl = [](uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
    uint64_t result = rotl(State[1] * 5, 7) * 9;
    uint64_t t = State[1] << 17;
    State[2] ^= State[0];
    State[3] ^= State[1];
    State[1] ^= State[2];
    State[0] ^= State[3];
    State[2] ^= t;
    State[3] = rotl(State[3], 45);
    return result;
}

void CWipeRandom::Fill(unsigned char* out, size_t count)
{
    size_t i = 0;
    while (i < count) {
        uint64_t w = Next();
        // Drawing bytes below 253 and adding 1 keeps every value 1..253 equally likely.
        for (int k = 0; k < 8 && i < count; ++k, w >>= 8) {
            unsigned b = static_cast<unsigned>(w & 0xFF);
            if (b < 253)
                out[i++] = static_cast<unsigned char>(b + 1);
        }
    }
}
