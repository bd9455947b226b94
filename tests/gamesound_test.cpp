// The game's sound, proven without a speaker: the built game (game.atr,
// its routines found by name in ld65's label file) runs on the editor's
// own 6502 core, every write to POKEY ($D200-$D20F) is recorded frame by
// frame, and the record must be the expected one: each of the eleven
// effects as a pitch slide on channel 1 that fades over its last frames
// and falls silent, and the Start page's tune, written out here as notes,
// bar by bar, on channels 2-4, looping. Without cc65 there is no label
// file and no test.
#ifdef ZELBUN_GAME_LABELS

#include "core/cpu6502.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kMaxCycles = 100000;
constexpr unsigned kAudf1 = 0xD200, kAudc1 = 0xD201, kAudctl = 0xD208, kSkctl = 0xD20F;
constexpr unsigned audf(int channel) { return kAudf1 + 2 * (channel - 1); }
constexpr unsigned audc(int channel) { return kAudc1 + 2 * (channel - 1); }

struct Write {
    int frame;
    unsigned address;
    int value;
    bool operator==(const Write& o) const { return frame == o.frame && address == o.address && value == o.value; }
};

std::string describe(const Write& w)
{
    std::ostringstream out;
    out << "frame " << w.frame << ": $" << std::hex << std::uppercase << w.address << " = $" << w.value;
    return out.str();
}

class GameSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ifstream in(ZELBUN_GAME_ATR, std::ios::binary);
        const std::vector<uint8_t> disk(std::istreambuf_iterator<char>(in), {});
        ASSERT_GT(disk.size(), 400u) << ZELBUN_GAME_ATR;
        // The segments after the boot sectors, as the loader reads them.
        for (size_t at = 400; at + 4 <= disk.size();) {
            const unsigned start = disk[at] | disk[at + 1] << 8, end = disk[at + 2] | disk[at + 3] << 8;
            if (start == 0)
                break;
            ASSERT_LE(start, end);
            ASSERT_LE(at + 4 + (end - start + 1), disk.size());
            cpu.load(disk.data() + at + 4, end - start + 1, uint16_t(start));
            at += 4 + (end - start + 1);
        }
        std::ifstream labels(ZELBUN_GAME_LABELS);
        std::string al, address, name;
        while (labels >> al >> address >> name)
            if (al == "al")
                routines[name.substr(1)] = unsigned(std::stoul(address, nullptr, 16));
        for (const char* routine : {"sound_play", "sound_tick", "music_start", "music_stop"})
            ASSERT_TRUE(routines.count(routine)) << routine << " in " << ZELBUN_GAME_LABELS;
        cpu.setWriteHook(0xD2, 0xD2, [this](uint16_t address, uint8_t value) {
            cpu.memory()[address] = value;
            record.push_back({frame, address, value});
        });
    }

    void call(const char* routine, uint8_t a = 0)
    {
        cpu.a = a;
        const uint64_t before = cpu.cycles;
        ASSERT_TRUE(cpu.call(uint16_t(routines[routine]), kMaxCycles)) << routine;
        mostCycles[routine] = std::max(mostCycles[routine], cpu.cycles - before);
    }

    // `frames` frames of the game's sound_tick, numbered on from `frame`.
    void ticks(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            ++frame;
            call("sound_tick");
        }
    }

    void expectRecord(const std::vector<Write>& expected, const std::string& what)
    {
        for (size_t i = 0; i < std::max(expected.size(), record.size()); ++i) {
            if (i >= record.size()) {
                ADD_FAILURE() << what << ": missing " << describe(expected[i]);
                return;
            }
            if (i >= expected.size()) {
                ADD_FAILURE() << what << ": more than expected: " << describe(record[i]);
                return;
            }
            if (!(record[i] == expected[i])) {
                ADD_FAILURE() << what << ": write " << i << " is " << describe(record[i]) << ", expected "
                              << describe(expected[i]);
                return;
            }
        }
    }

    Cpu6502 cpu;
    std::map<std::string, unsigned> routines;
    std::map<std::string, uint64_t> mostCycles;
    std::vector<Write> record;
    int frame = 0;
};

// The effects as the game means them: where the pitch starts (AUDF1), how
// it slides a frame, how many frames, and the distortion (pure $A0, buzz
// $C0, noise $80). Rising things are gained, falling ones lost.
struct Effect {
    const char* name;
    int start, slide, frames, tone;
};
const Effect kEffects[] = {
    {"screw", 0x30, -2, 10, 0xA0},   {"door", 0x60, 4, 14, 0xC0},      {"push", 0x18, 0, 6, 0x80},
    {"life lost", 0x40, 5, 32, 0xA0}, {"exit opened", 0x60, -3, 28, 0xA0}, {"shot", 0x0C, 3, 8, 0x80},
    {"explosion", 0x18, 4, 30, 0x80}, {"teleport", 0x14, 6, 18, 0xC0},  {"key", 0x28, -1, 8, 0xA0},
    {"battery", 0x50, -4, 16, 0xA0},  {"ammunition", 0x20, 0, 8, 0xC0},
};

} // namespace

