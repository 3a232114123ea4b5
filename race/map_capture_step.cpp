#include "race/map_capture_step.h"

#include <mutex>

#include "ghostdata/map_geometry_capture.h"

namespace tarvek {

void dropStaleMapCapture(HostAddr world, HostAddr landscape, bool newEpoch, uint64_t& lastSeenSequence) {
    MapGeometryCaptureStore& store = mapGeometryCaptures();
    std::lock_guard<std::mutex> hold(store.lock);
    MapGeometryCapture& capture = store.capture;
    if (capture.holdsHash()) {
        const bool otherMap = capture.world != world || capture.landscape != landscape;
        // A new epoch on the same world keeps only a capture taken after the driver last looked.
        const bool fromEarlierEpoch = newEpoch && capture.snapshot <= lastSeenSequence;
        if (otherMap || fromEarlierEpoch) capture = MapGeometryCapture{};
    }
    lastSeenSequence = store.snapshotCount;
}

}  // namespace tarvek
