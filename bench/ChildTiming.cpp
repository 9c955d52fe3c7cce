#include "bench/ChildTiming.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char** environ;

namespace childtiming {

namespace {

constexpr const char* LaunchVariable = "ORVELLA_BENCH_LAUNCHED_NS";

std::string ownProgram() {
    char resolved[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    return length > 0 ? std::string(resolved, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

long long nanosecondsNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double millisecondsBetween(long long from, long long to) {
    return static_cast<double>(to - from) / 1e6;
}

long long launchedAt(const char* program) {
    const char* launched = std::getenv(LaunchVariable);
    if (launched == nullptr) {
        std::fprintf(stderr, "%s: the child needs %s\n", program, LaunchVariable);
        return -1;
    }
    return std::atoll(launched);
}

std::vector<double> run(const std::vector<std::string>& arguments, const std::string& folder, std::size_t expected) {
    const std::string self = ownProgram();
    int output[2];
    if (self.empty() || pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    // The program is started in its data folder.
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, LaunchVariable, std::strlen(LaunchVariable)) != 0)
            environment.emplace_back(*entry);
    }
    std::vector<char*> environmentPointers;
    for (std::string& entry : environment)
        environmentPointers.push_back(entry.data());
    std::string launchEntry = std::string(LaunchVariable) + "=";
    environmentPointers.push_back(nullptr); // the launch entry takes this place below
    environmentPointers.push_back(nullptr);

    std::vector<std::string> words = {self};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argumentPointers;
    for (std::string& word : words)
        argumentPointers.push_back(word.data());
    argumentPointers.push_back(nullptr);

    launchEntry += std::to_string(nanosecondsNow());
    environmentPointers[environmentPointers.size() - 2] = launchEntry.data();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, self.c_str(), &actions, nullptr, argumentPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        return {};
    }

    std::string text;
    std::array<char, 256> buffer{};
    ssize_t got = 0;
    while ((got = read(output[0], buffer.data(), buffer.size())) > 0)
        text.append(buffer.data(), static_cast<std::size_t>(got));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::istringstream numbers(text);
    std::vector<double> values;
    double value = 0;
    while (numbers >> value)
        values.push_back(value);
    return values.size() == expected ? values : std::vector<double>{};
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace childtiming
