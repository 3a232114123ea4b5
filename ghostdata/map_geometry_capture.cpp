#include "ghostdata/map_geometry_capture.h"

#include "ghostdata/host_bitmap.h"
#include "ghostdata/map_hash.h"
#include "host/host_layout.h"
#include "host/log.h"

namespace tarvek {
namespace {

// A pre-border capture of the map already held keeps the stored one, unless that one was taken
// by the driver and its world has stopped running.
bool keepStored(const HostMemory& memory, const MapGeometryCapture& stored, HostAddr world,
                HostAddr landscape, const MaskHash& mask, bool isSource) {
    if (!stored.holdsHash() || isSource) return false;
    if (stored.landscape != landscape || stored.world != world || stored.pixels != mask.pixels ||
        stored.width != mask.width || stored.height != mask.height)
        return false;
    if (stored.isSource || !stored.consumed) return true;
    if (world == 0) return false;
    const std::optional<int32_t> frame = memory.readI32(world, host_layout::world::kFrameCounter);
    return frame && *frame > 0;
}

std::string captureLine(std::string_view shortLabel, const MaskHash& mask, uint64_t snapshot,
                        std::string_view detail) {
    std::string line = std::string(shortLabel) + " map geometry hash " + mask.hash + " (" +
                       std::to_string(mask.width) + "x" + std::to_string(mask.height) +
                       ", Landscape+0x914 native 1bpp LSB-first normalized to MSB-first" +
                       ", stride " + std::to_string(mask.stride) + ", " +
                       std::to_string(mask.solidPixels) + " solid pixels, snapshot " +
                       std::to_string(snapshot);
    if (!detail.empty()) line += ", " + std::string(detail);
    return line + ")";
}

}  // namespace

MapGeometryCaptureStore& mapGeometryCaptures() {
    static MapGeometryCaptureStore store;
    return store;
}

void captureMapGeometry(const HostMemory& memory, HostAddr landscape, std::string_view shortLabel,
                        bool isSource, std::string_view detail) noexcept {
    try {
        const std::optional<uint32_t> world = memory.readU32(landscape, host_layout::landscape::kWorld);
        if (!world) return;
        MaskHash mask;
        if (!hashCollisionMask(memory, landscape, mask)) return;

        MapGeometryCaptureStore& store = mapGeometryCaptures();
        uint64_t snapshot;
        {
            std::lock_guard<std::mutex> guard(store.lock);
            ++store.attemptCount;
            if (keepStored(memory, store.capture, *world, landscape, mask, isSource)) return;
            snapshot = ++store.snapshotCount;
            store.capture = {*world, landscape, mask.pixels, mask.width, mask.height, mask.hash,
                             std::string(isSource ? kSourceCaptureLabel : kPreBorderCaptureLabel),
                             snapshot, store.attemptCount, isSource, false};
        }
        logLine(captureLine(shortLabel, mask, snapshot, detail));
    } catch (...) {
        // The hooked host routine goes on whatever happened here.
    }
}

std::string requestedBordersDetail(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    return "requested borders L" + std::to_string(left) + " R" + std::to_string(right) + " T" +
           std::to_string(top) + " B" + std::to_string(bottom);
}

}  // namespace tarvek
