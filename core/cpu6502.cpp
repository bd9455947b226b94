#include "core/cpu6502.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#if defined(__GNUC__)
#define ZELBUN_INLINE inline __attribute__((always_inline))
#else
#define ZELBUN_INLINE inline
#endif

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

// Instructions run on a copy of the registers held in a local object, which
// the compiler keeps in machine registers: a byte stored into the 6502's
// memory might alias anything a pointer reaches, but never an object whose
// address does not leave the function. Every member is inlined into the
// loop that runs it (step() or call()), and save() hands the registers back.
// N, Z and C are kept apart, as the values they come from, and make up the
// status byte only when it is pushed or handed back. Hooked chooses
// accesses through the processor's hooks or straight to its memory.
template <bool Hooked>
class CpuRun {
public:
    explicit CpuRun(Cpu6502& cpu)
        : a(cpu.a), x(cpu.x), y(cpu.y), s(cpu.s), pc(cpu.pc), cycles(cpu.cycles), cpu_(cpu), memory_(cpu.memory_)
    {
        setStatus(cpu.p);
    }

    void save()
    {
        cpu_.a = a;
        cpu_.x = x;
        cpu_.y = y;
        cpu_.s = s;
        cpu_.p = status();
        cpu_.pc = pc;
        cpu_.cycles = cycles;
    }

    // One instruction; false, with nothing done, at an undocumented opcode
    // (it counts no cycles).
    ZELBUN_INLINE bool step()
    {
        const uint8_t opcode = read(pc++);
        cycles += kBaseCycles[opcode];
        return execute(opcode);
    }

    uint8_t a, x, y, s;
    uint16_t pc;
    uint64_t cycles;

private:
    static constexpr uint8_t kCarry = Cpu6502::kCarry;
    static constexpr uint8_t kZero = Cpu6502::kZero;
    static constexpr uint8_t kInterruptDisable = Cpu6502::kInterruptDisable;
    static constexpr uint8_t kDecimal = Cpu6502::kDecimal;
    static constexpr uint8_t kBreak = Cpu6502::kBreak;
    static constexpr uint8_t kUnused = Cpu6502::kUnused;
    static constexpr uint8_t kOverflow = Cpu6502::kOverflow;
    static constexpr uint8_t kNegative = Cpu6502::kNegative;

    ZELBUN_INLINE uint8_t read(uint16_t address)
    {
        if (Hooked && (cpu_.hookedPages_[address >> 8] & Cpu6502::kReadHooked))
            return cpu_.hookedRead(address);
        return memory_[address];
    }
    ZELBUN_INLINE void write(uint16_t address, uint8_t value)
    {
        if (Hooked && (cpu_.hookedPages_[address >> 8] & Cpu6502::kWriteHooked))
            cpu_.hookedWrite(address, value);
        else
            memory_[address] = value;
    }

    ZELBUN_INLINE uint8_t fetch() { return read(pc++); }
    ZELBUN_INLINE uint16_t fetchWord()
    {
        const uint8_t low = fetch();
        return uint16_t(low | fetch() << 8);
    }
    ZELBUN_INLINE uint16_t zeroPageWord(uint8_t address)
    {
        return uint16_t(read(address) | read(uint8_t(address + 1)) << 8);
    }
    ZELBUN_INLINE void push(uint8_t value) { write(0x100 | s--, value); }
    ZELBUN_INLINE uint8_t pull() { return read(0x100 | ++s); }
    ZELBUN_INLINE void pushWord(uint16_t value)
    {
        push(uint8_t(value >> 8));
        push(uint8_t(value));
    }
    ZELBUN_INLINE uint16_t pullWord()
    {
        const uint8_t low = pull();
        return uint16_t(low | pull() << 8);
    }

    // Effective addresses; the indexed reads count a cycle more when the
    // index carries into the next page.
    ZELBUN_INLINE uint16_t zeroPage() { return fetch(); }
    ZELBUN_INLINE uint16_t zeroPageIndexed(uint8_t index) { return uint8_t(fetch() + index); }
    ZELBUN_INLINE uint16_t absolute() { return fetchWord(); }
    ZELBUN_INLINE uint16_t absoluteIndexed(uint8_t index, bool forRead)
    {
        const uint16_t base = fetchWord();
        const uint16_t address = uint16_t(base + index);
        addPageCrossing(base, address, forRead);
        return address;
    }
    ZELBUN_INLINE uint16_t indexedIndirect() { return zeroPageWord(uint8_t(fetch() + x)); }
    ZELBUN_INLINE uint16_t indirectIndexed(bool forRead)
    {
        const uint16_t base = zeroPageWord(fetch());
        const uint16_t address = uint16_t(base + y);
        addPageCrossing(base, address, forRead);
        return address;
    }
    ZELBUN_INLINE void addPageCrossing(uint16_t base, uint16_t address, bool forRead)
    {
        if (forRead && ((base ^ address) & 0xFF00))
            ++cycles;
    }