// Each effect (SND_SCREW = 1 .. SND_AMMO = 11): started loud on channel 1,
// sliding a frame at a time, fading over its last 15 frames and silent at
// its end; then nothing more.
TEST_F(GameSound, EveryEffectWritesItsSlideAndFade)
{
    int number = 0;
    for (const Effect& effect : kEffects) {
        ++number;
        record.clear();
        frame = 0;
        call("sound_play", uint8_t(number));
        std::vector<Write> expected = {
            {0, kAudctl, 0}, {0, kSkctl, 3}, {0, kAudf1, effect.start}, {0, kAudc1, effect.tone | 15}};
        int pitch = effect.start;
        for (int f = 1; f <= effect.frames; ++f) {
            const int left = effect.frames - f;
            if (left == 0) {
                expected.push_back({f, kAudc1, 0});
                break;
            }
            pitch = (pitch + effect.slide) & 0xFF;
            expected.push_back({f, kAudf1, pitch});
            expected.push_back({f, kAudc1, effect.tone | std::min(left, 15)});
        }
        ticks(effect.frames + 20);
        expectRecord(expected, effect.name);
    }
    // A number that names no effect writes nothing.
    record.clear();
    call("sound_play", 0);
    call("sound_play", 12);
    EXPECT_TRUE(record.empty());
}

// The tune: four bars of eighth notes (8 frames each) in A minor, a melody
// on channel 2, a bass on channel 3 and a tick of noise on channel 4,
// round and round: 256 frames, 5.1 seconds on PAL. A new note is loud
// (attack) and fades a step (decay) a frame down to its floor; "-" rings
// on, "." is silent. Pitches are the notes' frequencies at POKEY's 64 kHz
// clock; music_stop silences the three channels.
TEST_F(GameSound, TheStartPagesTuneLoops)
{
    struct Voice {
        const char* bars;
        int tone, attack, decay, floor;
    };
    const Voice voices[3] = {
        {"E5 - A4 C5 E5 - D5 C5  D5 - G4 B4 D5 - C5 B4  C5 - F4 A4 C5 E5 D5 C5  B4 - G#4 B4 E5 - - .", 0xA0, 10, 1, 5},
        {"A3 - A4 - A3 - A4 -  G3 - G4 - G3 - G4 -  F3 - F4 - F3 - F4 -  E3 - E4 - E3 - E4 -", 0xA0, 9, 1, 0},
        {". - x - . - x - . - x - . - x - . - x - . - x - . - x - . - x -", 0x80, 6, 2, 0},
    };
    constexpr int kRows = 32, kRowFrames = 8, kTickPitch = 8;
    constexpr double kClock = 1773447.0 / 28; // PAL
    auto pitchOf = [&](const std::string& note) {
        if (note == "x")
            return kTickPitch;
        static const std::string names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
        const std::string name = note.substr(0, note.size() - 1);
        const int octave = note.back() - '0';
        int semitone = 0;
        while (names[semitone] != name)
            ++semitone;
        const double frequency = 440.0 * std::pow(2.0, (semitone - 9) / 12.0 + (octave - 4));
        return int(std::lround(kClock / (2 * frequency))) - 1;
    };
    std::vector<std::string> score[3];
    for (int v = 0; v < 3; ++v) {
        std::istringstream in(voices[v].bars);
        for (std::string note; in >> note;)
            score[v].push_back(note);
        ASSERT_EQ(score[v].size(), size_t(kRows)) << "voice " << v;
    }

    call("music_start");
    std::vector<Write> expected = {{0, kAudctl, 0}, {0, kSkctl, 3}};
    int volume[3] = {};
    constexpr int kFrames = 2 * kRows * kRowFrames + 20; // twice round, and on
    for (int f = 1; f <= kFrames; ++f) {
        const int row = (f - 1) / kRowFrames % kRows, inRow = (f - 1) % kRowFrames;
        for (int v = 0; v < 3; ++v) {
            const Voice& voice = voices[v];
            const std::string& note = score[v][row];
            if (inRow == 0 && note == ".") {
                volume[v] = 0;
            } else if (inRow == 0 && note != "-") {
                expected.push_back({f, audf(v + 2), pitchOf(note)});
                volume[v] = voice.attack;
            } else if (volume[v] > voice.floor) {
                volume[v] = std::max(volume[v] - voice.decay, voice.floor);
            }
            expected.push_back({f, audc(v + 2), voice.tone | volume[v]});
        }
    }
    ticks(kFrames);
    call("music_stop");
    for (int channel = 2; channel <= 4; ++channel)
        expected.push_back({kFrames, audc(channel), 0});
    expectRecord(expected, "the tune");

    // It is quiet after music_stop, and a frame costs little of the
    // machine's time (a PAL frame has about 30,000 cycles for the game).
    record.clear();
    ticks(20);
    EXPECT_TRUE(record.empty());
    EXPECT_LT(mostCycles["sound_tick"], 1500u);
}

#endif // ZELBUN_GAME_LABELS
