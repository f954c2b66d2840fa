#pragma once

#include <cstdint>

// The game's one pseudo-random generator: a 32-bit linear congruential generator.
//   seed := seed * 134775813 + 1 (mod 2^32)
// A draw below n is the high 32 bits of the 64-bit product of the new seed and n;
// a real draw is the new seed * 2^-32, in [0, 1).
// The deal, the untidy deck and the fireworks all draw from the same sequence, so a
// seeded run is reproducible from start to end.
class TRandom {
public:
    explicit TRandom(uint32_t seed = 0) : Seed(seed) {}

    uint32_t Seed;

    // Advances the generator one step and returns the new seed.
    uint32_t Next() {
        Seed = Seed * 134775813u + 1u;
        return Seed;
    }
    // A random integer in 0..n-1 (0 when n <= 0).
    int32_t RandomInt(int32_t n) {
        const uint64_t product = uint64_t(Next()) * uint64_t(uint32_t(n));
        return n <= 0 ? 0 : int32_t(product >> 32);
    }
    // A random real in [0, 1).
    double RandomReal() { return double(Next()) * (1.0 / 4294967296.0); }
};

// The process-wide generator every part of the game draws from.
TRandom& GameRandom();
