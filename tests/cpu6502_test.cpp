// The 6502 core: the public functional suite end to end, every decimal
// ADC/SBC against a model of the NMOS part, and the cycle counts and control
// flow an embedder relies on.
#include "core/cpu6502.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path functionalSuiteDir()
{
    if (const char* dir = std::getenv("ZELBUN_6502_TESTS"))
        return dir;
    return fs::path(ZELBUN_SOURCE_DIR).parent_path() / "shared" / "6502-tests";
}

TEST(Cpu6502, PassesTheFunctionalSuite)
{
    const fs::path image = functionalSuiteDir() / "6502_functional_test.bin";
    std::ifstream in(image, std::ios::binary);
    if (!in)
        GTEST_SKIP() << image << " is not there (the shared folder beside the project)";
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), Cpu6502::kMemorySize);

    Cpu6502 cpu;
    cpu.load(bytes, 0);
    cpu.pc = 0x0400;
    // Every outcome ends in an instruction that jumps to itself: the suite's
    // success loop or the trap of the failing check (see its listing).
    uint32_t previousPc = ~0u;
    const bool trapped = cpu.runUntil(
        [&](const Cpu6502& c) {
            const bool same = c.pc == previousPc;
            previousPc = c.pc;
            return same;
        },
        200'000'000);
    ASSERT_TRUE(trapped) << "halted: " << cpu.halted << std::hex << " pc $" << cpu.pc;
    EXPECT_EQ(cpu.pc, 0x3469) << std::hex << "trapped at $" << cpu.pc;
    EXPECT_GT(cpu.cycles, 90'000'000u);

    // Again as call() runs a routine without hooks, on plain memory: the
    // suite never returns, so it runs to the cycle limit, long after it
    // reached its success loop.
    Cpu6502 plain;
    plain.load(bytes, 0);
    EXPECT_FALSE(plain.call(0x0400, 100'000'000));
    EXPECT_FALSE(plain.halted);
    EXPECT_EQ(plain.pc, 0x3469) << std::hex << "trapped at $" << plain.pc;
}

// Decimal ADC and SBC as the NMOS part computes them, step by step after
// the published analysis of the chip: each digit adjusted in turn; N and V
// from the signed sum once the low digit is adjusted; Z from the binary sum;
// SBC's flags all binary.
struct Outcome {
    uint8_t a;
    uint8_t flags; // N, V, Z, C
};

constexpr uint8_t kChecked = Cpu6502::kNegative | Cpu6502::kOverflow | Cpu6502::kZero | Cpu6502::kCarry;

Outcome modelAdc(int a, int b, int carry)
{
    int low = (a & 0x0F) + (b & 0x0F) + carry;
    if (low >= 0x0A)
        low = ((low + 0x06) & 0x0F) + 0x10;
    int sum = (a & 0xF0) + (b & 0xF0) + low;
    if (sum >= 0xA0)
        sum += 0x60;
    const int signedSum = int8_t(a & 0xF0) + int8_t(b & 0xF0) + low;
    uint8_t flags = 0;
    if (signedSum & 0x80)
        flags |= Cpu6502::kNegative;
    if (signedSum < -128 || signedSum > 127)
        flags |= Cpu6502::kOverflow;
    if (((a + b + carry) & 0xFF) == 0)
        flags |= Cpu6502::kZero;
    if (sum >= 0x100)
        flags |= Cpu6502::kCarry;
    return {uint8_t(sum), flags};
}

Outcome modelSbc(int a, int b, int carry)
{
    int low = (a & 0x0F) - (b & 0x0F) + carry - 1;
    if (low < 0)
        low = ((low - 0x06) & 0x0F) - 0x10;
    int difference = (a & 0xF0) - (b & 0xF0) + low;
    if (difference < 0)
        difference -= 0x60;
    const int binary = a - b + carry - 1;
    const int signedBinary = int8_t(a) - int8_t(b) + carry - 1;
    uint8_t flags = 0;
    if (binary & 0x80)
        flags |= Cpu6502::kNegative;
    if (signedBinary < -128 || signedBinary > 127)
        flags |= Cpu6502::kOverflow;
    if ((binary & 0xFF) == 0)
        flags |= Cpu6502::kZero;
    if (binary >= 0)
        flags |= Cpu6502::kCarry;
    return {uint8_t(difference), flags};
}

