#pragma once
// GViewZoom: the view's scale as a reduced fraction; window pixels = model pixels x numerator / denominator.

class GViewZoom {
public:
    GViewZoom() = default;
    // Numerator and denominator must not both be 0.
    GViewZoom(int numerator, int denominator) { setZoom(numerator, denominator); }

    void setZoom(int numerator, int denominator);
    int numerator() const { return m_numerator; }
    int denominator() const { return m_denominator; }
    // x x num / den and x x den / num, rounded as MulDiv does.
    int apply(int x) const;
    int applyInversed(int x) const;
    double getRatio() const { return static_cast<double>(m_numerator) / m_denominator; }
    // The ratio to 1/65536.
    void setRatio(double ratio);

    bool operator==(const GViewZoom& other) const = default;

private:
    int m_numerator = 1;
    int m_denominator = 1;
};
