#include "sim/host_image_layout.h"

#include "host/host_layout.h"

namespace tarvek::sim {
namespace {

namespace image = host_layout::image;

void writeCall(AddressSpace& space, HostAddr base, uint32_t site, uint32_t target) {
    space.writeU8(base + site, image::kCallOpcode);
    space.writeU32(base + site + 1, target - (site + image::kCallSiteSize));
}

template <size_t N>
void writeCode(AddressSpace& space, HostAddr base, uint32_t offset, const std::array<uint8_t, N>& bytes) {
    space.write(base + offset, bytes.data(), bytes.size());
}

}  // namespace

HostAddr layOutHostImage(AddressSpace& space) {
    const HostAddr base = space.allocateImage(kHostImageSize);
    writeCall(space, base, image::kLoadLandDatCallSite, image::kLoadLandDat);
    writeCall(space, base, image::kChatSendCallSite, image::kChatSend);
    writeCall(space, base, image::kTurnTimerColourACallSite, image::kTurnTimerColourA);
    writeCall(space, base, image::kTurnTimerColourBCallSite, image::kTurnTimerColourB);
    writeCall(space, base, image::kTurnTimerDrawCallSite, image::kTurnTimerDraw);
    writeCode(space, base, image::kTurnTimerColourBCheckBefore, image::kTurnTimerColourBBytesBefore);
    writeCode(space, base, image::kTurnTimerColourBCheckAfter, image::kTurnTimerColourBBytesAfter);
    writeCode(space, base, image::kTurnTimerDrawCheckBefore, image::kTurnTimerDrawBytesBefore);
    writeCode(space, base, image::kTurnTimerDrawCheckAfter, image::kTurnTimerDrawBytesAfter);
    space.writeU32(base + image::kWormHandleMessageEntry, base + image::kWormHandleMessage);
    space.writeU32(base + image::kLandscapeInitBordersEntry, base + image::kLandscapeInitBorders);
    space.protect(base, kHostImageSize, protection::ExecuteRead);
    return base;
}

}  // namespace tarvek::sim
