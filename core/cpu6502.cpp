#include "core/cpu6502.h"

#include <cassert>
#include <cstring>

namespace {

// Base cycles of every opcode; 0 marks an undocumented one. Page crossings
// and branches add theirs as the instruction runs.
constexpr uint8_t kBaseCycles[256] = {
    // 0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F
    7, 6, 0, 0, 0, 3, 5, 0, 3, 2, 2, 0, 0, 4, 6, 0, // 0x00
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0x10
    6, 6, 0, 0, 3, 3, 5, 0, 4, 2, 2, 0, 4, 4, 6, 0, // 0x20
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0x30
    6, 6, 0, 0, 0, 3, 5, 0, 3, 2, 2, 0, 3, 4, 6, 0, // 0x40
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0x50
    6, 6, 0, 0, 0, 3, 5, 0, 4, 2, 2, 0, 5, 4, 6, 0, // 0x60
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0x70
    0, 6, 0, 0, 3, 3, 3, 0, 2, 0, 2, 0, 4, 4, 4, 0, // 0x80
    2, 6, 0, 0, 4, 4, 4, 0, 2, 5, 2, 0, 0, 5, 0, 0, // 0x90
    2, 6, 2, 0, 3, 3, 3, 0, 2, 2, 2, 0, 4, 4, 4, 0, // 0xA0
    2, 5, 0, 0, 4, 4, 4, 0, 2, 4, 2, 0, 4, 4, 4, 0, // 0xB0
    2, 6, 0, 0, 3, 3, 5, 0, 2, 2, 2, 0, 4, 4, 6, 0, // 0xC0
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0xD0
    2, 6, 0, 0, 3, 3, 5, 0, 2, 2, 2, 0, 4, 4, 6, 0, // 0xE0
    2, 5, 0, 0, 0, 4, 6, 0, 2, 4, 0, 0, 0, 4, 7, 0, // 0xF0
};

} // namespace

Cpu6502::Cpu6502() : ownMemory_(new uint8_t[kMemorySize]()), memory_(ownMemory_.get()) {}

Cpu6502::Cpu6502(uint8_t* memory) : memory_(memory)
{
    assert(memory);
}

Cpu6502::~Cpu6502() = default;

void Cpu6502::load(const uint8_t* bytes, size_t size, uint16_t address)
{
    assert(address + size <= kMemorySize);
    if (size)
        std::memcpy(memory_ + address, bytes, size);
}

void Cpu6502::setReadHook(uint8_t firstPage, uint8_t lastPage, ReadHook hook)
{
    assert(firstPage <= lastPage);
    if (!hooks_)
        hooks_.reset(new Hooks);
    for (int page = firstPage; page <= lastPage; ++page) {
        hooks_->reads[page] = hook;
        hookedPages_[page] = hook ? hookedPages_[page] | kReadHooked : hookedPages_[page] & ~kReadHooked;
    }
}

void Cpu6502::setWriteHook(uint8_t firstPage, uint8_t lastPage, WriteHook hook)
{
    assert(firstPage <= lastPage);
    if (!hooks_)
        hooks_.reset(new Hooks);
    for (int page = firstPage; page <= lastPage; ++page) {
        hooks_->writes[page] = hook;
        hookedPages_[page] = hook ? hookedPages_[page] | kWriteHooked : hookedPages_[page] & ~kWriteHooked;
    }
}

uint8_t Cpu6502::hookedRead(uint16_t address)
{
    return hooks_->reads[address >> 8](address);
}

void Cpu6502::hookedWrite(uint16_t address, uint8_t value)
{
    hooks_->writes[address >> 8](address, value);
}

uint16_t Cpu6502::absoluteIndexed(uint8_t index, bool forRead)
{
    const uint16_t base = fetchWord();
    const uint16_t address = base + index;
    addPageCrossing(base, address, forRead);
    return address;
}

uint16_t Cpu6502::indirectIndexed(bool forRead)
{
    const uint16_t base = zeroPageWord(fetch());
    const uint16_t address = base + y;
    addPageCrossing(base, address, forRead);
    return address;
}

