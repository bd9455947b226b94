// The window's painting by parts: what a paint draws again, and what it
// tells the screen it drew.
#include "editor/partpainter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

bool operator==(const SDL_Rect& a, const layout::Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// Three parts in a row, the last one covered while `covered` holds, and a
// cover over the first two. Each paint records which parts it drew.
TEST(PartPainter, DrawsOnlyChangedPartsAndListsThem)
{
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> screen(
        SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 16, 32, 0xFF0000, 0xFF00, 0xFF, 0), SDL_FreeSurface);
    ASSERT_NE(screen, nullptr);
    auto pixel = [&](int x, int y) { return static_cast<Uint32*>(screen->pixels)[y * screen->pitch / 4 + x]; };
    const layout::Rect areas[3] = {{0, 0, 10, 10}, {20, 0, 10, 10}, {40, 0, 10, 10}};
    const layout::Rect coverArea{0, 0, 30, 10};
    bool covered = false;
    PartPainter painter([&](const layout::Rect& area) { return covered && area.x == areas[2].x; });
    uint64_t looks[3] = {1, 2, 3};
    std::string drawn;
    auto paint = [&](Uint32 background, bool coverShown = false, uint64_t coverLook = 9) {
        drawn.clear();
        const bool whole = painter.begin(screen.get(), background, 0);
        for (int i = 0; i < 3; ++i)
            painter.part(areas[i], looks[i], [&, i] {
                drawn += char('a' + i);
                SDL_FillRect(screen.get(), nullptr, 0x777777);  // the clip keeps it to the part
            });
        painter.cover(coverShown, coverArea, coverLook, [&] { drawn += 'C'; });
        painter.end();
        return whole;
    };

    EXPECT_TRUE(paint(0x111111));
    EXPECT_EQ(drawn, "abc");
    ASSERT_EQ(painter.damage().size(), 1u);
    EXPECT_TRUE(painter.damage()[0] == layout::window);

    EXPECT_FALSE(paint(0x111111));
    EXPECT_EQ(drawn, "");
    EXPECT_TRUE(painter.damage().empty());

    SDL_FillRect(screen.get(), nullptr, 0);
    looks[1] = 5;
    paint(0x111111);
    EXPECT_EQ(drawn, "b");
    ASSERT_EQ(painter.damage().size(), 1u);
    EXPECT_TRUE(painter.damage()[0] == areas[1]);
    EXPECT_EQ(pixel(25, 5), 0x777777u);
    EXPECT_EQ(pixel(5, 5), 0u);
    EXPECT_EQ(pixel(25, 12), 0u);

    // A covered part waits, its look unchanged, whatever it would show.
    covered = true;
    looks[2] = 6;
    paint(0x111111);
    EXPECT_EQ(drawn, "");
    covered = false;
    paint(0x111111);
    EXPECT_EQ(drawn, "c");

    // The cover draws when it comes, when it changes and when it comes back.
    paint(0x111111, true);
    EXPECT_EQ(drawn, "C");
    ASSERT_EQ(painter.damage().size(), 1u);
    EXPECT_TRUE(painter.damage()[0] == coverArea);
    paint(0x111111, true);
    EXPECT_EQ(drawn, "");
    paint(0x111111, true, 10);
    EXPECT_EQ(drawn, "C");
    paint(0x111111);
    paint(0x111111, true, 10);
    EXPECT_EQ(drawn, "C");

    // A new background, a new arrangement or invalidate() draws it all.
    // A whole paint starts on a screen filled with the background.
    EXPECT_TRUE(paint(0x222222));
    painter.invalidate();
    EXPECT_TRUE(paint(0x222222));
    EXPECT_TRUE(painter.begin(screen.get(), 0x222222, 1));
    EXPECT_EQ(pixel(60, 12), 0x222222u);
}

} // namespace
