#include "Regions/GRandom.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::uint32_t HighBit = 0x80000000u;

} // namespace

// A multiplicative step in 32-bit wrap-around arithmetic, folded into the positive range.
long GRandom::lrandom() {
    auto state = static_cast<std::uint32_t>(m_state) * 843314861u;
    if (static_cast<std::int32_t>(state) > 1693666955)
        state += HighBit;
    state += 453816693u;
    if (static_cast<std::int32_t>(state) < 0)
        state += HighBit;
    m_state = static_cast<std::int32_t>(state);
    return m_state;
}

// A state of 0 would take the logarithm of 0; it counts as the smallest state instead, so the result stays finite.
double GRandom::gauss() {
    const double u1 = std::max(random(), 4.656612873077393e-10);
    const double u2 = random();
    return std::cos(2 * std::numbers::pi * u2) * std::sqrt(-2 * std::log(u1));
}
