// The online lesson's intro: a tour of the screen's regions as the online client shows them, one region at a time
// with a lifted copy of it, a blinking frame and a box of text; a click inside the frame moves on. The advanced
// online game starts it at its end, so it ends on its first frame.
#pragma once

#include "engine/raster/RasterTypes.h"
#include "gamestate/Intro.h"

#include <array>
#include <cstdint>
#include <memory>

class Messagebox;
class Sprite;

constexpr int ONLINE_INTRO_END = 21;
constexpr int TURN_SEQUENCE_RECTS = 12;

class Intro_Online : public CIntro {
public:
    Intro_Online();
    ~Intro_Online() override;

    bool Advance() override;
    void DrawStepHighlight() override;
    bool IsRunning() override { return m_Step >= 0; }
    bool IsFinished() override { return m_Step >= ONLINE_INTRO_END; }
    void LayoutStep() override;
    void Reset() override { m_Step = 0; }
    bool IntroGate7() override { return false; }
    bool IntroGate8() override { return m_Step > 18; }
    bool IntroGate9() override { return m_Step > 14; }
    bool IntroGate10() override { return false; }
    bool IntroGate11() override { return false; }
    bool IntroGate12() override { return false; }
    bool IntroGate13() override { return false; }
    bool IntroGate14() override { return false; }
    bool IntroGate15() override { return false; }
    bool IntroGate16() override { return m_Step > 10; }
    bool IntroGate17() override { return IntroGate26(); }
    bool IntroGate18() override { return false; }
    bool IntroGate19() override { return false; }
    bool IntroGate20() override { return m_Step > 2; }
    bool IntroGate21() override { return m_Step > 4; }
    bool IntroGate22() override { return m_Step > 6; }
    bool IntroGate23() override { return m_Step > 8; }
    bool IntroGate24() override { return m_Step > 12; }
    bool IntroGate25() override { return m_Step > 16; }
    bool IntroGate26() override { return m_Step > 20; }

    int GetStep() const { return m_Step; }
    void SetStep(int step) { m_Step = step; }
    const RasterRect& GetHighlight() const { return m_Highlight; }
    const Messagebox* GetBox() const { return m_pBox.get(); }
    const Sprite* GetSprite(int index) const { return m_Sprites[static_cast<std::size_t>(index)].get(); }
    // True when this frame's click moves the tour on: inside the highlight and over no window.
    bool IsTourClick() const;

private:
    void ShowRegion(const char16_t* key, int sprites);
    void WaitForClick(int sprites);
    // Maps a sub-rectangle of a zone's image onto the screen as the highlight, and lifts a copy into a sprite.
    void LayoutImageRegion(int zone, const RasterRect* sub, int sprite);
    void LiftSprite(int sprite, int texture, const RasterRect& source, int width, int height, int x, int y);
    void UnlistSprites(int count);
    void DrawSampleDialog(const RasterRect& rect, float depth) const;
    void DrawShadow(const Sprite* sprite) const;

    int m_Step = 0;
    RasterRect m_Highlight{};
    std::array<std::unique_ptr<Sprite>, 3> m_Sprites;
    std::array<RasterRect, TURN_SEQUENCE_RECTS> m_TurnRects{};
    RasterRect m_TurnPicture{};
    int m_BoxWidth = 300;
    int m_BoxHeight = 200;
    int m_BoxX = 0;
    int m_BoxY = 0;
    std::unique_ptr<Messagebox> m_pBox;
};

// The green of the tour's blinking frame at a time on the millisecond clock; -1 while the frame is off.
int TourBlinkGreen(std::uint32_t now);