TEST(Cpu6502, DecimalArithmeticMatchesTheNmosPartForEveryInput)
{
    Cpu6502 cpu;
    int mismatches = 0;
    for (const uint8_t opcode : {0x69, 0xE9}) { // ADC #, SBC #
        for (int carry = 0; carry < 2; ++carry)
            for (int a = 0; a < 256; ++a)
                for (int b = 0; b < 256; ++b) {
                    const uint8_t program[] = {opcode, uint8_t(b)};
                    cpu.load(program, sizeof program, 0x0200);
                    cpu.pc = 0x0200;
                    cpu.a = uint8_t(a);
                    cpu.p = Cpu6502::kUnused | Cpu6502::kDecimal | (carry ? Cpu6502::kCarry : 0);
                    cpu.step();
                    const Outcome want = opcode == 0x69 ? modelAdc(a, b, carry) : modelSbc(a, b, carry);
                    if ((cpu.a != want.a || (cpu.p & kChecked) != want.flags) && ++mismatches <= 5)
                        ADD_FAILURE() << std::hex << (opcode == 0x69 ? "ADC" : "SBC") << " a=$" << a
                                      << " b=$" << b << " c=" << carry << ": got a=$" << int(cpu.a)
                                      << " p=$" << int(cpu.p & kChecked) << ", want a=$" << int(want.a)
                                      << " p=$" << int(want.flags);
                    ASSERT_EQ(cpu.p & (Cpu6502::kDecimal | Cpu6502::kUnused),
                              Cpu6502::kDecimal | Cpu6502::kUnused);
                }
    }
    EXPECT_EQ(mismatches, 0);
}

// One instruction at `address`, run from a fixed memory picture: the zero
// page pointer $10 holds $30F0, $0300 holds $56, $02FF $34 and $0200 $12
// (JMP ($02FF) must take its high byte from $0200), and every vector
// points at $8000.
struct Instruction {
    const char* name;
    uint16_t address;
    std::vector<uint8_t> bytes;
    uint8_t x, y, p;
    unsigned cycles;
    uint16_t nextPc;
};

