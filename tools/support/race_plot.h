#pragma once
// The race against the record at a glance: the delta to the ghost in seconds over the live race
// clock in seconds, AHEAD below zero and BEHIND above, the comparison's EVEN band shaded and the
// turn boundaries marked, as an 8-bit PNG.
#include <string>
#include <vector>

namespace tarvek::tools {

struct RacePlot {
    std::string title;
    std::vector<std::pair<double, double>> points;  // (live clock, delta), seconds; delta > 0 is behind
    std::vector<double> turnStarts;                 // live clock, seconds
    double evenBand = 0;                            // |delta| within it counts as EVEN, seconds
};

// False with the reason in error (nothing to plot, or the file could not be written).
bool writeRacePlot(const std::string& path, const RacePlot& plot, std::string& error);

}  // namespace tarvek::tools
