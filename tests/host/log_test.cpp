#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "host/log.h"

namespace tarvek {
namespace {

TEST(Log, DiscardsWithoutSinkAndDeliversExactTextWithOne) {
    logLine("nobody hears this");  // no sink: must simply return
    CapturedLog log;
    logLine("loaded 12 frames");
    logLine("");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"loaded 12 frames", ""}));
}

TEST(Log, ThrowingSinkDoesNotEscape) {
    setLogSink([](const std::string&) { throw std::runtime_error("sink failed"); });
    logLine("x");  // an escaping exception would end the program here
    setLogSink(nullptr);
}

TEST(Log, ManyThreadsLoseNoLine) {
    CapturedLog log;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 250; ++i) logLine("t" + std::to_string(t) + " " + std::to_string(i));
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(log.lines().size(), 1000u);
    EXPECT_TRUE(log.contains("t3 249"));
}

}  // namespace
}  // namespace tarvek
