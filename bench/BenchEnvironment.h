#pragma once

#include "fakes/TestEnvironment.h"

#include <functional>
#include <memory>

/// One seeded program folder at a time, kept across the repetitions of a benchmark: Google Benchmark calls a
/// benchmark function several times while it settles on an iteration count, and seeding 100,000 rows each time
/// would cost more than the measurement. A different key (what was seeded, and how much) starts afresh.
class BenchEnvironment
{
public:
    static TestEnvironment& get(const QString& key, const std::function<void()>& seed)
    {
        if (!env() || current() != key) {
            env().reset();
            env() = std::make_unique<TestEnvironment>();
            current() = key;
            seed();
        }
        return *env();
    }
    /// Ends the last one while the application still runs: its tables close before the database driver goes.
    static void release()
    {
        env().reset();
        current().clear();
    }

private:
    static std::unique_ptr<TestEnvironment>& env()
    {
        static std::unique_ptr<TestEnvironment> instance;
        return instance;
    }
    static QString& current()
    {
        static QString key;
        return key;
    }
};
