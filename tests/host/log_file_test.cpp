#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/log.h"
#include "host/log_file.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using testing::readFileBytes;
using testing::TempDir;

TEST(LogFile, FullQueueDropsAndCountsLines) {
    LogLineQueue queue(2);
    EXPECT_TRUE(queue.push("a"));
    EXPECT_TRUE(queue.push("b"));
    EXPECT_FALSE(queue.push("c"));
    EXPECT_FALSE(queue.push("d"));
    std::vector<std::string> lines;
    uint64_t dropped = 0;
    ASSERT_TRUE(queue.take(lines, dropped));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(dropped, 2u);
    EXPECT_TRUE(queue.push("e"));  // room again once the writer took the lines
    queue.stop();
    ASSERT_TRUE(queue.take(lines, dropped));
    EXPECT_EQ(lines, std::vector<std::string>{"e"});
    EXPECT_FALSE(queue.take(lines, dropped));
}

TEST(LogFile, LinesFromEveryThreadAreAppendedWithCrLf) {
    TempDir dir;
    const std::string path = dir.write("wkTarvek.log", "earlier\r\n");
    {
        auto writer = LogFileWriter::open(path);
        ASSERT_TRUE(writer);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&writer, t] {
                for (int i = 0; i < 100; ++i) writer->post("t" + std::to_string(t) + " " + std::to_string(i));
            });
        for (auto& thread : threads) thread.join();
    }
    const std::string text = readFileBytes(path);
    EXPECT_EQ(text.rfind("earlier\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nt3 99\r\n"), std::string::npos);
    size_t lines = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        EXPECT_EQ(text[at - 1], '\r');
        ++lines;
    }
    EXPECT_EQ(lines, 401u);
}

TEST(LogFile, NamedFileBesideTheModuleReceivesTheLog) {
    TempDir dir;
    ASSERT_TRUE(startLogFile(dir.path().string(), "wkTarvek.log"));
    logLine("unknown map 00ff");
    std::string text;
    for (int wait = 0; wait < 200 && text.empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        text = readFileBytes(dir.file("wkTarvek.log"));
    }
    setLogSink(nullptr);
    EXPECT_EQ(text, "unknown map 00ff\r\n");
}

}  // namespace
}  // namespace tarvek
