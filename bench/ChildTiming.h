#pragma once

#include <string>
#include <vector>

// What the timing programs share: a start happens once per process, so they start themselves as children and
// read the moments the child printed. The clock is the system's monotonic clock; the parent reads it just before
// the spawn and hands it to the child in the environment, so that loading and static initialisation are counted.
namespace childtiming {

long long nanosecondsNow();
double millisecondsBetween(long long from, long long to);

// In a child: the moment its parent spawned it, or -1 (with a message) when it was not started by childTiming.
long long launchedAt(const char* program);

// Starts this program again with `arguments` in `folder` and returns the `expected` numbers the child printed on
// its standard output, or an empty list when it failed.
std::vector<double> run(const std::vector<std::string>& arguments, const std::string& folder, std::size_t expected);

double median(std::vector<double> values);

} // namespace childtiming