void Cpu6502::compare(uint8_t reg, uint8_t value)
{
    setFlag(kCarry, reg >= value);
    setNZ(uint8_t(reg - value));
}

void Cpu6502::bit(uint8_t value)
{
    p = (p & ~(kNegative | kOverflow | kZero)) | (value & (kNegative | kOverflow)) | ((a & value) ? 0 : kZero);
}

void Cpu6502::addBinary(uint8_t value)
{
    const unsigned sum = a + value + (p & kCarry);
    setFlag(kCarry, sum > 0xFF);
    setFlag(kOverflow, ~(a ^ value) & (a ^ sum) & 0x80);
    setNZ(a = uint8_t(sum));
}

// The NMOS part adjusts each digit after adding it. Z still comes from the
// binary sum, and N and V from the sum once the low digit is adjusted but
// before the high one is; with digits above 9 the results follow the same
// steps, which is what the hardware does with them.
void Cpu6502::addDecimal(uint8_t value)
{
    const int carry = p & kCarry;
    int low = (a & 0x0F) + (value & 0x0F) + carry;
    int high = (a & 0xF0) + (value & 0xF0);
    if (low > 0x09) {
        low += 0x06;
        high += 0x10;
    }
    uint8_t flags = p & ~(kNegative | kOverflow | kZero | kCarry);
    if (uint8_t(a + value + carry) == 0)
        flags |= kZero;
    flags |= high & kNegative;
    if (~(a ^ value) & (a ^ high) & 0x80)
        flags |= kOverflow;
    if (high > 0x90)
        high += 0x60;
    if (high > 0xFF)
        flags |= kCarry;
    p = flags;
    a = uint8_t((high & 0xF0) | (low & 0x0F));
}

// Flags exactly as in binary; only the accumulator is adjusted, digit by digit.
void Cpu6502::subtractDecimal(uint8_t value)
{
    const int borrow = (p & kCarry) ? 0 : 1;
    int low = (a & 0x0F) - (value & 0x0F) - borrow;
    int high = (a & 0xF0) - (value & 0xF0);
    if (low < 0) {
        low -= 0x06;
        high -= 0x10;
    }
    if (high < 0)
        high -= 0x60;
    const uint8_t result = uint8_t((high & 0xF0) | (low & 0x0F));
    addBinary(uint8_t(~value));
    a = result;
}

void Cpu6502::adc(uint8_t value)
{
    if (p & kDecimal)
        addDecimal(value);
    else
        addBinary(value);
}

void Cpu6502::sbc(uint8_t value)
{
    if (p & kDecimal)
        subtractDecimal(value);
    else
        addBinary(uint8_t(~value));
}

uint8_t Cpu6502::asl(uint8_t value)
{
    setFlag(kCarry, value & 0x80);
    value <<= 1;
    setNZ(value);
    return value;
}

uint8_t Cpu6502::lsr(uint8_t value)
{
    setFlag(kCarry, value & 0x01);
    value >>= 1;
    setNZ(value);
    return value;
}

uint8_t Cpu6502::rol(uint8_t value)
{
    const uint8_t carryIn = p & kCarry;
    setFlag(kCarry, value & 0x80);
    value = uint8_t(value << 1 | carryIn);
    setNZ(value);
    return value;
}

uint8_t Cpu6502::ror(uint8_t value)
{
    const uint8_t carryIn = (p & kCarry) << 7;
    setFlag(kCarry, value & 0x01);
    value = uint8_t(value >> 1 | carryIn);
    setNZ(value);
    return value;
}

void Cpu6502::branch(bool taken)
{
    const int8_t offset = int8_t(fetch());
    if (!taken)
        return;
    const uint16_t target = uint16_t(pc + offset);
    cycles += ((target ^ pc) & 0xFF00) ? 2 : 1;
    pc = target;
}

void Cpu6502::interrupt(uint16_t vector, uint16_t returnAddress, bool fromBreak)
{
    pushWord(returnAddress);
    push((p & ~kBreak) | kUnused | (fromBreak ? kBreak : 0));
    p |= kInterruptDisable;
    pc = readWord(vector);
}

