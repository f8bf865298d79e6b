#include "Views/GViewZoom.h"

#include "win/MulDiv.h"

#include <cstdlib>
#include <numeric>

void GViewZoom::setZoom(int numerator, int denominator) {
    const int divisor = std::gcd(std::abs(numerator), std::abs(denominator));
    m_numerator = divisor != 0 ? numerator / divisor : numerator;
    m_denominator = divisor != 0 ? denominator / divisor : denominator;
}

int GViewZoom::apply(int x) const {
    return MulDiv(x, m_numerator, m_denominator);
}

int GViewZoom::applyInversed(int x) const {
    return MulDiv(x, m_denominator, m_numerator);
}

void GViewZoom::setRatio(double ratio) {
    setZoom(static_cast<int>(ratio * 65536), 65536);
}
