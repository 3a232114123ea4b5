#include <gtest/gtest.h>

#include "host/log.h"
#include "host/settings.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

class RaceTypeDetection : public testing::RaceHostTest {
protected:
    void detectWithByte(int8_t raw) {
        useScheme(raw);
        world.setFrameCounter(1);
        detectRaceType(world.world());
    }
    CapturedLog log;
};

TEST_F(RaceTypeDetection, FiniteCountdownIsBigRR) {
    detectWithByte(0x2D);
    EXPECT_TRUE(raceType().isBigRR);
    EXPECT_EQ(raceType().turnTime, 45u);
    EXPECT_TRUE(log.contains("automatic race type from scheme: BigRR (turn time finite countdown, 45 s)"));
}

TEST_F(RaceTypeDetection, ZeroAndNegativeBytesAreTTRR) {
    detectWithByte(0);
    EXPECT_FALSE(raceType().isBigRR);
    EXPECT_EQ(raceType().turnTime, 0u);
    EXPECT_TRUE(log.contains("automatic race type from scheme: TTRR (turn time unlimited)"));
}

TEST_F(RaceTypeDetection, WaitsForTheFirstFrameAndAReadableScheme) {
    useScheme(30);
    world.setFrameCounter(0);
    detectRaceType(world.world());
    EXPECT_FALSE(raceType().detected);
    EXPECT_TRUE(log.lines().empty());

    host.unmapScheme();
    world.setFrameCounter(5);
    detectRaceType(world.world());
    EXPECT_FALSE(raceType().detected);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(RaceTypeDetection, DetectsOncePerWorldAndStartsFromTheSettingsType) {
    detectWithByte(30);
    useScheme(0);  // a scheme change inside the world is not noticed
    detectRaceType(world.world());
    EXPECT_TRUE(raceType().isBigRR);
    EXPECT_EQ(log.lines().size(), 1u);

    settings().isBigRRAtWorldStart = true;
    sim::SimWorld other(host.space());  // a new world starts from the settings' race type
    detectRaceType(other.world());
    EXPECT_TRUE(raceType().isBigRR);
    EXPECT_EQ(raceType().turnTime, 0u);
    EXPECT_FALSE(raceType().detected);

    forgetRaceTypeDetection();
    other.setFrameCounter(1);
    detectRaceType(other.world());
    EXPECT_FALSE(raceType().isBigRR);
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST_F(RaceTypeDetection, EmptiedSlotsCarryNoDiscipline) {
    raceType().isTrickRace = true;
    settings().isBungeeRaceDefault = true;
    resetDisciplineFlags();
    EXPECT_FALSE(raceType().isTrickRace);
    EXPECT_TRUE(raceType().isBungeeRace);
}

}  // namespace
}  // namespace tarvek
