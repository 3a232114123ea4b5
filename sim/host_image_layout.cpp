#include "sim/host_image_layout.h"

#include "host/host_layout.h"

namespace tarvek::sim {
namespace {

namespace image = host_layout::image;

template <size_t N>
void writeCode(AddressSpace& space, HostAddr base, uint32_t offset, const std::array<uint8_t, N>& bytes) {
    space.write(base + offset, bytes.data(), bytes.size());
}

}  // namespace

void writeCall(AddressSpace& space, HostAddr site, HostAddr target) {
    space.writeU8(site, image::kCallOpcode);
    space.writeU32(site + 1, target - (site + image::kCallSiteSize));
}

void writeCall(AddressSpace& space, HostAddr base, uint32_t site, uint32_t target) {
    writeCall(space, base + site, base + target);
}

HostAddr callTarget(const AddressSpace& space, HostAddr base, uint32_t site) {
    return base + site + image::kCallSiteSize + space.readU32(base + site + 1);
}

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
    for (uint32_t entry = 0; entry < image::kDisplayClassTableSpan; entry += 4)
        space.writeU32(base + image::kDisplayClassTable + entry, hostDisplayRoutine(base, entry));
    space.protect(base, kHostImageSize, protection::ExecuteRead);
    return base;
}

}  // namespace tarvek::sim