    ZELBUN_INLINE uint8_t status() const
    {
        return uint8_t((p & ~(kNegative | kZero | kCarry)) | (n_ & kNegative) | (z_ ? 0 : kZero) | c_);
    }
    ZELBUN_INLINE void setStatus(uint8_t value)
    {
        p = value;
        n_ = value;
        z_ = (value & kZero) ? 0 : 1;
        c_ = value & kCarry;
    }
    ZELBUN_INLINE void setNZ(uint8_t value) { n_ = z_ = value; }
    ZELBUN_INLINE void setOverflow(bool on) { p = on ? p | kOverflow : p & ~kOverflow; }

    ZELBUN_INLINE void ora(uint8_t value) { setNZ(a |= value); }
    ZELBUN_INLINE void andWith(uint8_t value) { setNZ(a &= value); }
    ZELBUN_INLINE void eor(uint8_t value) { setNZ(a ^= value); }
    ZELBUN_INLINE void lda(uint8_t value) { setNZ(a = value); }
    ZELBUN_INLINE void ldx(uint8_t value) { setNZ(x = value); }
    ZELBUN_INLINE void ldy(uint8_t value) { setNZ(y = value); }
    ZELBUN_INLINE void cmp(uint8_t value) { compare(a, value); }
    ZELBUN_INLINE void cpx(uint8_t value) { compare(x, value); }
    ZELBUN_INLINE void cpy(uint8_t value) { compare(y, value); }
    ZELBUN_INLINE void compare(uint8_t reg, uint8_t value)
    {
        c_ = reg >= value;
        setNZ(uint8_t(reg - value));
    }
    ZELBUN_INLINE void bit(uint8_t value)
    {
        n_ = value;
        z_ = a & value;
        setOverflow(value & kOverflow);
    }

    ZELBUN_INLINE void addBinary(uint8_t value)
    {
        const unsigned sum = a + value + c_;
        c_ = sum > 0xFF;
        setOverflow(~(a ^ value) & (a ^ sum) & 0x80);
        setNZ(a = uint8_t(sum));
    }

    // The NMOS part adjusts each digit after adding it. Z still comes from
    // the binary sum, and N and V from the sum once the low digit is
    // adjusted but before the high one is; with digits above 9 the results
    // follow the same steps, which is what the hardware does with them.
    ZELBUN_INLINE void addDecimal(uint8_t value)
    {
        const int carry = c_;
        int low = (a & 0x0F) + (value & 0x0F) + carry;
        int high = (a & 0xF0) + (value & 0xF0);
        if (low > 0x09) {
            low += 0x06;
            high += 0x10;
        }
        z_ = uint8_t(a + value + carry);
        n_ = uint8_t(high);
        setOverflow(~(a ^ value) & (a ^ high) & 0x80);
        if (high > 0x90)
            high += 0x60;
        c_ = high > 0xFF;
        a = uint8_t((high & 0xF0) | (low & 0x0F));
    }

