#include "win/MulDiv.h"

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    long long numerator = a;
    long long divisor = c;
    if (divisor < 0) {
        numerator = -numerator;
        divisor = -divisor;
    }
    const long long product = numerator * b;
    const bool sameSign = (numerator >= 0) == (b >= 0);
    const long long result = (sameSign ? product + divisor / 2 : product - divisor / 2) / divisor;
    return result > 2147483647LL || result < -2147483647LL ? -1 : static_cast<int>(result);
}