void Cpu6502::reset()
{
    halted = false;
    s -= 3;
    p |= kInterruptDisable | kUnused;
    pc = readWord(kResetVector);
    cycles += 7;
}

bool Cpu6502::irq()
{
    if (halted || (p & kInterruptDisable))
        return false;
    interrupt(kIrqVector, pc, false);
    cycles += 7;
    return true;
}

bool Cpu6502::nmi()
{
    if (halted)
        return false;
    interrupt(kNmiVector, pc, false);
    cycles += 7;
    return true;
}

bool Cpu6502::runToPc(uint16_t address, uint64_t maxCycles)
{
    return runUntil([address](const Cpu6502& cpu) { return cpu.pc == address; }, maxCycles);
}

void Cpu6502::run(uint64_t maxCycles)
{
    runUntil([](const Cpu6502&) { return false; }, maxCycles);
}

bool Cpu6502::call(uint16_t address, uint64_t maxCycles)
{
    halted = false;
    const uint8_t stackBefore = s;
    pushWord(kCallReturn - 1);
    pc = address;
    return runUntil(
        [stackBefore](const Cpu6502& cpu) { return cpu.pc == kCallReturn && cpu.s == stackBefore; },
        maxCycles);
}

// The eight addressing modes of the accumulator instructions, in the same
// columns of the opcode table for each of them.
#define READ_GROUP(base, operation)                                         \
    case base + 0x01: operation(read(indexedIndirect())); break;            \
    case base + 0x05: operation(read(zeroPage())); break;                   \
    case base + 0x09: operation(fetch()); break;                            \
    case base + 0x0D: operation(read(absolute())); break;                   \
    case base + 0x11: operation(read(indirectIndexed(true))); break;        \
    case base + 0x15: operation(read(zeroPageIndexed(x))); break;           \
    case base + 0x19: operation(read(absoluteIndexed(y, true))); break;     \
    case base + 0x1D: operation(read(absoluteIndexed(x, true))); break;

#define MODIFY(addressing, operation)                                       \
    {                                                                       \
        const uint16_t address = addressing;                                \
        write(address, operation(read(address)));                           \
    }                                                                       \
    break;

// Shifts, rotations, INC and DEC on memory: zero page, absolute, and both
// indexed by X.
#define MODIFY_GROUP(base, operation)                                       \
    case base + 0x06: MODIFY(zeroPage(), operation)                         \
    case base + 0x0E: MODIFY(absolute(), operation)                         \
    case base + 0x16: MODIFY(zeroPageIndexed(x), operation)                 \
    case base + 0x1E: MODIFY(absoluteIndexed(x, false), operation)

