// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ComposeRow.h"
#include "model/Composite.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace vork;

namespace {

// Six layers of random pixels (a third transparent, a third opaque, the rest translucent) at
// random opacities.
struct Picture {
    Document picture;
    LayerCaches caches;
    std::mt19937 rng{7};

    explicit Picture(int width = 37, int height = 29) : picture(width, height, 0) {
        Frame& f = picture.current();
        for (int i = 1; i < 6; ++i)
            f.appendLayer();
        for (int i = 0; i < 6; ++i) {
            scribble(f.layer(i).image, {0, 0, width, height});
            f.layer(i).opacity = i % 3 == 0 ? 255 : int(60 + rng() % 190);
        }
        f.setCurrentLayer(2);
    }
    Frame& frame() { return picture.current(); }
    void scribble(Bitmap& b, Rect r) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                const uint32_t kind = rng() % 3;
                const uint32_t a = kind == 0 ? 0u : kind == 1 ? 255u : rng() % 256;
                b.setPixel(x, y, Color((a << 24) | (rng() & 0x00FFFFFFu)));
            }
    }
    static constexpr Rect whole{0, 0, 37, 29};
    // The caches brought up to date over `needed` must hold there what composing them afresh
    // gives.
    void expectAsComposedAfresh(const char* after, Rect needed = whole,
                                const std::function<void(Layer&)>& then = {}) {
        updateLayerCaches(picture, caches, needed, then);
        Layer below(0, 1, 1), above(0, 1, 1);
        rebuildLayerCaches(picture, below, above);
        EXPECT_TRUE(samePixelsIn(caches.below.image, below.image, needed)) << "below, " << after;
        EXPECT_TRUE(samePixelsIn(caches.above.image, above.image, needed)) << "above, " << after;
        EXPECT_EQ(caches.below.visible, below.visible) << after;
        EXPECT_EQ(caches.above.visible, above.visible) << after;
    }
    static bool samePixelsIn(const Bitmap& a, const Bitmap& b, Rect r) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return false;
        return true;
    }
};

} // namespace

TEST(LayerCacheUpdate, AlwaysHoldsWhatComposingAfreshGives) {
    Picture p;
    p.expectAsComposedAfresh("the first update");
    p.frame().setCurrentLayer(3); // up: a layer is added on top of the lower cache
    p.expectAsComposedAfresh("moving up");
    p.frame().setCurrentLayer(5);
    p.expectAsComposedAfresh("moving up by two");
    p.frame().setCurrentLayer(1);
    p.expectAsComposedAfresh("moving down");
    {
        Layer& l = p.frame().layer(4);
        auto edit = l.edit();
        p.scribble(l.image, {5, 6, 7, 8});
        edit.touched({5, 6, 7, 8});
    }
    p.expectAsComposedAfresh("a reported change above");
    p.scribble(p.frame().layer(0).image, {30, 20, 5, 5});
    p.expectAsComposedAfresh("an unreported change below");
    p.frame().layer(3).opacity = 17;
    p.expectAsComposedAfresh("another opacity");
    p.frame().layer(4).visible = false;
    p.expectAsComposedAfresh("a layer hidden");
    p.frame().insertLayerAt(2);
    p.scribble(p.frame().layer(2).image, {0, 0, 37, 29});
    p.frame().setCurrentLayer(4);
    p.expectAsComposedAfresh("a layer inserted below the current one");
    p.caches.below.image.fill(colors::white); // written from outside
    p.expectAsComposedAfresh("the cache written from outside");
}

TEST(LayerCacheUpdate, APartComposedForTheViewHoldsWhatComposingAfreshGivesThere) {
    Picture p;
    // The view moves over the picture while the layers and the current layer change.
    p.expectAsComposedAfresh("the first view", {0, 0, 10, 8});
    p.expectAsComposedAfresh("scrolling right", {6, 0, 10, 8});
    p.frame().setCurrentLayer(3);
    p.expectAsComposedAfresh("moving up in view", {6, 0, 10, 8});
    p.expectAsComposedAfresh("scrolling down after moving up", {6, 12, 10, 8});
    {
        Layer& l = p.frame().layer(1);
        auto edit = l.edit();
        p.scribble(l.image, {0, 0, 37, 29});
        edit.touched({0, 0, 37, 29});
    }
    p.expectAsComposedAfresh("a change reaching outside the view", {20, 15, 10, 8});
    p.expectAsComposedAfresh("back to where it changed", {0, 0, 12, 12});
    p.frame().setCurrentLayer(0);
    p.expectAsComposedAfresh("moving down", {25, 20, 12, 9});
    p.expectAsComposedAfresh("the whole picture", Picture::whole);
}

