#include "importer/Matching.h"

#include "exporter/ExportScene.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace importer::matching {

using shipfile::Vec3;

std::string baseName(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot < 4)
        return name;
    if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return name;
    return name.substr(0, dot);
}

bool isBoxName(const std::string& name)
{
    const std::string base = baseName(name);
    const std::size_t at = base.rfind(exporter::BoxNodeName);
    if (at == std::string::npos)
        return false;
    const std::string number = base.substr(at + exporter::BoxNodeName.size());
    return !number.empty() && std::all_of(number.begin(), number.end(),
                                          [](char c) { return c >= '0' && c <= '9'; });
}

std::string fromUtf8(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
            out.push_back(code < 0x100 ? static_cast<char>(code) : '?');
        } else {
            out.push_back('?');
            while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80)
                ++i;
        }
    }
    return out;
}

PositionKey keyOf(const Vec3f& p)
{
    PositionKey k{};
    for (std::size_t i = 0; i < 3; ++i)
        k[i] = p[i] == 0.0f ? 0u : std::bit_cast<std::uint32_t>(p[i]);
    return k;
}
TriangleKey keyOf(const std::array<Vec3f, 3>& corners)
{
    TriangleKey k = {keyOf(corners[0]), keyOf(corners[1]), keyOf(corners[2])};
    std::sort(k.begin(), k.end());
    return k;
}

bool samePlace(const Vec3f& a, const Vec3f& b)
{
    for (std::size_t i = 0; i < 3; ++i)
        if (!(std::fabs(a[i] - b[i]) <= 1e-5f * std::max(1.0f, std::fabs(a[i]))))
            return false;
    return true;
}

bool uvClose(const Uv& a, const Uv& b)
{
    for (std::size_t i = 0; i < 2; ++i)
        if (!(std::fabs(a[i] - b[i]) <= 1e-6f * std::max(1.0f, std::fabs(a[i]))))
            return false;
    return true;
}

Vec3 toShipAxes(const Vec3f& p)
{
    return {-p[0], -p[1], p[2]};
}

Vec3 unitNormal(const Vec3& a, const Vec3& b, const Vec3& c)
{
    const double ex = b.x - a.x, ey = b.y - a.y, ez = b.z - a.z;
    const double fx = c.x - a.x, fy = c.y - a.y, fz = c.z - a.z;
    const double x = ey * fz - ez * fy, y = ez * fx - ex * fz, z = ex * fy - ey * fx;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 1e-20) || !std::isfinite(length))
        return {0, 0, 0};
    return {static_cast<float>(x / length), static_cast<float>(y / length),
            static_cast<float>(z / length)};
}

Rotation rotationOf(const Matrix& m)
{
    std::array<std::array<double, 3>, 3> columns{};
    for (std::size_t c = 0; c < 3; ++c)
        for (std::size_t r = 0; r < 3; ++r)
            columns[c][r] = m[c * 4 + r];
    for (std::size_t j = 0; j < 3; ++j) {
        for (std::size_t k = 0; k < j; ++k) {
            double d = 0;
            for (std::size_t i = 0; i < 3; ++i)
                d += columns[j][i] * columns[k][i];
            for (std::size_t i = 0; i < 3; ++i)
                columns[j][i] -= d * columns[k][i];
        }
        double length = 0;
        for (const double v : columns[j])
            length += v * v;
        length = std::sqrt(length);
        if (!(length > 1e-12))
            return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
        for (double& v : columns[j])
            v /= length;
    }
    Rotation rows{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            rows[r][c] = columns[c][r];
    return rows;
}

Rotation rotationOf(const std::array<float, 4>& q)
{
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
             {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
             {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}}};
}

bool sameRotation(const Rotation& a, const Rotation& b)
{
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            if (std::fabs(a[r][c] - b[r][c]) > 1e-5)
                return false;
    return true;
}

} // namespace importer::matching
