#pragma once

#include <array>
#include <cstddef>

namespace viewer {

/// A 4x4 matrix of doubles in OpenGL's column order: elements 0-3 are column 0, 12-15 the
/// translation column. Every operation multiplies on the right, as OpenGL's own matrix calls
/// do, so successive rotations turn about the matrix's already rotated axes.
class Matrix4
{
public:
    Matrix4();

    void setIdentity();
    /// Rotations by an angle in degrees; they change columns 0-2 only.
    void rotateX(double degrees);
    void rotateY(double degrees);
    void rotateZ(double degrees);
    /// M <- M * T(x, y, z): changes the translation column only.
    void translate(double x, double y, double z);
    /// M <- M * S(x, y, z).
    void scale(double x, double y, double z);
    /// M <- M * other.
    void multiply(const Matrix4& other);

    void load(const double* source);
    void store(double* target) const;
    /// Copies out the transpose: row-major values become OpenGL's column order and back.
    void storeTransposed(double* target) const;
    /// The 16 elements, as glLoadMatrixd and glMultMatrixd take them.
    const double* data() const { return m_elements.data(); }

    /// The element in `row` and `column`, both 0..3.
    double at(int row, int column) const
    {
        return m_elements[static_cast<std::size_t>(column * 4 + row)];
    }

private:
    std::array<double, 16> m_elements;
};

} // namespace viewer
