// Parse and plan a 4 MiB unscoped catalog, against a plain line split of the same bytes in the
// same run: std::getline over the text, each line copied out as a std::string. Also reported, as
// the floor no line reader goes below: a split into views with memchr, nothing copied.
// Times are the best of several rounds of thread CPU time, so other load on the machine does not
// land in one side only. Prints one line: bench catalog ratio=R (parse+plan / getline split) ...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "sync/module_catalog.h"
#include "tests/sync/catalog_text.h"

namespace {

using tarvek::testing::fakeSha;
using tarvek::testing::ghostEntries;

// Many player sections, each with world-record and personal-record references drawn from 128
// ghosts (so the plan stays within its asset limit) and the keys the game reads.
std::string buildCatalog(size_t targetBytes, size_t& sections) {
    std::string text = "[Catalog]\nSchemaVersion=1\nGameVersion=3.8.1\n";
    sections = 0;
    while (text.size() < targetBytes) {
        const unsigned n = static_cast<unsigned>(sections);
        std::string section = "[map." + fakeSha(n % 97) + ".bigrr.player." + std::to_string(n) + "]\n" +
                              "WorldRecordPlayerName=Player " + std::to_string(n % 1000) + "\n" +
                              "ChallengeId=" + std::to_string(n * 7919u) + "\n" + ghostEntries("WorldRecord", fakeSha(n % 64)) +
                              ghostEntries("PersonalRecord", fakeSha(64 + n % 64), n % 2 == 0) +
                              "PersonalRecordPlayerName=Someone\n; comment line\n\n";
        if (text.size() + section.size() > targetBytes) break;
        text += section;
        ++sections;
    }
    return text;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Work>
double bestSeconds(int rounds, Work&& work) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const double start = threadCpuSeconds();
        work();
        best = std::min(best, threadCpuSeconds() - start);
    }
    return best;
}

}  // namespace

int main() {
    size_t sections = 0;
    const std::string catalog = buildCatalog(tarvek::kMaxCatalogBytes, sections);
    const int rounds = 15;

    size_t lineCount = 0;
    size_t sink = 0;
    const double splitSeconds = bestSeconds(rounds, [&] {
        std::istringstream in(catalog);
        std::string line;
        size_t count = 0, bytes = 0;
        while (std::getline(in, line)) {
            ++count;
            bytes += line.size();
        }
        lineCount = count;
        sink += bytes;
    });

    std::vector<std::string_view> lines;
    const double viewSplitSeconds = bestSeconds(rounds, [&] {
        lines.clear();
        const std::string_view text = catalog;
        for (size_t begin = 0;;) {
            const size_t end = text.find('\n', begin);
            lines.push_back(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
            if (end == std::string_view::npos) break;
            begin = end + 1;
        }
        sink += lines.size();
    });

    size_t assets = 0;
    const double planSeconds = bestSeconds(rounds, [&] {
        assets = tarvek::checkAndPlanModuleCatalog(catalog, std::nullopt).size();
    });

    const double megabytes = static_cast<double>(catalog.size()) / 1e6;
    std::printf(
        "bench catalog ratio=%.2f parse_plan_mbps=%.0f getline_split_mbps=%.0f view_split_mbps=%.0f "
        "ratio_vs_view_split=%.1f bytes=%zu sections=%zu lines=%zu assets=%zu\n",
        planSeconds / splitSeconds, megabytes / planSeconds, megabytes / splitSeconds, megabytes / viewSplitSeconds,
        planSeconds / viewSplitSeconds, catalog.size(), sections, lineCount, assets);
    return sink == 0;  // the view split ran and counted lines
}
