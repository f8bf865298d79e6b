// The view's zoom, scroll position and coordinate mapping.

#include "Views/GViewGeometry.h"

#include <gtest/gtest.h>

TEST(GViewZoom, KeepsItsFractionReduced) {
    const GViewZoom half(2, 4);
    EXPECT_EQ(half.numerator(), 1);
    EXPECT_EQ(half.denominator(), 2);
    EXPECT_EQ(half.apply(7), 4); // 3.5 rounds away from 0, as MulDiv does
    EXPECT_EQ(half.applyInversed(7), 14);
    GViewZoom zoom;
    zoom.setRatio(1.5);
    EXPECT_EQ(zoom, GViewZoom(3, 2));
    EXPECT_DOUBLE_EQ(zoom.getRatio(), 1.5);
    EXPECT_EQ(GViewZoom(-6, 4), GViewZoom(-3, 2));
}

TEST(GViewGeometry, ASmallSceneIsCentredAndDoesNotScroll) {
    GViewGeometry view;
    view.setClientSize({559, 421});
    view.setSceneSize({100, 51});
    EXPECT_EQ(view.getScrollPosition().x, -229);
    EXPECT_EQ(view.getScrollPosition().y, -185);
    const POINT moved = view.setScrollPosition({40, 40});
    EXPECT_EQ(moved.x, 0);
    EXPECT_EQ(moved.y, 0);
    POINT corner{0, 0};
    view.LPtoDP(corner);
    EXPECT_EQ(corner.x, 229);
    view.DPtoLP(corner);
    EXPECT_EQ(corner.x, 0);
}

TEST(GViewGeometry, ScrollingStaysInsideTheZoomedScene) {
    GViewGeometry view;
    view.setClientSize({500, 400});
    view.setSceneSize({1000, 300});
    view.setZoom(GViewZoom(2, 1)); // 2000 x 600 in the window
    view.setScrollPosition({5000, -20});
    EXPECT_EQ(view.getScrollPosition().x, 1500);
    EXPECT_EQ(view.getScrollPosition().y, 0);
    view.setScrollPosition({300, 150});
    POINT point{10, 10};
    view.DPtoLP(point); // (10 + 300) / 2, (10 + 150) / 2
    EXPECT_EQ(point.x, 155);
    EXPECT_EQ(point.y, 80);
    view.LPtoDP(point);
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 10);
    RECT rect{0, 0, 100, 100};
    view.LPtoDP(rect);
    EXPECT_EQ(rect.left, -300);
    EXPECT_EQ(rect.bottom, 50);
}

TEST(GViewGeometry, FittingTheSceneIntoTheWindow) {
    GViewGeometry view;
    view.setClientSize({800, 500});
    view.setSceneSize({559, 421});
    EXPECT_TRUE(view.fitImage(true));
    EXPECT_FALSE(view.fitImage(true));
    // 559 x 421 fitted into 800 x 500 is 664 x 500 (663.9 rounded): the zoom 664/559, already reduced.
    EXPECT_EQ(view.getZoom(), GViewZoom(664, 559));
    EXPECT_EQ(view.getZoomToFitImage(), GViewZoom(664, 559));
    view.fitImage(false);
    EXPECT_EQ(view.getZoom(), GViewZoom(1, 1));
}
