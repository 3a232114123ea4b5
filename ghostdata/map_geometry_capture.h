#pragma once
// The collision mask hash captured by the landscape hooks while the host builds a map, kept for
// the frame driver that settles the map hash. One instance, guarded by the capture lock.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr std::string_view kSourceCaptureLabel = "LoadLandDat source collision mask";
inline constexpr std::string_view kPreBorderCaptureLabel = "InitBorders pre-border collision mask";

struct MapGeometryCapture {
    HostAddr world = 0;
    HostAddr landscape = 0;
    HostAddr pixels = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::string hash;    // empty: no capture held
    std::string source;  // one of the two labels above
    uint64_t snapshot = 0;
    uint64_t attempt = 0;
    bool isSource = false;
    bool consumed = false;

    bool holdsHash() const { return !hash.empty(); }
};

struct MapGeometryCaptureStore {
    std::mutex lock;  // the capture lock
    MapGeometryCapture capture;
    uint64_t snapshotCount = 0;  // captures stored
    uint64_t attemptCount = 0;   // masks hashed, stored or not
};

MapGeometryCaptureStore& mapGeometryCaptures();

// Called from the landscape hooks: ("source", true, ...) at LoadLandDat's return and
// ("pre-border", false, "requested borders L.. R.. T.. B..") at InitBorders. Never throws.
void captureMapGeometry(const HostMemory& memory, HostAddr landscape, std::string_view shortLabel,
                        bool isSource, std::string_view detail) noexcept;

// "requested borders L1 R2 T3 B4": the detail text of the pre-border capture.
std::string requestedBordersDetail(int32_t left, int32_t right, int32_t top, int32_t bottom);

}  // namespace tarvek
