#include "importer/Model.h"

#include <cmath>

namespace importer {

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix out{};
    for (std::size_t col = 0; col < 4; ++col)
        for (std::size_t row = 0; row < 4; ++row) {
            double sum = 0;
            for (std::size_t k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    return out;
}

Matrix worldTransform(const Model& model, std::size_t node)
{
    Matrix m = model.nodes[node].local;
    for (int p = model.nodes[node].parent; p >= 0; p = model.nodes[static_cast<std::size_t>(p)].parent)
        m = multiply(model.nodes[static_cast<std::size_t>(p)].local, m);
    return m;
}

// Affine transforms only: the last row is taken to be 0 0 0 1.
Matrix inverse(const Matrix& m)
{
    const auto at = [&m](std::size_t row, std::size_t col) { return m[col * 4 + row]; };
    const double c00 = at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1);
    const double c01 = at(1, 2) * at(2, 0) - at(1, 0) * at(2, 2);
    const double c02 = at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0);
    const double det = at(0, 0) * c00 + at(0, 1) * c01 + at(0, 2) * c02;
    if (!(std::fabs(det) > 1e-300))
        return Identity;
    const double inv[3][3] = {
        {c00 / det, (at(0, 2) * at(2, 1) - at(0, 1) * at(2, 2)) / det,
         (at(0, 1) * at(1, 2) - at(0, 2) * at(1, 1)) / det},
        {c01 / det, (at(0, 0) * at(2, 2) - at(0, 2) * at(2, 0)) / det,
         (at(0, 2) * at(1, 0) - at(0, 0) * at(1, 2)) / det},
        {c02 / det, (at(0, 1) * at(2, 0) - at(0, 0) * at(2, 1)) / det,
         (at(0, 0) * at(1, 1) - at(0, 1) * at(1, 0)) / det}};
    Matrix out = Identity;
    for (std::size_t r = 0; r < 3; ++r) {
        double t = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            out[c * 4 + r] = inv[r][c];
            t -= inv[r][c] * at(c, 3);
        }
        out[12 + r] = t;
    }
    return out;
}

Vec3f transformPoint(const Matrix& m, const Vec3f& p)
{
    Vec3f out{};
    for (std::size_t r = 0; r < 3; ++r)
        out[r] = static_cast<float>(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r]);
    return out;
}

bool isPureTranslation(const Matrix& m)
{
    for (std::size_t c = 0; c < 3; ++c)
        for (std::size_t r = 0; r < 3; ++r)
            if (std::fabs(m[c * 4 + r] - (r == c ? 1.0 : 0.0)) > 1e-6)
                return false;
    return true;
}

} // namespace importer
