#pragma once

#include "tests/support/ProfileTreeBuilder.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What both benchmarks share: the seeded profile, timing and medians.

// The PST display name that the seeded profiles' stores carry.
extern const char* const BenchmarkPst;

// Seeds `profile` with `sections` sections: a hundredth are accounts'
// service and store sections, a tenth carry the PST's name, and a fifth of
// those, the ghosts, are tied to nothing. Returns the number of ghosts.
int SeedProfile(ProfileTreeBuilder& profile, int sections);

// The performance counter now, and the milliseconds since such a reading.
LARGE_INTEGER CounterNow();
double MillisecondsSince(const LARGE_INTEGER& start);
double Milliseconds(const std::function<void()>& work);
double Median(std::vector<double> values);
// Throws std::runtime_error(what) when `condition` is false.
void Expect(bool condition, const char* what);
