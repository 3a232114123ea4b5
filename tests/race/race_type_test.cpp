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

TEST_F(RaceTypeDetection, TheSchemeByteGivesTheRaceTypeAndItsLogLine) {
    const struct {
        int8_t byte;
        bool bigRR;
        uint32_t turnTime;
        const char* line;
    } rows[] = {
        {0x2D, true, 45, "automatic race type from scheme: BigRR (turn time finite countdown, 45 s)"},
        {0, false, 0, "automatic race type from scheme: TTRR (turn time unlimited)"},
        {-1, false, 0, "automatic race type from scheme: TTRR (turn time count-up/unlimited, raw 0xFF)"},
    };
    for (const auto& row : rows) {
        forgetRaceTypeDetection();
        detectWithByte(row.byte);
        EXPECT_EQ(raceType().isBigRR, row.bigRR) << row.line;
        EXPECT_EQ(raceType().turnTime, row.turnTime) << row.line;
        EXPECT_TRUE(log.contains(row.line));
    }
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
