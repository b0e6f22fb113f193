#include "gfx/Geometry.h"

#include <cmath>
#include <gtest/gtest.h>

namespace gfx {
namespace {

TEST(Rect, ContainsIncludesTheMinimumEdgesOnly) {
    struct Case {
        Rect rect;
        Point point;
        bool inside;
    };
    const Case cases[] = {
        {{10, 20, 30, 40}, {10, 20}, true},     {{10, 20, 30, 40}, {39.99f, 59.99f}, true},
        {{10, 20, 30, 40}, {40, 30}, false},    {{10, 20, 30, 40}, {20, 60}, false},
        {{10, 20, 30, 40}, {9.99f, 30}, false}, {{10, 20, -10, 40}, {5, 30}, true},
        {{10, 20, -10, 40}, {10, 30}, false},   {{0, 0, 0, 10}, {0, 5}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.rect.contains(c.point), c.inside)
            << c.rect.description() << " " << c.point.x << "," << c.point.y;
}

TEST(Rect, IntersectionAndInsets) {
    Rect a{0, 0, 10, 10};
    EXPECT_TRUE(a.intersects({9, 9, 5, 5}));
    EXPECT_FALSE(a.intersects({10, 0, 5, 5})) << "touching edges share no area";
    EXPECT_EQ(a.intersection({5, -5, 10, 10}), Rect(5, 0, 5, 5));
    EXPECT_TRUE(a.intersection({20, 20, 1, 1}).isEmpty());
    EXPECT_EQ(a.inset(2, 3), Rect(2, 3, 6, 4));
    EXPECT_EQ(a.inset(-1, -1), Rect(-1, -1, 12, 12));
    EXPECT_EQ(a.inset(EdgeInsets{1, 2, 3, 4}), Rect(2, 1, 4, 6));
    EXPECT_EQ(Rect(1, 2, 3, 4).description(), "{{1, 2}, {3, 4}}");
}

TEST(Transform, RotationScaleAndConcatenation) {
    Point p = Transform::rotation(float(M_PI)).apply({3, 4});
    EXPECT_NEAR(p.x, -3, 1e-5);
    EXPECT_NEAR(p.y, -4, 1e-5);

    // Scaling about a centre: move the centre to the origin, scale, move back.
    Transform aboutCentre = Transform::translation(-50, -20)
                                .concat(Transform::scale(0.8f, 0.6f))
                                .concat(Transform::translation(50, 20));
    Point corner = aboutCentre.apply({0, 0});
    EXPECT_NEAR(corner.x, 10, 1e-4);
    EXPECT_NEAR(corner.y, 8, 1e-4);
    Point centre = aboutCentre.apply({50, 20});
    EXPECT_NEAR(centre.x, 50, 1e-4);
    EXPECT_NEAR(centre.y, 20, 1e-4);
    EXPECT_TRUE(Transform::identity().concat(Transform::identity()).isIdentity());
}

} // namespace
} // namespace gfx