unsigned Cpu6502::step()
{
    if (halted)
        return 0;
    const uint64_t before = cycles;
    const uint8_t opcode = read(pc);
    if (kBaseCycles[opcode] == 0) {
        halted = true;
        return 0;
    }
    ++pc;
    cycles += kBaseCycles[opcode];

    switch (opcode) {
    READ_GROUP(0x00, ora)
    READ_GROUP(0x20, andWith)
    READ_GROUP(0x40, eor)
    READ_GROUP(0x60, adc)
    READ_GROUP(0xA0, lda)
    READ_GROUP(0xC0, cmp)
    READ_GROUP(0xE0, sbc)

    case 0x81: write(indexedIndirect(), a); break;
    case 0x85: write(zeroPage(), a); break;
    case 0x8D: write(absolute(), a); break;
    case 0x91: write(indirectIndexed(false), a); break;
    case 0x95: write(zeroPageIndexed(x), a); break;
    case 0x99: write(absoluteIndexed(y, false), a); break;
    case 0x9D: write(absoluteIndexed(x, false), a); break;

    case 0x86: write(zeroPage(), x); break;
    case 0x8E: write(absolute(), x); break;
    case 0x96: write(zeroPageIndexed(y), x); break;
    case 0x84: write(zeroPage(), y); break;
    case 0x8C: write(absolute(), y); break;
    case 0x94: write(zeroPageIndexed(x), y); break;

    case 0xA2: ldx(fetch()); break;
    case 0xA6: ldx(read(zeroPage())); break;
    case 0xAE: ldx(read(absolute())); break;
    case 0xB6: ldx(read(zeroPageIndexed(y))); break;
    case 0xBE: ldx(read(absoluteIndexed(y, true))); break;
    case 0xA0: ldy(fetch()); break;
    case 0xA4: ldy(read(zeroPage())); break;
    case 0xAC: ldy(read(absolute())); break;
    case 0xB4: ldy(read(zeroPageIndexed(x))); break;
    case 0xBC: ldy(read(absoluteIndexed(x, true))); break;

    case 0xE0: cpx(fetch()); break;
    case 0xE4: cpx(read(zeroPage())); break;
    case 0xEC: cpx(read(absolute())); break;
    case 0xC0: cpy(fetch()); break;
    case 0xC4: cpy(read(zeroPage())); break;
    case 0xCC: cpy(read(absolute())); break;
    case 0x24: bit(read(zeroPage())); break;
    case 0x2C: bit(read(absolute())); break;

    MODIFY_GROUP(0x00, asl)
    MODIFY_GROUP(0x20, rol)
    MODIFY_GROUP(0x40, lsr)
    MODIFY_GROUP(0x60, ror)
    MODIFY_GROUP(0xC0, dec)
    MODIFY_GROUP(0xE0, inc)
    case 0x0A: a = asl(a); break;
    case 0x2A: a = rol(a); break;
    case 0x4A: a = lsr(a); break;
    case 0x6A: a = ror(a); break;

    case 0xE8: setNZ(++x); break;
    case 0xC8: setNZ(++y); break;
    case 0xCA: setNZ(--x); break;
    case 0x88: setNZ(--y); break;
    case 0xAA: setNZ(x = a); break;
    case 0xA8: setNZ(y = a); break;
    case 0x8A: setNZ(a = x); break;
    case 0x98: setNZ(a = y); break;
    case 0xBA: setNZ(x = s); break;
    case 0x9A: s = x; break;

    case 0x48: push(a); break;
    case 0x08: push(p | kBreak | kUnused); break;
    case 0x68: setNZ(a = pull()); break;
    case 0x28: p = (pull() | kUnused) & ~kBreak; break;

    case 0x18: p &= ~kCarry; break;
    case 0x38: p |= kCarry; break;
    case 0x58: p &= ~kInterruptDisable; break;
    case 0x78: p |= kInterruptDisable; break;
    case 0xB8: p &= ~kOverflow; break;
    case 0xD8: p &= ~kDecimal; break;
    case 0xF8: p |= kDecimal; break;

    case 0x10: branch(!(p & kNegative)); break;
    case 0x30: branch(p & kNegative); break;
    case 0x50: branch(!(p & kOverflow)); break;
    case 0x70: branch(p & kOverflow); break;
    case 0x90: branch(!(p & kCarry)); break;
    case 0xB0: branch(p & kCarry); break;
    case 0xD0: branch(!(p & kZero)); break;
    case 0xF0: branch(p & kZero); break;

    case 0x4C: pc = fetchWord(); break;
    case 0x6C: {
        // The pointer's high byte comes from the same page as its low byte.
        const uint16_t pointer = fetchWord();
        pc = read(pointer) | read((pointer & 0xFF00) | uint8_t(pointer + 1)) << 8;
        break;
    }
    case 0x20: {
        const uint16_t target = fetchWord();
        pushWord(uint16_t(pc - 1));
        pc = target;
        break;
    }
    case 0x60: pc = uint16_t(pullWord() + 1); break;
    case 0x40:
        p = (pull() | kUnused) & ~kBreak;
        pc = pullWord();
        break;
    case 0x00: interrupt(kIrqVector, uint16_t(pc + 1), true); break;
    case 0xEA: break;
    default: assert(!"every documented opcode has its case"); break;
    }
    return unsigned(cycles - before);
}