    // Flags exactly as in binary; only the accumulator is adjusted, digit
    // by digit.
    ZELBUN_INLINE void subtractDecimal(uint8_t value)
    {
        const int borrow = 1 - c_;
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

    ZELBUN_INLINE void adc(uint8_t value)
    {
        if (p & kDecimal)
            addDecimal(value);
        else
            addBinary(value);
    }
    ZELBUN_INLINE void sbc(uint8_t value)
    {
        if (p & kDecimal)
            subtractDecimal(value);
        else
            addBinary(uint8_t(~value));
    }

    ZELBUN_INLINE uint8_t asl(uint8_t value)
    {
        c_ = value >> 7;
        value = uint8_t(value << 1);
        setNZ(value);
        return value;
    }
    ZELBUN_INLINE uint8_t lsr(uint8_t value)
    {
        c_ = value & 0x01;
        value >>= 1;
        setNZ(value);
        return value;
    }
    ZELBUN_INLINE uint8_t rol(uint8_t value)
    {
        const uint8_t carryIn = c_;
        c_ = value >> 7;
        value = uint8_t(value << 1 | carryIn);
        setNZ(value);
        return value;
    }
    ZELBUN_INLINE uint8_t ror(uint8_t value)
    {
        const uint8_t carryIn = uint8_t(c_ << 7);
        c_ = value & 0x01;
        value = uint8_t(value >> 1 | carryIn);
        setNZ(value);
        return value;
    }
    ZELBUN_INLINE uint8_t inc(uint8_t value)
    {
        setNZ(++value);
        return value;
    }
    ZELBUN_INLINE uint8_t dec(uint8_t value)
    {
        setNZ(--value);
        return value;
    }

    ZELBUN_INLINE void branch(bool taken)
    {
        const int8_t offset = int8_t(fetch());
        if (!taken)
            return;
        const uint16_t target = uint16_t(pc + offset);
        cycles += ((target ^ pc) & 0xFF00) ? 2 : 1;
        pc = target;
    }

    ZELBUN_INLINE bool execute(uint8_t opcode);

    uint8_t p;       // the status but for N, Z and C:
    uint8_t n_;      // bit 7 is N
    uint8_t z_;      // Z is set when this is 0
    uint8_t c_;      // C, 0 or 1
    Cpu6502& cpu_;
    uint8_t* const memory_;
};

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

template <bool Hooked>
ZELBUN_INLINE bool CpuRun<Hooked>::execute(uint8_t opcode)
{
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
    case 0x08: push(status() | kBreak | kUnused); break;
    case 0x68: setNZ(a = pull()); break;
    case 0x28: setStatus((pull() | kUnused) & ~kBreak); break;

    case 0x18: c_ = 0; break;
    case 0x38: c_ = 1; break;
    case 0x58: p &= ~kInterruptDisable; break;
    case 0x78: p |= kInterruptDisable; break;
    case 0xB8: p &= ~kOverflow; break;
    case 0xD8: p &= ~kDecimal; break;
    case 0xF8: p |= kDecimal; break;

    case 0x10: branch(!(n_ & kNegative)); break;
    case 0x30: branch(n_ & kNegative); break;
    case 0x50: branch(!(p & kOverflow)); break;
    case 0x70: branch(p & kOverflow); break;
    case 0x90: branch(!c_); break;
    case 0xB0: branch(c_); break;
    case 0xD0: branch(z_); break;
    case 0xF0: branch(!z_); break;

    case 0x4C: pc = fetchWord(); break;
    case 0x6C: {
        // The pointer's high byte comes from the same page as its low byte.
        const uint16_t pointer = fetchWord();
        pc = uint16_t(read(pointer) | read((pointer & 0xFF00) | uint8_t(pointer + 1)) << 8);
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
        setStatus((pull() | kUnused) & ~kBreak);
        pc = pullWord();
        break;
    case 0x00:
        // BRK: the return address skips the byte after the opcode.
        pushWord(uint16_t(pc + 1));
        push(status() | kUnused | kBreak);
        p |= kInterruptDisable;
        pc = uint16_t(read(Cpu6502::kIrqVector) | read(Cpu6502::kIrqVector + 1) << 8);
        break;
    case 0xEA: break;
    default:
        assert(kBaseCycles[opcode] == 0 && "every documented opcode has its case");
        --pc;
        return false;
    }
    return true;
}

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

void Cpu6502::interrupt(uint16_t vector, uint16_t returnAddress, bool fromBreak)
{
    push(uint8_t(returnAddress >> 8));
    push(uint8_t(returnAddress));
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

unsigned Cpu6502::step()
{
    if (halted)
        return 0;
    CpuRun<true> run(*this);
    if (!run.step()) {
        halted = true;
        return 0;
    }
    const uint64_t before = cycles;
    run.save();
    return unsigned(cycles - before);
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
    push(uint8_t((kCallReturn - 1) >> 8));
    push(uint8_t(kCallReturn - 1));
    pc = address;
    if (hooks_)
        return runUntil(
            [stackBefore](const Cpu6502& cpu) { return cpu.pc == kCallReturn && cpu.s == stackBefore; },
            maxCycles);
    // No hook was ever set: the same steps on plain memory.
    CpuRun<false> run(*this);
    const uint64_t end = cycles + std::min(maxCycles, ~uint64_t(0) - cycles);
    bool returned = false;
    for (;;) {
        if (run.pc == kCallReturn && run.s == stackBefore) {
            returned = true;
            break;
        }
        if (run.cycles >= end)
            break;
        if (!run.step()) {
            halted = true;
            break;
        }
    }
    run.save();
    return returned;
}
