#pragma once

// The wave stage's numbers, each named once; what both stages share is in stage/stage.h.
namespace wave {

constexpr int kFormationSize = 28; // 4 rows of 7 enemies, Enemy(0) to Enemy(27)
constexpr int kLastEnemy = kFormationSize - 1;

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

} // namespace wave
