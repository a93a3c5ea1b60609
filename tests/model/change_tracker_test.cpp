// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/Graphics.h"
#include "model/ChangeTracker.h"
#include "model/Document.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {
constexpr Rect whole{0, 0, 40, 30};

// A bitmap and its tracker, looked at once so that the start counts as seen.
struct Tracked {
    Bitmap image{40, 30};
    ChangeTracker changes;
    uint64_t seen = changes.revision(image);
};
} // namespace

TEST(ContentKey, ChangesWithEveryWayOfWritingAndNotWithReading) {
    Bitmap b(8, 8);
    const Bitmap& read = b;
    uint64_t key = b.contentKey();
    auto moved = [&] {
        const bool m = b.contentKey() != key;
        key = b.contentKey();
        return m;
    };
    (void)read.pixel(3, 3);
    (void)read.row(2);
    EXPECT_FALSE(moved()) << "reading through a const bitmap";
    b.setPixel(1, 1, colors::black);
    EXPECT_TRUE(moved()) << "setPixel";
    b.row(4)[0] = 5;
    EXPECT_TRUE(moved()) << "a row";
    b.fill(colors::white);
    EXPECT_TRUE(moved()) << "fill";
    { Graphics g(b); }
    EXPECT_TRUE(moved()) << "a drawing context";
    b = Bitmap(8, 8);
    EXPECT_TRUE(moved()) << "another bitmap assigned";
}

TEST(ChangeTracker, ReportedRectanglesAddUpSinceARevision) {
    Tracked t;
    EXPECT_TRUE(t.changes.changedSince(t.image, t.seen).empty());
    {
        ImageEdit edit(t.image, t.changes);
        t.image.setPixel(3, 4, colors::black);
        edit.touched({3, 4, 1, 1});
    }
    const uint64_t afterFirst = t.changes.revision(t.image);
    {
        ImageEdit edit(t.image, t.changes);
        t.image.setPixel(10, 20, colors::black);
        edit.touched({10, 20, 2, 2});
    }
    EXPECT_EQ(t.changes.changedSince(t.image, t.seen), (Rect{3, 4, 9, 18}));
    EXPECT_EQ(t.changes.changedSince(t.image, afterFirst), (Rect{10, 20, 2, 2}));
    EXPECT_TRUE(t.changes.changedSince(t.image, t.changes.revision(t.image)).empty());
}

TEST(ChangeTracker, WritesWithoutAReportCountAsTheWholeImage) {
    Tracked t;
    t.image.setPixel(5, 5, colors::black); // nobody reports it
    EXPECT_EQ(t.changes.changedSince(t.image, t.seen), whole);

    // Written before an edit that reports a small rectangle: still the whole image.
    Tracked u;
    u.image.setPixel(30, 25, colors::black);
    {
        ImageEdit edit(u.image, u.changes);
        u.image.setPixel(1, 1, colors::black);
        edit.touched({1, 1, 1, 1});
    }
    EXPECT_EQ(u.changes.changedSince(u.image, u.seen), whole);

    // An edit told no rectangle reports nothing, so what it wrote is the whole image.
    Tracked v;
    {
        ImageEdit edit(v.image, v.changes);
        v.image.setPixel(2, 2, colors::black);
    }
    EXPECT_EQ(v.changes.changedSince(v.image, v.seen), whole);

    // A new image of another size in the same place: the whole new image.
    Tracked w;
    w.image = Bitmap(50, 60);
    EXPECT_EQ(w.changes.changedSince(w.image, w.seen), (Rect{0, 0, 50, 60}));
}

TEST(ChangeTracker, AnEmptyReportSaysNothingChangedAndRectanglesStayInTheImage) {
    Tracked t;
    {
        ImageEdit edit(t.image, t.changes);
        (void)t.image.row(0); // writable access that wrote nothing
        edit.touched({});
    }
    EXPECT_TRUE(t.changes.changedSince(t.image, t.seen).empty());
    {
        ImageEdit edit(t.image, t.changes);
        edit.touched({35, -5, 20, 10});
    }
    EXPECT_EQ(t.changes.changedSince(t.image, t.seen), (Rect{35, 0, 5, 5}));
}

TEST(ChangeTracker, ManyChangesAreMergedButNeverLost) {
    Tracked t;
    std::vector<uint64_t> revisions;
    for (int i = 0; i < 100; ++i) {
        revisions.push_back(t.changes.revision(t.image));
        ImageEdit edit(t.image, t.changes);
        edit.touched({i % 40, i % 30, 1, 1});
    }
    // Since any revision, the changes after it are inside the answer.
    for (int from = 0; from < 100; from += 7) {
        const Rect changed = t.changes.changedSince(t.image, revisions[size_t(from)]);
        for (int i = from; i < 100; ++i) {
            const Rect one{i % 40, i % 30, 1, 1};
            EXPECT_EQ(intersect(changed, one), one) << "change " << i << " since " << from;
        }
    }
    // The most recent ones are still told apart.
    EXPECT_EQ(t.changes.changedSince(t.image, revisions[99]), (Rect{99 % 40, 99 % 30, 1, 1}));
}

TEST(LayerEdit, ReportsIntoTheLayersTracker) {
    Layer layer(1, 20, 20);
    const uint64_t seen = layer.changes.revision(layer.image);
    {
        auto edit = layer.edit();
        layer.image.setPixel(7, 8, colors::black);
        edit.touched({7, 8, 1, 1});
    }
    EXPECT_EQ(layer.changes.changedSince(layer.image, seen), (Rect{7, 8, 1, 1}));
}

TEST(RectangleHelpers, UniteIntersectInflate) {
    EXPECT_EQ(unite({0, 0, 2, 2}, {5, 5, 1, 1}), (Rect{0, 0, 6, 6}));
    EXPECT_EQ(unite({}, {5, 5, 1, 1}), (Rect{5, 5, 1, 1}));
    EXPECT_EQ(intersect({0, 0, 4, 4}, {2, 3, 9, 9}), (Rect{2, 3, 2, 1}));
    EXPECT_TRUE(intersect({0, 0, 4, 4}, {4, 0, 2, 2}).empty());
    EXPECT_EQ(inflate({3, 3, 1, 1}, 2), (Rect{1, 1, 5, 5}));
    EXPECT_TRUE(inflate({}, 2).empty());
}
