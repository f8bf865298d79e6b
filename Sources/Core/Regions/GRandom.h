#pragma once
// GRandom: a small seeded generator of pseudo-random numbers for the effects that need noise. The same seed
// always gives the same sequence.

#include <cstdint>

class GRandom {
public:
    explicit GRandom(long seed = 1) : m_state(static_cast<std::int32_t>(seed)) {}

    // The next state, 0 .. 2147483647.
    long lrandom();
    // [0, 1): the next state over 2^31.
    double random() { return static_cast<double>(lrandom()) * 4.656612873077393e-10; }
    // [-a, a).
    double random(double a) { return (2 * random() - 1) * a; }
    // [lo, hi).
    double random(double lo, double hi) { return random() * (hi - lo) + lo; }
    // Normally distributed, mean 0 and deviation 1 (Box-Muller, one value per call); scaled by s.
    double gauss();
    double gauss(double s) { return gauss() * s; }

private:
    std::int32_t m_state;
};