TEST(Cpu6502, CountsCyclesAndFollowsControlFlow)
{
    constexpr uint8_t zero = Cpu6502::kUnused | Cpu6502::kZero;
    constexpr uint8_t clear = Cpu6502::kUnused;
    const Instruction cases[] = {
        {"LDA #", 0x0400, {0xA9, 0x01}, 0, 0, clear, 2, 0x0402},
        {"LDA zp,X", 0x0400, {0xB5, 0xF0}, 0x20, 0, clear, 4, 0x0402},
        {"LDA (zp,X)", 0x0400, {0xA1, 0x0E}, 0x02, 0, clear, 6, 0x0402},
        {"LDA abs,X same page", 0x0400, {0xBD, 0x00, 0x30}, 0x10, 0, clear, 4, 0x0403},
        {"LDA abs,X next page", 0x0400, {0xBD, 0xF0, 0x30}, 0x20, 0, clear, 5, 0x0403},
        {"LDX abs,Y next page", 0x0400, {0xBE, 0xFF, 0x30}, 0, 0x01, clear, 5, 0x0403},
        {"LDA (zp),Y same page", 0x0400, {0xB1, 0x10}, 0, 0x0F, clear, 5, 0x0402},
        {"LDA (zp),Y next page", 0x0400, {0xB1, 0x10}, 0, 0x20, clear, 6, 0x0402},
        {"STA abs,X next page", 0x0400, {0x9D, 0xF0, 0x30}, 0x20, 0, clear, 5, 0x0403},
        {"STA (zp),Y same page", 0x0400, {0x91, 0x10}, 0, 0x01, clear, 6, 0x0402},
        {"ASL abs,X", 0x0400, {0x1E, 0x00, 0x30}, 0x01, 0, clear, 7, 0x0403},
        {"INC abs,X next page", 0x0400, {0xFE, 0xF0, 0x30}, 0x20, 0, clear, 7, 0x0403},
        {"DEC zp", 0x0400, {0xC6, 0x20}, 0, 0, clear, 5, 0x0402},
        {"BNE not taken", 0x0400, {0xD0, 0x10}, 0, 0, zero, 2, 0x0402},
        {"BNE taken", 0x0400, {0xD0, 0x10}, 0, 0, clear, 3, 0x0412},
        {"BNE taken back", 0x0420, {0xD0, 0xF0}, 0, 0, clear, 3, 0x0412},
        {"BEQ to next page", 0x04F0, {0xF0, 0x20}, 0, 0, zero, 4, 0x0512},
        {"BEQ to previous page", 0x0500, {0xF0, 0xF0}, 0, 0, zero, 4, 0x04F2},
        {"JMP abs", 0x0400, {0x4C, 0x34, 0x12}, 0, 0, clear, 3, 0x1234},
        {"JMP ($02FF)", 0x0400, {0x6C, 0xFF, 0x02}, 0, 0, clear, 5, 0x1234},
        {"JSR", 0x0400, {0x20, 0x00, 0x90}, 0, 0, clear, 6, 0x9000},
        {"RTS", 0x0400, {0x60}, 0, 0, clear, 6, 0x5601},
        {"RTI", 0x0400, {0x40}, 0, 0, clear, 6, 0x0356},
        {"BRK", 0x0400, {0x00, 0xFF}, 0, 0, clear, 7, 0x8000},
        {"PHA", 0x0400, {0x48}, 0, 0, clear, 3, 0x0401},
        {"PLA", 0x0400, {0x68}, 0, 0, clear, 4, 0x0401},
        {"NOP", 0x0400, {0xEA}, 0, 0, clear, 2, 0x0401},
    };
    for (const Instruction& c : cases) {
        Cpu6502 cpu;
        uint8_t* memory = cpu.memory();
        memory[0x10] = 0xF0;
        memory[0x11] = 0x30;
        memory[0x0200] = 0x12;
        memory[0x02FF] = 0x34;
        memory[0x0300] = 0x56;
        for (uint16_t vector = Cpu6502::kNmiVector; vector != 0; vector += 2) {
            memory[vector] = 0x00;
            memory[vector + 1] = 0x80;
        }
        // RTI pulls p and $0356; RTS pulls $5600 and goes on after it.
        cpu.s = 0xFC;
        memory[0x01FD] = 0x00;
        memory[0x01FE] = 0x56;
        memory[0x01FF] = 0x03;
        cpu.load(c.bytes, c.address);
        cpu.pc = c.address;
        cpu.x = c.x;
        cpu.y = c.y;
        cpu.p = c.p;
        EXPECT_EQ(cpu.step(), c.cycles) << c.name;
        EXPECT_EQ(cpu.cycles, c.cycles) << c.name;
        EXPECT_EQ(cpu.pc, c.nextPc) << c.name;
    }
}

TEST(Cpu6502, InterruptsPushTheReturnAndTheFlags)
{
    Cpu6502 cpu;
    uint8_t* memory = cpu.memory();
    const uint8_t vectors[] = {0x00, 0x90, 0x00, 0x04, 0x00, 0xA0}; // NMI, reset, IRQ/BRK
    cpu.load(vectors, sizeof vectors, Cpu6502::kNmiVector);
    cpu.s = 0xFF;
    cpu.reset();
    EXPECT_EQ(cpu.pc, 0x0400);
    EXPECT_EQ(cpu.s, 0xFC);
    EXPECT_EQ(cpu.cycles, 7u);

    EXPECT_FALSE(cpu.irq()) << "interrupts are disabled after reset";
    cpu.p = Cpu6502::kUnused | Cpu6502::kDecimal | Cpu6502::kCarry;
    ASSERT_TRUE(cpu.irq());
    EXPECT_EQ(cpu.pc, 0xA000);
    EXPECT_EQ(memory[0x01FC], 0x04);
    EXPECT_EQ(memory[0x01FB], 0x00);
    EXPECT_EQ(memory[0x01FA], Cpu6502::kUnused | Cpu6502::kDecimal | Cpu6502::kCarry) << "no B flag";
    EXPECT_TRUE(cpu.p & Cpu6502::kInterruptDisable);
    EXPECT_TRUE(cpu.p & Cpu6502::kDecimal) << "the NMOS part leaves decimal mode on";

    ASSERT_TRUE(cpu.nmi()) << "taken with interrupts disabled";
    EXPECT_EQ(cpu.pc, 0x9000);
    EXPECT_EQ(cpu.s, 0xF6);
    EXPECT_EQ(cpu.cycles, 21u);

    // BRK skips its padding byte; RTI brings back pc and flags without B.
    const uint8_t handler[] = {0x00, 0xEA};
    cpu.load(handler, sizeof handler, 0x9000);
    memory[0xA000] = 0x40;
    cpu.p = Cpu6502::kUnused | Cpu6502::kNegative;
    cpu.step();
    EXPECT_EQ(memory[0x01F4], Cpu6502::kUnused | Cpu6502::kNegative | Cpu6502::kBreak);
    cpu.step();
    EXPECT_EQ(cpu.pc, 0x9002);
    EXPECT_EQ(cpu.p, Cpu6502::kUnused | Cpu6502::kNegative);
}

