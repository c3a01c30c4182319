// The CPU's attack choice, the small fight tests it and its blocking weigh creatures with, and the ranking of
// the creatures a given amount of damage would kill.
#pragma once

class CardActor;

// Declares the CPU's attackers; true when at least one attacks.
bool CpuDeclareAttackers();

// Fight tests of creature a against creature b: powers against remaining toughness (shields counted, pending
// combat damage subtracted), with first strike deciding who hits first.
bool FirstKillsSecondAndSurvives(const CardActor* a, const CardActor* b);
bool FirstSurvivesSecond(const CardActor* a, const CardActor* b);
bool FirstTradesWithSecond(const CardActor* a, const CardActor* b);
bool SecondKillsFirstAndSurvives(const CardActor* a, const CardActor* b);
bool CreaturesTrade(const CardActor* a, const CardActor* b);
bool SecondSurvivesFirst(const CardActor* a, const CardActor* b);
bool FirstKillsSecond(const CardActor* a, const CardActor* b);

// The owner's creature on the table with the greatest rank (toughness, cost, flying, id, tap state, creation)
// below the previous one's that the damage amount would kill; none when the walk is over. requirePositive
// leaves out creatures that already die from what the stack aims at them.
CardActor* FindKillableCreature(bool ignoreShields, int amount, int owner, const CardActor* previous,
                                bool requirePositive);
