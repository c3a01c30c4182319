// What the table draws on and around a card on the mat: its attachments, damage, power and toughness, and
// keyword labels.
#pragma once

class CardActor;

// (x, y) is where the card is drawn, depth its drawing depth.
void DrawAttachments(CardActor* card, float x, float y, float depth);
void DrawDamageMarks(CardActor* card, bool turned, float depth);
void DrawPowerToughness(CardActor* card, int width, int height, float depth);
void DrawCardStateLabels(CardActor* card, int width, int height, float depth);
