#include <gtest/gtest.h>

#include <array>

#include "core/layout/anchors.h"
#include "core/layout/form_layout.h"
#include "core/layout/scale.h"

namespace {

using base::RectPx;

// Rectangles as the design writes them: left, top, width, height.
constexpr RectPx Ltwh(int left, int top, int width, int height) {
    return layout::DesignRect(left, top, width, height);
}

struct ValueCase {
    int value, newDpi, oldDpi, expected;
};

TEST(LayoutScale, RoundsHalvesAwayFromZero) {
    const std::array cases{
        ValueCase{1177, 96, 120, 942},   ValueCase{714, 96, 120, 571},
        ValueCase{13, 96, 120, 10},      ValueCase{1177, 144, 120, 1412},
        ValueCase{714, 144, 120, 857},   ValueCase{13, 144, 120, 16},
        ValueCase{1177, 192, 120, 1883}, ValueCase{714, 192, 120, 1142},
        ValueCase{13, 192, 120, 21},     ValueCase{5, 96, 120, 4},  // 4.0
        ValueCase{25, 132, 120, 28},                                // 27.5 -> 28
        ValueCase{-25, 132, 120, -28},                              // -27.5 -> -28
        ValueCase{-6, 96, 120, -5},                                 // -4.8
        ValueCase{1, 180, 120, 2},                                  // 1.5 -> 2
        ValueCase{-1, 180, 120, -2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layout::ScaleValue(c.value, c.newDpi, c.oldDpi), c.expected)
            << c.value << " at " << c.newDpi << "/" << c.oldDpi;
    }
}

TEST(LayoutScale, ScalesEdgesSoTouchingControlsStayTouching) {
    // Two controls sharing an edge keep sharing it, whatever the rounding of the sizes.
    const RectPx left = Ltwh(5, 68, 97, 52);
    const RectPx right = Ltwh(102, 68, 98, 52);
    for (int dpi : {72, 96, 110, 144, 168, 192, 240}) {
        const RectPx l = layout::ScaleRect(left, dpi, 120);
        const RectPx r = layout::ScaleRect(right, dpi, 120);
        EXPECT_EQ(l.Right, r.Left) << dpi;
        EXPECT_EQ(l.Top, r.Top) << dpi;
    }
    // The size is the difference of the rounded edges, not the rounded size:
    // 3 .. 100 becomes 2.4 .. 80 -> 2 .. 80, so 97 wide becomes 78 (77.6 rounded alone).
    EXPECT_EQ(layout::ScaleRect(Ltwh(-6, 216, 1183, 501), 96, 120), Ltwh(-5, 173, 947, 401));
    EXPECT_EQ(layout::ScaleRect(Ltwh(3, 0, 97, 10), 96, 120), Ltwh(2, 0, 78, 8));
}

TEST(LayoutScale, DensitiesBelowThirtyOrUnchangedAreIgnored) {
    EXPECT_FALSE(layout::ShouldRescale(120, 120));
    EXPECT_FALSE(layout::ShouldRescale(29, 120));
    EXPECT_FALSE(layout::ShouldRescale(0, 120));
    EXPECT_TRUE(layout::ShouldRescale(30, 120));
    EXPECT_TRUE(layout::ShouldRescale(96, 120));
}

TEST(LayoutAnchors, StretchMoveOrStay) {
    const base::SizePx design{1177, 714};
    const base::SizePx wider{1377, 714};
    const base::SizePx taller{1177, 914};
    const RectPx r = Ltwh(-6, 216, 1183, 501);
    const layout::Anchors all{true, true, true, true};
    const layout::Anchors ltr{true, true, true, false};
    const layout::Anchors lt{};
    const layout::Anchors rightOnly{false, true, true, false};

    EXPECT_EQ(layout::AnchoredRect(r, design, wider, all), Ltwh(-6, 216, 1383, 501));
    EXPECT_EQ(layout::AnchoredRect(r, design, taller, all), Ltwh(-6, 216, 1183, 701));
    EXPECT_EQ(layout::AnchoredRect(r, design, taller, ltr), r);
    EXPECT_EQ(layout::AnchoredRect(r, design, wider, lt), r);
    EXPECT_EQ(layout::AnchoredRect(r, design, wider, rightOnly), Ltwh(194, 216, 1183, 501));
}

TEST(LayoutAnchors, MinimumHeightHoldsWhenTheParentShrinks) {
    const RectPx panel2 = Ltwh(-6, 216, 1183, 501);
    const RectPx shrunk = layout::AnchoredRect(panel2, {1177, 714}, {600, 200},
                                               {true, true, true, true}, {.MinHeightPx = 50});
    EXPECT_EQ(shrunk.Height(), 50);
    EXPECT_EQ(shrunk.Width(), 1183 - 577);
}

TEST(FormLayout, ParentsComeBeforeChildrenAndNamesAreUnique) {
    const auto controls = layout::MainWindowControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        bool parentSeen = controls[i].Parent == layout::MainWindowDesc().Name;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(controls[j].Name, controls[i].Name);
            parentSeen = parentSeen || controls[j].Name == controls[i].Parent;
        }
        EXPECT_TRUE(parentSeen) << controls[i].Name;
    }
}

TEST(FormLayout, TabOrdersOfOneParentAreDistinct) {
    const auto controls = layout::MainWindowControls();
    for (const auto& a : controls) {
        for (const auto& b : controls) {
            if (&a != &b && a.Parent == b.Parent && a.TabOrder >= 0) {
                EXPECT_NE(a.TabOrder, b.TabOrder) << a.Name << " / " << b.Name;
            }
        }
    }
}

}  // namespace
