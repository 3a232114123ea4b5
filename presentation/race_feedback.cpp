#include "presentation/race_feedback.h"

namespace tarvek {

std::string formatSeconds(int64_t frames, uint32_t framesPerSecond) {
    if (framesPerSecond == 0) return "nan";
    // The magnitude as unsigned: the most negative frame count has no positive twin.
    const uint64_t magnitude = frames < 0 ? uint64_t{0} - static_cast<uint64_t>(frames) : static_cast<uint64_t>(frames);
    uint64_t whole = magnitude / framesPerSecond;
    const uint64_t rest = magnitude % framesPerSecond;
    uint64_t hundredths = (rest * 100 + framesPerSecond / 2) / framesPerSecond;
    if (hundredths >= 100) {
        hundredths = 0;
        ++whole;
    }
    const char* sign = frames < 0 ? "-" : (frames > 0 ? "+" : "");
    const char digits[3] = {static_cast<char>('0' + hundredths / 10), static_cast<char>('0' + hundredths % 10), 0};
    return sign + std::to_string(whole) + "." + digits + "s";
}

FeedbackLine formatFeedbackLine(const std::string& label, bool enabled, int64_t gapFrames) {
    if (!enabled || label.empty()) return {};
    std::string seconds = formatSeconds(gapFrames, kGameFramesPerSecond);
    if (!seconds.empty() && (seconds[0] == '+' || seconds[0] == '-')) seconds.erase(0, 1);
    if (gapFrames > 0) return {label + " " + seconds + " BEHIND", race_status::kBehind};
    if (gapFrames < 0) return {label + " " + seconds + " AHEAD", race_status::kAhead};
    return {label + " " + seconds + " EVEN", race_status::kEven};
}

}  // namespace tarvek
