#include "platform/graphics/Geometry.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Transform3D.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace graphics;

namespace {

constexpr float pi = std::numbers::pi_v<float>;

void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
}

void expectNear(const Rect& actual, const Rect& expected) {
    expectNear(actual.origin, expected.origin);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-4f);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-4f);
}

} // namespace

TEST(Rect, EdgesReadNegativeSizesAsStandardized) {
    Rect r(10, 20, -4, 6);
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.midX(), 8);
    EXPECT_EQ(r.maxY(), 26);
    EXPECT_EQ(r.standardized(), Rect(6, 20, 4, 6));
}

TEST(Rect, IntersectionOfDisjointRectanglesIsNullAndUnionIgnoresNull) {
    Rect a(0, 0, 10, 10);
    Rect b(20, 20, 5, 5);
    EXPECT_TRUE(a.intersection(b).isNull());
    EXPECT_TRUE(a.intersection(b).isEmpty());
    EXPECT_FALSE(a.intersects(b));
    EXPECT_EQ(a.intersection(Rect(5, -5, 10, 10)), Rect(5, 0, 5, 5));
    EXPECT_EQ(a.unionWith(b), Rect(0, 0, 25, 25));
    EXPECT_EQ(Rect::null().unionWith(b), b);
    // Touching edges intersect in an empty rectangle, which is not an intersection.
    EXPECT_FALSE(a.intersects(Rect(10, 0, 5, 5)));
}

TEST(Rect, ContainsIsHalfOpen) {
    Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Point{0, 0}));
    EXPECT_FALSE(r.contains(Point{10, 5}));
    EXPECT_TRUE(r.contains(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(r.contains(Rect(5, 5, 6, 1)));
}

TEST(Rect, InsetOffsetAndIntegral) {
    Rect r(0.5f, 0.25f, 10, 4);
    EXPECT_EQ(r.inset(1, 1), Rect(1.5f, 1.25f, 8, 2));
    EXPECT_TRUE(r.inset(6, 0).isNull());
    EXPECT_EQ(r.offset(2, -1), Rect(2.5f, -0.75f, 10, 4));
    EXPECT_EQ(r.integral(), Rect(0, 0, 11, 5));
    EXPECT_EQ(Rect(0, 0, 320, 48).inset(EdgeInsets{4, 4, 4, 44}), Rect(4, 4, 272, 40));
}

TEST(AffineTransform, ConcatAppliesLeftOperandFirst) {
    AffineTransform scaleThenMove =
        AffineTransform::scale(2, 2).concat(AffineTransform::translation(10, 0));
    expectNear(scaleThenMove.apply(Point{1, 1}), {12, 2});
    AffineTransform moveThenScale =
        AffineTransform::translation(10, 0).concat(AffineTransform::scale(2, 2));
    expectNear(moveThenScale.apply(Point{1, 1}), {22, 2});
    // translated() puts the new step first, so it moves in the transform's own units.
    expectNear(AffineTransform::scale(2, 2).translated(10, 0).apply(Point{1, 1}), {22, 2});
}

TEST(AffineTransform, RotationTurnsXTowardY) {
    expectNear(AffineTransform::rotation(pi / 2).apply(Point{1, 0}), {0, 1});
    Size turned = AffineTransform::rotation(pi / 2).translated(50, 50).apply(Size{4, 2});
    EXPECT_NEAR(turned.width, -2, 1e-5f);
    EXPECT_NEAR(turned.height, 4, 1e-5f);
}

TEST(AffineTransform, InverseUndoesAndSingularHasNone) {
    AffineTransform t = AffineTransform::rotation(0.3f).scaled(2, 3).translated(5, -7);
    auto inverse = t.inverted();
    ASSERT_TRUE(inverse);
    expectNear(inverse->apply(t.apply(Point{3, 4})), {3, 4});
    expectNear(t.concat(*inverse).apply(Point{-8, 2}), {-8, 2});
    EXPECT_FALSE(AffineTransform::scale(0, 1).inverted());
}

TEST(AffineTransform, RectMapsToBoundingBoxOfCorners) {
    expectNear(AffineTransform::rotation(pi / 4).apply(Rect(0, 0, 2, 2)),
               Rect(-std::numbers::sqrt2_v<float>, 0, 2 * std::numbers::sqrt2_v<float>,
                    2 * std::numbers::sqrt2_v<float>));
    expectNear(AffineTransform::scale(-1, 1).apply(Rect(1, 1, 2, 2)), Rect(-3, 1, 2, 2));
}

TEST(Transform3D, ZRotationMatchesAffineRotation) {
    Transform3D rotation = Transform3D::rotation(0.7f, 0, 0, 1);
    EXPECT_TRUE(rotation.isAffine());
    AffineTransform flat = rotation.affine();
    AffineTransform expected = AffineTransform::rotation(0.7f);
    EXPECT_NEAR(flat.a, expected.a, 1e-6f);
    EXPECT_NEAR(flat.b, expected.b, 1e-6f);
    EXPECT_NEAR(flat.c, expected.c, 1e-6f);
    EXPECT_NEAR(flat.d, expected.d, 1e-6f);
}

TEST(Transform3D, ConcatOrderAndAffinePart) {
    Transform3D t = Transform3D::scale(2, 2, 1).concat(Transform3D::translation(10, 5, 0));
    EXPECT_TRUE(t.isAffine());
    expectNear(t.affine().apply(Point{1, 1}), {12, 7});
    EXPECT_EQ(Transform3D::fromAffine(t.affine()), t);
    // The pulse animation's near-zero scale keeps z alone and stays affine.
    EXPECT_TRUE(Transform3D::scale(0.001f, 0.001f, 1).isAffine());
    EXPECT_EQ(Transform3D::rotation(1, 0, 0, 0), Transform3D::identity());
}

TEST(Transform3D, PerspectiveAndOutOfPlaneRotationAreNotAffine) {
    Transform3D perspective;
    perspective.m34 = -1.0f / 500;
    EXPECT_FALSE(perspective.isAffine());
    EXPECT_FALSE(Transform3D::rotation(pi / 4, 0, 1, 0).isAffine());
    // Half a turn about y mirrors x.
    expectNear(Transform3D::rotation(pi, 0, 1, 0).project(Point{3, 2}), {-3, 2});
    // With perspective, the edge turned toward the viewer (z > 0) looks further out.
    Transform3D tilted = Transform3D::rotation(-pi / 6, 0, 1, 0);
    EXPECT_GT(tilted.concat(perspective).project(Point{100, 0}).x, tilted.project(Point{100, 0}).x);
}
