#pragma once

// The boss stage's numbers, each named once; what both stages share is in stage/stage.h.
namespace boss {

constexpr int kBossParts = 73; // BossPart(0) to BossPart(72)
constexpr int kLastPart = kBossParts - 1;

// Parts with a role of their own.
constexpr int kCore = 5;            // a shot into it sets off the blast
constexpr int kWrapReference = 47;  // the edge wrap re-places the boss by this part
constexpr int kLowerRightPart = 68; // a boss with this part past the left edge is pulled back
constexpr int kMinigunGate = 48;    // the minigun counts down only while this part stands
constexpr int kSprayMuzzle = 57;    // the spray falls from under this part
constexpr int kLeftEmitter = 54;    // the beams fire from these two
constexpr int kRightEmitter = 61;
constexpr int kLeftLauncher[] = {45, 46, 56}; // the missile launchers under the sights
constexpr int kRightLauncher[] = {50, 51, 59};

// Movement.
constexpr float kBossStep = 25;        // twips the body and the sights move per tick
constexpr float kRightTurnLine = 9000; // an intact part right of this turns the boss left
constexpr float kLeftTurnLine = 100;   // and one left of this turns it right
constexpr float kWrapLeft = -100;      // a wrapped boss comes back with part 47 at this Left

// Shots.
constexpr double kPartScore = 200; // points per part shot away; the core pays nothing

// The blast about a point near the top of the window.
constexpr float kRingGrowWidth = 500;   // twips the outer ring widens per blast tick
constexpr float kRingGrowHeight = 250;  // and grows taller
constexpr float kBlastCentreDepth = 6;  // the centre stands a sixth of the window's height down
constexpr float kBlastEndMargin = 1000; // the blast ends once the ring comes this close to the ship

// Shields.
constexpr double kBeamDamage = 25;    // shield points per beam tick on the ship
constexpr double kMissileDamage = 50; // per missile that reaches the ship
constexpr double kSprayDamage = 10;   // per spray tick on the ship
constexpr double kLastShield = 1;     // shields below this cost a life
constexpr const char* kFullShields = "100";

// Weapons.
constexpr double kFullCharge = 10;           // the beams fire once the charge count passes this
constexpr double kFiringTicks = 5;           // and stop once the firing count passes this
constexpr const char* kNoCount = "0";        // where both beam counts start over
constexpr const char* kSprayCountdown = "3"; // minigun ticks to the next spray
constexpr double kSprayNow = 0;              // the countdown that releases the spray
constexpr float kMuzzleOffset = 120;         // the spray leaves this far right of the muzzle's left
constexpr float kSprayDrop = 50;             // twips the spray falls per tick
constexpr float kMissileSlew = 100;          // twips the missile steers sideways per tick
constexpr float kMissileDrop = 50;           // twips the missile falls per tick
constexpr int kLeftLaunchPoint = 56;         // the missile leaves from these, even once destroyed
constexpr int kRightLaunchPoint = 59;

} // namespace boss
