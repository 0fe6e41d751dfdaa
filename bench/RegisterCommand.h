#pragma once

#include <benchmark/benchmark.h>

// Registers a command that returns whether it succeeded, timed in real milliseconds; a failure
// stops its benchmark with an error instead of timing a command that did nothing.
template <typename Body>
void Register(const char* name, Body body) {
    benchmark::RegisterBenchmark(name,
                                 [body](benchmark::State& state) {
                                     for (auto _ : state) {
                                         if (!body()) {
                                             state.SkipWithError("the command failed");
                                             break;
                                         }
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->UseRealTime();
}
