// The 6502 core's speed over the public functional suite (about 96 million
// cycles of every instruction): the goal is at least 100 million emulated
// cycles a second, shown as the cycles rate. Reads the suite from the shared
// folder beside the project, or from ZELBUN_6502_TESTS.
#include "core/cpu6502.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> functionalSuite()
{
    const char* dir = std::getenv("ZELBUN_6502_TESTS");
    const std::string path = (dir ? std::string(dir) : std::string(ZELBUN_SOURCE_DIR) + "/../shared/6502-tests") +
                             "/6502_functional_test.bin";
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void BM_FunctionalSuite(benchmark::State& state)
{
    const std::vector<uint8_t> image = functionalSuite();
    if (image.size() != Cpu6502::kMemorySize) {
        state.SkipWithError("6502_functional_test.bin is not in the shared folder");
        return;
    }
    uint64_t cycles = 0;
    for (auto _ : state) {
        Cpu6502 cpu;
        cpu.load(image, 0);
        cpu.pc = 0x0400;
        uint32_t previousPc = ~0u;
        cpu.runUntil(
            [&](const Cpu6502& c) {
                const bool same = c.pc == previousPc;
                previousPc = c.pc;
                return same;
            },
            200'000'000);
        if (cpu.pc != 0x3469)
            state.SkipWithError("the suite failed");
        cycles += cpu.cycles;
    }
    state.counters["cycles"] = benchmark::Counter(double(cycles), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FunctionalSuite)->Unit(benchmark::kMillisecond);

// The first 20 million cycles through call(), as the editor runs a routine,
// with a hook on a page the program leaves alone: pages without a hook must
// not pay for it.
void BM_CallWithHookedPage(benchmark::State& state)
{
    const std::vector<uint8_t> image = functionalSuite();
    if (image.size() != Cpu6502::kMemorySize) {
        state.SkipWithError("6502_functional_test.bin is not in the shared folder");
        return;
    }
    uint64_t cycles = 0;
    for (auto _ : state) {
        Cpu6502 cpu;
        cpu.load(image, 0);
        unsigned hardwareReads = 0;
        cpu.setReadHook(0xD0, 0xD0, [&](uint16_t) { return uint8_t(++hardwareReads); });
        cpu.call(0x0400, 20'000'000);
        cycles += cpu.cycles;
        benchmark::DoNotOptimize(hardwareReads);
    }
    state.counters["cycles"] = benchmark::Counter(double(cycles), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CallWithHookedPage)->Unit(benchmark::kMillisecond);

} // namespace
