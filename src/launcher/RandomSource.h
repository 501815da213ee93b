#pragma once

#include <cstdint>
#include <random>

namespace tramble {

// Where the strip's random colours come from; tests script it.
class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // A uniform number in 0..n−1; 0 when n < 1.
    virtual int Below(int n) = 0;
};

// The program's generator, seeded once at start.
class TSeededRandom final : public TRandomSource {
public:
    explicit TSeededRandom(uint32_t seed) : m_engine(seed) {}
    int Below(int n) override;

private:
    std::mt19937 m_engine;
};

} // namespace tramble
