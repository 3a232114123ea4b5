#include <gtest/gtest.h>

#include <stdexcept>
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

}  // namespace
}  // namespace tarvek
