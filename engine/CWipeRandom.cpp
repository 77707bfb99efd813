#include "CWipeRandom.h"

#include <windows.h>

#include <cstring>

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

void CWipeRandom::Jump()
{
    static const uint64_t jump[] = {0x180EC6D33CFD0ABAull, 0xD5A61266F0C9392Cull, 0xA9582618E03FC9AAull,
                                    0x39ABDC4529B1661Cull};
    uint64_t s[4] = {};
    for (uint64_t word : jump)
        for (int b = 0; b < 64; ++b) {
            if (word & (1ull << b))
                for (int k = 0; k < 4; ++k)
                    s[k] ^= State[k];
            Next();
        }
    for (int k = 0; k < 4; ++k)
        State[k] = s[k];
}

CWipeRandom CWipeRandom::Split()
{
    CWipeRandom other(*this);
    Jump();
    return other;
}

void CWipeRandom::Fill(unsigned char* out, size_t count)
{
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Full, high = 0x8080808080808080ull, three = 0x0303030303030303ull,
                   ones = 0x0101010101010101ull;
    size_t i = 0;
    while (i < count) {
        uint64_t w = Next();
        // Drawing bytes below 253 and adding 1 keeps every value 1..253 equally likely. A
        // byte is 253 or more when its top bit is set and its low seven bits reach 125; a word
        // without such a byte (nine words in ten) goes out whole, each byte one higher.
        if (count - i >= 8 && !(((w & low7) + three) & w & high)) {
            w += ones;
            std::memcpy(out + i, &w, 8);
            i += 8;
            continue;
        }
        for (int k = 0; k < 8 && i < count; ++k, w >>= 8) {
            unsigned b = static_cast<unsigned>(w & 0xFF);
            if (b < 253)
                out[i++] = static_cast<unsigned char>(b + 1);
        }
    }
}

CWipeBlocks::CWipeBlocks(CWipeRandom& random, size_t blockSize, unsigned long long total)
    : BlockSize(blockSize), Left(total), ToMake(total)
{
    for (long long& r : Ready)
        r = -1;
    if (total <= blockSize) {
        size_t first = static_cast<size_t>(total);
        Buffer[0].resize(first ? first : 1);
        random.Fill(Buffer[0].data(), first);
        Length[0] = first;
        Ready[0] = 0;
        Begun = 1;
        ToMake = 0;
        return;
    }
    unsigned long long blocks = (total + blockSize - 1) / blockSize;
    int makers = blocks < static_cast<unsigned long long>(Makers) ? static_cast<int>(blocks) : Makers;
    for (unsigned long long i = 0; i < blocks && i < static_cast<unsigned long long>(Slots); ++i)
        Buffer[i].resize(blockSize);
    Maker.reserve(makers);
    try {
        for (int i = 0; i < makers; ++i) {
            CWipeRandom own = random.Split();
            Maker.push_back(StartThread([this, own] { Produce(own); }));
        }
    } catch (const std::exception&) {
        // The makers started make every block; with none, Next makes them.
    }
    if (Maker.empty())
        Own.reset(new CWipeRandom(random.Split()));
}

static std::thread StartSystemThread(std::function<void()> body)
{
    return std::thread(std::move(body));
}

std::thread (*CWipeBlocks::StartThread)(std::function<void()>) = StartSystemThread;

CWipeBlocks::~CWipeBlocks()
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Stop = true;
    }
    Changed.notify_all();
    for (std::thread& t : Maker)
        t.join();
}

void CWipeBlocks::Produce(CWipeRandom random)
{
    for (;;) {
        long long number;
        int slot;
        size_t n;
        {
            std::unique_lock<std::mutex> guard(Lock);
            // A slot is free once the block made Slots before it has been taken and
            // replaced by a later call to Next (the caller may still be writing the last one).
            Changed.wait(guard, [&] { return Stop || ToMake == 0 || Begun - Taken < Slots - 1; });
            if (Stop || ToMake == 0)
                return;
            number = Begun++;
            slot = static_cast<int>(number % Slots);
            n = static_cast<size_t>(ToMake < BlockSize ? ToMake : BlockSize);
            ToMake -= n;
        }
        random.Fill(Buffer[slot].data(), n);
        {
            std::lock_guard<std::mutex> guard(Lock);
            Length[slot] = n;
            Ready[slot] = number;
        }
        Changed.notify_all();
    }
}

const unsigned char* CWipeBlocks::Next(size_t& length)
{
    std::unique_lock<std::mutex> guard(Lock);
    if (Left == 0) {
        length = 0;
        return nullptr;
    }
    int slot = static_cast<int>(Taken % Slots);
    if (Own && Ready[slot] != Taken) {
        size_t n = static_cast<size_t>(ToMake < BlockSize ? ToMake : BlockSize);
        ToMake -= n;
        Own->Fill(Buffer[slot].data(), n);
        Length[slot] = n;
        Ready[slot] = Begun++;
    }
    Changed.wait(guard, [&] { return Ready[slot] == Taken; });
    ++Taken;
    length = Length[slot];
    Left -= length;
    guard.unlock();
    Changed.notify_all();
    return Buffer[slot].data();
}
