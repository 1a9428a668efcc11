#pragma once

#include <optional>

#include "game/player/ComponentPlayerControl.h"
#include "physics2d/SystemPhysics.h"

/// The scripted parts of the player's life, started by named triggers and ended by timers:
/// the entrance ("Starting Sequence"), the win ("Play Win Animation") and the two deaths
/// ("Kill Player"). A missing body (nullptr) skips only what needs it.

/// What one update of a sequence asks of the rest of the game.
struct SequenceStep {
    /// The "Walking Speed" audio parameter, when the update sets it.
    std::optional<float> walkingSpeed;
    /// The death is over: ask for the transition that reloads the checkpoint.
    bool reloadCheckpoint = false;
};

/// The entrance: the player comes in behind the scenery (the back z) and is handed the
/// controls at the next update; the front z is restored after "Start Sequence Length".
void BeginEntrance(ComponentPlayerControl& c);
/// Counts the entrance down; true once, when the player must come to the front.
bool StepEntrance(ComponentPlayerControl& c, float dt);

/// The win: no more steering; the horizontal push stops and the speed halves.
void BeginWin(ComponentPlayerControl& c, ComponentPhysics* body);
/// A death: `Death` on the ground (motion stops at once), `FallingDeath` in the air; with a
/// "Death Freeze Time" the body first holds still where it was hit.
void BeginDeath(ComponentPlayerControl& c, ComponentPhysics* body);

/// A restore during a death's hold gives the body its gravity back.
void EndDeathFreeze(ComponentPlayerControl& c, ComponentPhysics* body);

/// One update of the sequence in progress, or nothing when the state is not scripted and
/// ordinary play runs instead. A death that asked for its reload keeps its state and starts
/// its timer again; "Checkpoint Restore" ends it.
std::optional<SequenceStep> StepSequence(ComponentPlayerControl& c, ComponentPhysics* body,
                                         float dt);
