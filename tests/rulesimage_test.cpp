// The game's rules linked alone (rules.bin, built from engine/ with cc65)
// run on the editor's own 6502 core, driven by nothing but the export
// table the build made (rules_image.h): the way a playtest or a solver in
// the editor will run them. Without cc65 there is no image and no test.
#ifdef ZELBUN_RULES_IMAGE

#include "core/cpu6502.h"
#include "rules_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace ri = rules_image;

constexpr uint64_t kMaxCycles = 1000000;

class RulesImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ifstream in(ZELBUN_RULES_IMAGE, std::ios::binary);
        const std::vector<uint8_t> image(std::istreambuf_iterator<char>(in), {});
        ASSERT_EQ(image.size(), ri::size) << ZELBUN_RULES_IMAGE;
        cpu.load(image, ri::origin);
        // The rules have no business with the machine's hardware.
        cpu.setWriteHook(0xD0, 0xD7, [this](uint16_t address, uint8_t) { hardwareWrites.push_back(address); });
    }

    uint8_t& at(unsigned address) { return cpu.memory()[address]; }

    // Runs a routine with A (and the carry) as the caller sets them.
    void call(unsigned routine, uint8_t a = 0)
    {
        cpu.a = a;
        ASSERT_TRUE(cpu.call(uint16_t(routine), kMaxCycles)) << "routine at " << routine;
    }

    // Walls everywhere but row 0, which holds `row` from column 0 (the
    // editor's codes: R robot, * screw, . floor, E exit).
    void level(const char* row)
    {
        for (unsigned cell = 0; cell < ri::LEVEL_CELLS; ++cell)
            at(ri::level_buf + cell) = uint8_t(ri::T_WALL);
        for (unsigned column = 0; row[column]; ++column) {
            const char c = row[column];
            at(ri::level_buf + column) = uint8_t(c == 'R' ? ri::T_ROBOT : c == '*' ? ri::T_SCREW
                                                 : c == 'E' ? ri::T_EXIT : ri::T_FLOOR);
        }
    }

    // One frame with the stick as given; the event bits of both bytes.
    unsigned frame(unsigned stick)
    {
        at(ri::in_stick) = uint8_t(stick);
        call(ri::play_frame);
        EXPECT_EQ(cpu.a, at(ri::events));
        EXPECT_EQ(cpu.x, at(ri::events_more));
        return cpu.a | cpu.x << 8;
    }

    Cpu6502 cpu;
    std::vector<uint16_t> hardwareWrites;
};

} // namespace

// A level with a screw before the exit: a tap of the stick takes one step
// onto the screw, which opens the exit; held, the stick walks into the
// exit and the level ends. The restart key changes nothing of the rules
// and takes no life, but reports the restart. Nothing reaches the
// hardware's pages.
TEST_F(RulesImage, PlaysALevelOnTheEditorsCore)
{
    level("R*..E");
    call(ri::rules_init, 0x01);
    EXPECT_FALSE(cpu.p & Cpu6502::kCarry) << "the level has a robot";
    at(ri::lives) = 3;
    at(ri::in_trig) = 1;
    at(ri::in_keys) = 0;
    at(ri::gliding) = 0;
    at(ri::in_stick) = uint8_t(ri::STICK_NONE);
    call(ri::play_start);

    unsigned seen = frame(ri::STICK_RIGHT) | frame(ri::STICK_RIGHT);
    for (int i = 0; i < 30; ++i)
        seen |= frame(ri::STICK_NONE);
    EXPECT_EQ(at(ri::robot_x), 1) << "one tap, one cell";
    EXPECT_EQ(at(ri::screws_left), 0);
    EXPECT_NE(at(ri::exit_open), 0);
    EXPECT_TRUE(seen & ri::EV_SCREW);
    EXPECT_TRUE(seen & ri::EVX_OPENED << 8);

    seen = 0;
    for (int i = 0; i < 40 && !(seen & ri::EV_EXIT); ++i)
        seen |= frame(ri::STICK_RIGHT);
    EXPECT_TRUE(seen & ri::EV_EXIT) << "held, the stick walks into the open exit";
    EXPECT_EQ(at(ri::robot_x), 4);

    at(ri::in_keys) = uint8_t(ri::IN_RESTART);
    EXPECT_EQ(frame(ri::STICK_NONE), ri::EV_DIED | ri::EVX_RESTART << 8);
    EXPECT_EQ(at(ri::lives), 3) << "a restart is free";
    EXPECT_TRUE(hardwareWrites.empty()) << "a write to $" << std::hex << hardwareWrites.front();

    level("..");
    call(ri::rules_init, 0x00);
    EXPECT_TRUE(cpu.p & Cpu6502::kCarry) << "a level without a robot is refused";
}

#endif // ZELBUN_RULES_IMAGE