// A routine as the editor calls the game's: a nested JSR, memory through
// hooks on hardware pages, then an RTS back to the caller.
TEST(Cpu6502, CallRunsASubroutineUntilItReturns)
{
    Cpu6502 cpu;
    const uint8_t routine[] = {
        0x20, 0x10, 0x20, // JSR $2010
        0x8D, 0x0A, 0xD4, // STA $D40A
        0x8D, 0x00, 0x03, // STA $0300
        0x60,             // RTS
    };
    const uint8_t nested[] = {0xAD, 0x0B, 0xD0, 0x69, 0x01, 0x60}; // LDA $D00B / ADC #1 / RTS
    cpu.load(routine, sizeof routine, 0x2000);
    cpu.load(nested, sizeof nested, 0x2010);
    std::vector<uint16_t> reads;
    std::vector<std::pair<uint16_t, uint8_t>> writes;
    cpu.setReadHook(0xD0, 0xD4, [&](uint16_t address) {
        reads.push_back(address);
        return uint8_t(0x41);
    });
    cpu.setWriteHook(0xD4, 0xD4, [&](uint16_t address, uint8_t value) { writes.emplace_back(address, value); });

    cpu.s = 0xF0;
    cpu.p = Cpu6502::kUnused;
    ASSERT_TRUE(cpu.call(0x2000, 1000));
    EXPECT_EQ(cpu.pc, Cpu6502::kCallReturn);
    EXPECT_EQ(cpu.s, 0xF0);
    EXPECT_EQ(cpu.a, 0x42);
    EXPECT_EQ(cpu.cycles, 6u + 4 + 2 + 6 + 4 + 4 + 6);
    EXPECT_EQ(reads, std::vector<uint16_t>{0xD00B});
    EXPECT_EQ(writes, (std::vector<std::pair<uint16_t, uint8_t>>{{0xD40A, 0x42}}));
    EXPECT_EQ(cpu.memory()[0xD40A], 0) << "a hooked write stays out of memory";
    EXPECT_EQ(cpu.memory()[0x0300], 0x42);

    cpu.setReadHook(0xD0, 0xD4, nullptr);
    cpu.memory()[0xD00B] = 0x10;
    ASSERT_TRUE(cpu.call(0x2010, 1000));
    EXPECT_EQ(cpu.a, 0x11);
    EXPECT_EQ(reads.size(), 1u);

    // A routine that never returns runs out of cycles; one that meets an
    // undocumented opcode halts on it until reset. The same with hooks and
    // on a processor that never had one (plain memory).
    Cpu6502 plain;
    for (Cpu6502* processor : {&cpu, &plain}) {
        const uint8_t loop[] = {0x4C, 0x00, 0x30}; // JMP $3000
        processor->load(loop, sizeof loop, 0x3000);
        EXPECT_FALSE(processor->call(0x3000, 100));
        EXPECT_EQ(processor->pc, 0x3000);
        const uint8_t astray[] = {0xE8, 0x02}; // INX, an undocumented opcode
        processor->load(astray, sizeof astray, 0x3000);
        const uint64_t before = processor->cycles;
        EXPECT_FALSE(processor->call(0x3000, 1000));
        EXPECT_TRUE(processor->halted);
        EXPECT_EQ(processor->pc, 0x3001);
        EXPECT_EQ(processor->cycles - before, 2u);
        EXPECT_EQ(processor->step(), 0u);
        EXPECT_FALSE(processor->nmi());
        EXPECT_EQ(processor->pc, 0x3001);
        processor->reset();
        EXPECT_FALSE(processor->halted);
    }
}

} // namespace
