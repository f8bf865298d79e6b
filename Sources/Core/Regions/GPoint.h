#pragma once
// GPoint: an integer point with arithmetic, laid out as a Win32 POINT (to which it converts both ways).
// Orderings compare x first and y on equal x. Arithmetic saturates at the ends of the coordinate range.

#include "win/Saturated.h"
#include "win/Win32Types.h"

#include <iosfwd>

class ipstream;
class opstream;

class GPoint : public POINT {
public:
    GPoint() : POINT{0, 0} {}
    GPoint(LONG px, LONG py) : POINT{px, py} {}
    GPoint(const POINT& p) : POINT(p) {}

    void set(LONG px, LONG py) {
        x = px;
        y = py;
    }
    operator SIZE() const { return SIZE{x, y}; }

    GPoint operator-() const { return {SaturatedSub(0, x), SaturatedSub(0, y)}; }
    GPoint& operator+=(const POINT& p) {
        x = SaturatedAdd(x, p.x);
        y = SaturatedAdd(y, p.y);
        return *this;
    }
    GPoint& operator-=(const POINT& p) {
        x = SaturatedSub(x, p.x);
        y = SaturatedSub(y, p.y);
        return *this;
    }
    GPoint& operator+=(LONG n) { return *this += POINT{n, n}; }
    GPoint& operator-=(LONG n) { return *this -= POINT{n, n}; }
    // Both coordinates; division truncates toward zero.
    GPoint& operator*=(LONG n) {
        x = SaturatedMul(x, n);
        y = SaturatedMul(y, n);
        return *this;
    }
    GPoint& operator/=(LONG n) {
        x = SaturatedDiv(x, n);
        y = SaturatedDiv(y, n);
        return *this;
    }

    friend GPoint operator+(GPoint a, const POINT& b) { return a += b; }
    friend GPoint operator-(GPoint a, const POINT& b) { return a -= b; }
    friend GPoint operator+(GPoint a, LONG n) { return a += n; }
    friend GPoint operator-(GPoint a, LONG n) { return a -= n; }
    friend GPoint operator*(GPoint a, LONG n) { return a *= n; }
    friend GPoint operator/(GPoint a, LONG n) { return a /= n; }

    friend bool operator==(const GPoint& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const GPoint& a, const POINT& b) { return !(a == b); }
    friend bool operator<(const GPoint& a, const POINT& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }
    friend bool operator>(const GPoint& a, const POINT& b) { return b.x < a.x || (a.x == b.x && b.y < a.y); }
    friend bool operator<=(const GPoint& a, const POINT& b) { return !(a > b); }
    friend bool operator>=(const GPoint& a, const POINT& b) { return !(a < b); }
};

// Text: x, a blank, y.
std::ostream& operator<<(std::ostream& out, const GPoint& point);
// Persistent form: version byte 0, then x and y as double words.
opstream& operator<<(opstream& stream, const GPoint& point);
ipstream& operator>>(ipstream& stream, GPoint& point);