TEST(LayerCacheUpdate, NothingIsComposedWhileTheLayersStayAsTheyWere) {
    Picture p;
    updateLayerCaches(p.picture, p.caches, Picture::whole);
    const uint64_t below = p.caches.below.image.contentKey();
    const uint64_t above = p.caches.above.image.contentKey();
    updateLayerCaches(p.picture, p.caches, Picture::whole);
    p.frame().current().image.fill(colors::white); // the current layer is in neither cache
    p.frame().current().opacity = 3;
    updateLayerCaches(p.picture, p.caches, {2, 2, 5, 5});
    EXPECT_EQ(p.caches.below.image.contentKey(), below);
    EXPECT_EQ(p.caches.above.image.contentKey(), above);

    // A change above the current layer recomposes only the upper cache, and only there.
    const uint64_t revision = p.caches.above.changes.revision(p.caches.above.image);
    {
        Layer& l = p.frame().layer(4);
        auto edit = l.edit();
        l.image.setPixel(20, 10, colors::black);
        edit.touched({20, 10, 1, 1});
    }
    updateLayerCaches(p.picture, p.caches, Picture::whole);
    EXPECT_EQ(p.caches.below.image.contentKey(), below);
    EXPECT_EQ(p.caches.above.changes.changedSince(p.caches.above.image, revision),
              (Rect{20, 10, 1, 1}));
}

// What lets a cache have layers drawn onto it as it is and give the bytes of composing them all.
TEST(PremultiplyRow, UndoesUnpremultiplyExactlyForEveryPremultipliedPixel) {
    // Every alpha with every colour byte up to it, in the red, green and blue places.
    std::vector<uint32_t> premultiplied;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c <= a; ++c)
            premultiplied.push_back((a << 24) | (c << 16) | ((a - c) << 8) | (c / 2));
    std::vector<uint32_t> row = premultiplied;
    unpremultiplyRow(row.data(), int(row.size()));
    premultiplyRow(row.data(), int(row.size()));
    for (size_t i = 0; i < row.size(); ++i)
        ASSERT_EQ(row[i], premultiplied[i]) << std::hex << premultiplied[i];
}

// Around another current layer, big caches are brought up to date side by side, each followed
// by what is made from it; the result is what one after the other gives.
TEST(LayerCacheUpdate, SideBySideAroundAnotherLayer) {
    const Rect all{0, 0, 700, 600};
    Picture p(all.w, all.h);
    std::mutex seen;
    std::vector<const Layer*> followed;
    std::vector<std::thread::id> threads;
    auto then = [&](Layer& cache) {
        // What the second thread may do with its cache: read all of it, reduce it.
        cache.reductions.level(cache.image, cache.changes, 2);
        std::lock_guard<std::mutex> lock(seen);
        followed.push_back(&cache);
        threads.push_back(std::this_thread::get_id());
    };
    p.expectAsComposedAfresh("the first update", all, then);
    for (int current : {3, 1, 5, 0, 4}) {
        followed.clear();
        threads.clear();
        p.frame().setCurrentLayer(current);
        p.expectAsComposedAfresh("another current layer", all, then);
        ASSERT_EQ(followed.size(), 2u);
        EXPECT_NE(followed[0], followed[1]) << "each cache followed once";
        EXPECT_NE(threads[0], threads[1]) << "side by side";
        // The reductions made beside the caches show them as they are now.
        for (Layer* cache : {&p.caches.below, &p.caches.above}) {
            Reductions fresh;
            const Bitmap& kept = cache->reductions.level(cache->image, cache->changes, 2);
            EXPECT_TRUE(test::samePixels(kept, fresh.level(cache->image, cache->changes, 2)))
                << "the reduction of a cache around layer " << current;
        }
    }
}

// Small caches, and a change that is not of the current layer, stay on one thread.
TEST(LayerCacheUpdate, OneThreadForSmallWork) {
    std::set<std::thread::id> threads;
    auto then = [&](Layer&) { threads.insert(std::this_thread::get_id()); };
    Picture small;
    small.frame().setCurrentLayer(4);
    small.expectAsComposedAfresh("a small picture around another layer", Picture::whole, then);
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
    Picture big(700, 600);
    big.expectAsComposedAfresh("the first update", {0, 0, 700, 600});
    big.scribble(big.frame().layer(0).image, {10, 10, 30, 30});
    threads.clear();
    big.expectAsComposedAfresh("a change below", {0, 0, 700, 600}, then);
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

// What goes wrong on either side, the second thread's included, reaches the caller once both
// sides are done, instead of ending the program.
TEST(LayerCacheUpdate, AFailureOnEitherSideReachesTheCaller) {
    for (int failing = 0; failing < 2; ++failing) {
        Picture p(700, 600);
        p.frame().setCurrentLayer(3);
        Layer* const which = failing == 0 ? &p.caches.below : &p.caches.above;
        std::set<std::thread::id> threads;
        std::mutex seen;
        auto then = [&](Layer& cache) {
            {
                std::lock_guard<std::mutex> lock(seen);
                threads.insert(std::this_thread::get_id());
            }
            if (&cache == which)
                throw std::runtime_error("no memory for the reduction");
        };
        EXPECT_THROW(updateLayerCaches(p.picture, p.caches, {0, 0, 700, 600}, then),
                     std::runtime_error);
        EXPECT_EQ(threads.size(), 2u) << "both sides ran, side by side";
    }
}
