// A small portable random-number generator, so that a seed gives the same histories on every
// compiler and standard library: xoshiro256** (Blackman & Vigna 2018) seeded by splitmix64.
#pragma once

#include <cstdint>

namespace ordevo::refdata {

// One step of splitmix64: advances the state and returns the mixed value.
constexpr std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

class Xoshiro256 {
public:
    explicit constexpr Xoshiro256(std::uint64_t seed) {
        for (auto& word : s_) word = SplitMix64(seed);
    }

    constexpr std::uint64_t Next() {
        const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // Uniform in [0, 1) with 53 random bits.
    constexpr double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Uniform in (0, 1], safe to take the logarithm of.
    constexpr double UniformOpenAtZero() {
        return static_cast<double>((Next() >> 11) + 1) * 0x1.0p-53;
    }

private:
    static constexpr std::uint64_t Rotl(std::uint64_t x, int k) {
        return (x << k) | (x >> (64 - k));
    }
    std::uint64_t s_[4]{};
};

// The seed of one batch of histories: fixed by the base seed, the photon energy and the batch
// number alone, so the work can be shared among any number of threads.
constexpr std::uint64_t BatchSeed(std::uint64_t baseSeed, int energyKeV, int batch) {
    std::uint64_t state = baseSeed;
    state ^= SplitMix64(state) + static_cast<std::uint64_t>(energyKeV);
    state ^= SplitMix64(state) + static_cast<std::uint64_t>(batch);
    return SplitMix64(state);
}

}  // namespace ordevo::refdata
