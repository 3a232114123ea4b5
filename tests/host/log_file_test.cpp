#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "host/log.h"
#include "host/log_file.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

TEST(LogFile, FullQueueDropsAndCountsLines) {
    LogLineQueue queue(2);
    for (const char* line : {"a", "b", "c", "d"}) queue.push(line);
    std::vector<std::string> lines;
    uint64_t dropped = 0;
    ASSERT_TRUE(queue.take(lines, dropped));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(dropped, 2u);
    EXPECT_TRUE(queue.push("e"));  // room again once the writer took the lines
}

TEST(LogFile, LinesFromEveryThreadAreAppendedBesideTheModuleWithCrLf) {
    testing::TempDir dir;
    const std::string path = dir.write("wkTarvek.log", "earlier\r\n");
    ASSERT_TRUE(startLogFile(dir.path().string(), "wkTarvek.log"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i) logLine("t" + std::to_string(t) + " " + std::to_string(i));
        });
    for (auto& thread : threads) thread.join();
    std::string text;
    for (int wait = 0; wait < 300 && std::count(text.begin(), text.end(), '\r') < 401; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        text = testing::readFileBytes(path);
    }
    setLogSink(nullptr);
    EXPECT_EQ(text.rfind("earlier\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nt3 99\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 401);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 401);
}

}  // namespace
}  // namespace tarvek
