#include "viewer/Matrix4.h"

#include <cmath>

namespace viewer {

namespace {
constexpr double RadiansPerDegree = 0.017453292519943295;

using Column = std::array<double, 4>;

Column column(const double* m, int index)
{
    return {m[index * 4], m[index * 4 + 1], m[index * 4 + 2], m[index * 4 + 3]};
}

// Writes p * a + q * b into column `index` of m.
void combine(double* m, int index, double p, const Column& a, double q, const Column& b)
{
    for (int i = 0; i < 4; ++i)
        m[index * 4 + i] = p * a[static_cast<std::size_t>(i)] + q * b[static_cast<std::size_t>(i)];
}
} // namespace

Matrix4::Matrix4()
{
    setIdentity();
}

void Matrix4::setIdentity()
{
    m_elements.fill(0.0);
    m_elements[0] = m_elements[5] = m_elements[10] = m_elements[15] = 1.0;
}

// Each rotation builds its new columns from the old ones in a copy, then loads the copy.
void Matrix4::rotateX(double degrees)
{
    const double r = degrees * RadiansPerDegree;
    const double s = std::sin(r), c = std::cos(r);
    double m[16];
    store(m);
    const Column col1 = column(m, 1), col2 = column(m, 2);
    combine(m, 1, c, col1, s, col2);
    combine(m, 2, c, col2, -s, col1);
    load(m);
}

void Matrix4::rotateY(double degrees)
{
    const double r = degrees * RadiansPerDegree;
    const double s = std::sin(r), c = std::cos(r);
    double m[16];
    store(m);
    const Column col0 = column(m, 0), col2 = column(m, 2);
    combine(m, 0, c, col0, -s, col2);
    combine(m, 2, s, col0, c, col2);
    load(m);
}

void Matrix4::rotateZ(double degrees)
{
    const double r = degrees * RadiansPerDegree;
    const double s = std::sin(r), c = std::cos(r);
    double m[16];
    store(m);
    const Column col0 = column(m, 0), col1 = column(m, 1);
    combine(m, 0, c, col0, s, col1);
    combine(m, 1, c, col1, -s, col0);
    load(m);
}

void Matrix4::translate(double x, double y, double z)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_elements[12 + i] += m_elements[i] * x + m_elements[4 + i] * y + m_elements[8 + i] * z;
}

void Matrix4::scale(double x, double y, double z)
{
    for (std::size_t i = 0; i < 4; ++i) {
        m_elements[i] *= x;
        m_elements[4 + i] *= y;
        m_elements[8 + i] *= z;
    }
}

void Matrix4::multiply(const Matrix4& other)
{
    std::array<double, 16> product{};
    for (std::size_t col = 0; col < 4; ++col)
        for (std::size_t row = 0; row < 4; ++row)
            for (std::size_t k = 0; k < 4; ++k)
                product[col * 4 + row] += m_elements[k * 4 + row] * other.m_elements[col * 4 + k];
    m_elements = product;
}

void Matrix4::load(const double* source)
{
    for (std::size_t i = 0; i < 16; ++i)
        m_elements[i] = source[i];
}

void Matrix4::store(double* target) const
{
    for (std::size_t i = 0; i < 16; ++i)
        target[i] = m_elements[i];
}

void Matrix4::storeTransposed(double* target) const
{
    for (std::size_t row = 0; row < 4; ++row)
        for (std::size_t col = 0; col < 4; ++col)
            target[row * 4 + col] = m_elements[col * 4 + row];
}

} // namespace viewer
