#pragma once
// How one image is laid over another: type -1 copies; any other type is an alpha-compositing operation of the
// image-processing library (0 = over), optionally on premultiplied colours and divided by the result alpha.

class GIPLCompositionMode {
public:
    using Type = int;

    GIPLCompositionMode() = default;
    explicit GIPLCompositionMode(Type type) : m_type(type) {}

    Type type() const { return m_type; }
    void type(Type type) { m_type = type; }
    bool alphaPremultiplied() const { return m_premultiplied; }
    void alphaPremultiplied(bool flag) { m_premultiplied = flag; }
    bool divideByAlpha() const { return m_divide; }
    void divideByAlpha(bool flag) { m_divide = flag; }

    bool operator==(const GIPLCompositionMode& other) const = default;

private:
    Type m_type = -1;
    bool m_premultiplied = false;
    bool m_divide = false;
};
