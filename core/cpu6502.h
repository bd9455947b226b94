// An NMOS 6502 processor: every documented instruction and addressing mode,
// flags and decimal arithmetic as the NMOS part computes them, and cycle
// counts with the extra cycles for page crossings and taken branches. The
// editor runs the game's own rules routines on it (see call()).
//
// Undocumented opcodes halt the processor: step() leaves every register as it
// was, pc on the opcode, sets `halted` and counts no cycles; it stays halted
// (interrupts ignored) until reset(), call() or the embedder clears `halted`.
// The game uses none, so meeting one means the program went astray.
//
// Memory is a flat 64 KiB, the processor's own or the embedder's. Hooks per
// 256-byte page catch an embedder's hardware addresses; pages without a hook
// cost one table look-up per access, and a processor that never had a hook
// runs call() on its plain memory without even that. Instructions make only
// the accesses they mean: no dummy reads and no double writes of
// read-modify-write instructions reach a hook. A hook runs in the middle of
// an instruction: the registers it could see are those from before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Cpu6502 {
public:
    static constexpr uint8_t kCarry = 0x01;
    static constexpr uint8_t kZero = 0x02;
    static constexpr uint8_t kInterruptDisable = 0x04;
    static constexpr uint8_t kDecimal = 0x08;
    static constexpr uint8_t kBreak = 0x10;  // only in copies pushed by BRK and PHP
    static constexpr uint8_t kUnused = 0x20; // always reads as set
    static constexpr uint8_t kOverflow = 0x40;
    static constexpr uint8_t kNegative = 0x80;

    static constexpr uint16_t kNmiVector = 0xFFFA;
    static constexpr uint16_t kResetVector = 0xFFFC;
    static constexpr uint16_t kIrqVector = 0xFFFE;

    // Where a routine started by call() returns to: call() pushes this
    // address minus one, as a JSR would, and stops before running it.
    static constexpr uint16_t kCallReturn = 0xFFFF;

    static constexpr size_t kMemorySize = 0x10000;

    using ReadHook = std::function<uint8_t(uint16_t address)>;
    using WriteHook = std::function<void(uint16_t address, uint8_t value)>;

    // With memory of its own, all zeros.
    Cpu6502();
    // With the embedder's kMemorySize bytes, which must outlive the processor.
    explicit Cpu6502(uint8_t* memory);
    Cpu6502(const Cpu6502&) = delete;
    Cpu6502& operator=(const Cpu6502&) = delete;
    ~Cpu6502();

    uint8_t a = 0;
    uint8_t x = 0;
    uint8_t y = 0;
    uint8_t s = 0xFD;
    uint8_t p = kUnused | kInterruptDisable;
    uint16_t pc = 0;
    uint64_t cycles = 0;
    bool halted = false; // an undocumented opcode at pc stopped the processor

    // Runs one instruction; returns its cycles (0 when halted).
    unsigned step();

    // Runs instructions until `stop(*this)` holds before one (true), the
    // processor halts or at least `maxCycles` have passed (false).
    template <class Stop>
    bool runUntil(Stop stop, uint64_t maxCycles);
    bool runToPc(uint16_t address, uint64_t maxCycles);
    void run(uint64_t maxCycles);

    // Runs the subroutine at `address` as if JSR'd from outside the program,
    // until its RTS comes back to kCallReturn with the stack as it was
    // before. True when it returned within `maxCycles`; otherwise the
    // registers and stack stay where the routine was stopped. Clears
    // `halted`; the registers a, x, y and p go in as they are.
    bool call(uint16_t address, uint64_t maxCycles);

    // The power-on and reset sequence: the stack pointer three lower,
    // interrupts disabled, pc from the reset vector, 7 cycles.
    void reset();
    // An interrupt request, taken at once unless interrupts are disabled or
    // the processor halted; true when taken (7 cycles).
    bool irq();
    // A non-maskable interrupt, taken at once unless halted (7 cycles).
    bool nmi();

    // Accesses as the processor makes them, through any hooks.
    uint8_t read(uint16_t address)
    {
        if (hookedPages_[address >> 8] & kReadHooked)
            return hookedRead(address);
        return memory_[address];
    }
    void write(uint16_t address, uint8_t value)
    {
        if (hookedPages_[address >> 8] & kWriteHooked)
            hookedWrite(address, value);
        else
            memory_[address] = value;
    }
    uint16_t readWord(uint16_t address) { return read(address) | read(uint16_t(address + 1)) << 8; }

    // The plain memory, past every hook.
    uint8_t* memory() { return memory_; }
    const uint8_t* memory() const { return memory_; }
    void load(const uint8_t* bytes, size_t size, uint16_t address);
    void load(const std::vector<uint8_t>& bytes, uint16_t address) { load(bytes.data(), bytes.size(), address); }

    // Sends the processor's reads (writes) of pages firstPage..lastPage
    // (address >> 8, both included) to `hook`; an empty hook removes it.
    // A hook reaches the plain memory through memory() when it wants.
    void setReadHook(uint8_t firstPage, uint8_t lastPage, ReadHook hook);
    void setWriteHook(uint8_t firstPage, uint8_t lastPage, WriteHook hook);

private:
    template <bool Hooked>
    friend class CpuRun;

    static constexpr uint8_t kReadHooked = 1;
    static constexpr uint8_t kWriteHooked = 2;
    struct Hooks {
        ReadHook reads[256];
        WriteHook writes[256];
    };

    uint8_t hookedRead(uint16_t address);
    void hookedWrite(uint16_t address, uint8_t value);
    void push(uint8_t value) { write(0x100 | s--, value); }
    void interrupt(uint16_t vector, uint16_t returnAddress, bool fromBreak);

    std::unique_ptr<uint8_t[]> ownMemory_;
    uint8_t* memory_;
    uint8_t hookedPages_[256] = {};
    std::unique_ptr<Hooks> hooks_;
};

template <class Stop>
bool Cpu6502::runUntil(Stop stop, uint64_t maxCycles)
{
    const uint64_t start = cycles;
    for (;;) {
        if (stop(static_cast<const Cpu6502&>(*this)))
            return true;
        if (halted || cycles - start >= maxCycles)
            return false;
        step();
    }
}
