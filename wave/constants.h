#pragma once

// The wave stage's numbers, each named once; what both stages share is in stage/stage.h.
namespace wave {

constexpr int kFormationSize = 28; // 4 rows of 7 enemies, Enemy(0) to Enemy(27)
constexpr int kLastEnemy = kFormationSize - 1;

// The formation's starting grid, index = row * 7 + column; every wave starts from it.
constexpr int kColumns = 7;
constexpr float kColumnLeft[] = {120, 1320, 2520, 3720, 4920, 6120, 7320};
constexpr float kRowTop[] = {100, 1000, 2000, 3000};

// March.
constexpr float kRevivalLine = 100;    // a dead enemy carried below this comes back to life
constexpr float kMarchStep = 50;       // twips every enemy moves sideways per tick
constexpr float kRightTurnLine = 9000; // a living enemy right of this turns the block left
constexpr float kLeftTurnLine = 200;   // and one left of this turns it right
constexpr float kTurnDrop = 150;       // the block drops this much per turning enemy
constexpr float kBottomLine = 5400;    // a living enemy below this has reached the ship's row
constexpr float kPushBack = 3000;      // which costs a life and lifts the whole block this much

// Shots.
constexpr float kKillLift = 3600;        // a killed enemy is lifted out of sight by this much
constexpr int kFastMarchInterval = 31;   // a left march faster than this (ms) pays the high score
constexpr double kFastKillScore = 2000;  // points per kill at the fastest march
constexpr double kKillScoreFactor = 100; // otherwise a kill pays Level times this

// Bombs.
constexpr float kBombStep = 100;       // twips the bomb falls per tick
constexpr float kBombSpentLine = 6500; // a bomb below this is spent

// The next wave after a boss: each timer above its limit is shortened and counts as a step up;
// one at or below it is set to its floor.
struct Speedup {
    int above;
    int by;
    int floor;
};
constexpr Speedup kMarchSpeedup{50, 25, 30};   // tmrAliensLeft and tmrAliensRight
constexpr Speedup kBombSpeedup{25, 25, 1};     // tmrBomb
constexpr Speedup kBombWaitSpeedup{50, 50, 1}; // bombwait
constexpr double kLevelBonus = 1000;           // a cleared boss pays the level times this
constexpr double kTopBonus = 50000;            // once nothing could be shortened
constexpr const char* kTopLevel = "MAX!!";     // and the level reads this from then on
constexpr float kMarchMidLine = 5000; // a block left at or right of this resumes marching left

} // namespace wave
