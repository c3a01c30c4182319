// The per-frame controller of the game table: the behaviour of the actor type "camera", run by the frame tick
// after every other actor, and with no actor at all while no game scene runs.
#pragma once

class Actor;

// Placeholder until the table exists: it keeps the voice-over queue running, which the menus and the lessons
// both need; a pending mode switch stops it, as it stops the whole camera.
void CameraBehaviour(Actor* camera);
