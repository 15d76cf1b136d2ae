#include "viewer/Matrix4.h"

#include <array>
#include <gtest/gtest.h>

namespace viewer {
namespace {

std::array<double, 16> elements(const Matrix4& m)
{
    std::array<double, 16> out{};
    m.store(out.data());
    return out;
}

void expectColumn(const Matrix4& m, int column, std::array<double, 4> expected)
{
    for (int row = 0; row < 4; ++row)
        EXPECT_NEAR(m.at(row, column), expected[static_cast<std::size_t>(row)], 1e-12)
            << "row " << row << " of column " << column;
}

Matrix4 counting()
{
    std::array<double, 16> values{};
    for (std::size_t i = 0; i < 16; ++i)
        values[i] = static_cast<double>(i);
    Matrix4 m;
    m.load(values.data());
    return m;
}

TEST(Matrix4, StartsAsIdentityAndResetsToIt)
{
    Matrix4 m = counting();
    m.setIdentity();
    const std::array<double, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(elements(m), identity);
    EXPECT_EQ(elements(Matrix4()), identity);
}

TEST(Matrix4, RotationsTurnTheColumnsRightHanded)
{
    // A quarter turn about each axis: where the x, y and z columns go.
    const struct
    {
        void (Matrix4::*turn)(double);
        std::array<double, 4> x, y, z;
    } turns[] = {{&Matrix4::rotateX, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}},
                 {&Matrix4::rotateY, {0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}},
                 {&Matrix4::rotateZ, {0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}}};
    for (const auto& t : turns) {
        Matrix4 m;
        (m.*t.turn)(90);
        expectColumn(m, 0, t.x);
        expectColumn(m, 1, t.y);
        expectColumn(m, 2, t.z);
    }
}

TEST(Matrix4, RotationsMultiplyOnTheRight)
{
    // Turning about x first and then about the turned y is the product Rx * Ry.
    Matrix4 m;
    m.rotateX(90);
    m.rotateY(90);
    // Ry maps x to -z; Rx then maps -z to y.
    expectColumn(m, 0, {0, 1, 0, 0});
    // Ry maps z to x, which Rx leaves alone.
    expectColumn(m, 2, {1, 0, 0, 0});
}

TEST(Matrix4, RotationAndItsInverseRestoreTheMatrixAndKeepTheTranslation)
{
    Matrix4 m = counting();
    const auto before = elements(m);
    m.rotateY(37.5);
    m.rotateY(-37.5);
    const auto after = elements(m);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(after[i], before[i], 1e-9) << "element " << i;

    for (const auto turn : {&Matrix4::rotateX, &Matrix4::rotateY, &Matrix4::rotateZ}) {
        Matrix4 t = counting();
        (t.*turn)(123.0);
        for (std::size_t i = 12; i < 16; ++i)
            EXPECT_EQ(elements(t)[i], static_cast<double>(i));
    }
}

TEST(Matrix4, StoreTransposedSwapsRowsAndColumns)
{
    std::array<double, 16> out{};
    counting().storeTransposed(out.data());
    const std::array<double, 16> expected = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
    EXPECT_EQ(out, expected);
    EXPECT_EQ(counting().data()[13], 13.0);
}

TEST(Matrix4, TranslateAndScaleActInTheMatrixsOwnFrame)
{
    Matrix4 m;
    m.translate(10, 20, 30);
    m.scale(-1, 2, 1);
    m.translate(1, 1, 1);
    // The second move is mirrored and doubled by the scale before it.
    expectColumn(m, 3, {9, 22, 31, 1});
    expectColumn(m, 0, {-1, 0, 0, 0});
    expectColumn(m, 1, {0, 2, 0, 0});
}

} // namespace
} // namespace viewer
