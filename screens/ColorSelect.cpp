// The splash pages and colour-choice pages before each lesson game (screen ids 5 to 16), and screen 3: drawn by
// the display itself once a frame while no game runs, with their clicks.
#include "cards/CornerButtons.h"
#include "cards/TableReset.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/GameBlock.h"
#include "platform/Platform.h"
#include "screens/ColorSelect.h"

#include <array>
#include <string>

namespace {

constexpr float DEPTH_IMAGES = 19999.0f;
// The backdrop shares the deepest layer: it is queued before everything else of the page.
constexpr float DEPTH_BACKDROP = 19999.0f;
constexpr int TEXT_FONT = 14;
constexpr int COLOUR_FONT = 11;
constexpr std::uint32_t WHITE = 0x00FFFFFF;
constexpr std::uint32_t BLACK = 0x00000000;
constexpr int RANDOM_SQUARE = 5;
constexpr int COLOUR_COUNT = 5;

struct Images {
    int darkBackground = -1;
    int lightBackground = -1;
    std::array<int, 8> border{-1, -1, -1, -1, -1, -1, -1, -1};
    int frame = -1;
    int next = -1;
    int nextOver = -1;
    int random = -1;
    std::array<int, COLOUR_COUNT> colours{-1, -1, -1, -1, -1};
    std::array<int, COLOUR_COUNT> selected{-1, -1, -1, -1, -1};
    int logo = -1;
};

Images s_Images;
bool s_bColorSelectSetUp = false;
bool s_bColorChoiceConfirmed = false;
// What the last drawn page showed: its id, the next button's hover, the two chosen colours.
std::array<int, 4> s_LastLook{-1, -1, -1, -1};

constexpr std::array<const char16_t*, 8> BORDER_FILES = {
    u"data\\borders\\TopMid.bmp",    u"data\\borders\\TopLeft.bmp",   u"data\\borders\\TopRight.bmp",
    u"data\\borders\\LeftMid.bmp",   u"data\\borders\\RightMid.bmp",  u"data\\borders\\BottomMid.bmp",
    u"data\\borders\\BottomLeft.bmp", u"data\\borders\\BottomRight.bmp",
};
constexpr std::array<const char16_t*, COLOUR_COUNT> COLOUR_NAMES = {u"white", u"blue", u"black", u"red", u"green"};
constexpr std::array<const char16_t*, COLOUR_COUNT> COLOUR_KEYS = {
    u"FMT_COLOR_SELECT_WHITE", u"FMT_COLOR_SELECT_BLUE", u"FMT_COLOR_SELECT_BLACK", u"FMT_COLOR_SELECT_RED",
    u"FMT_COLOR_SELECT_GREEN",
};

struct SplashStep {
    int id;
    int returnScreen;
    const char16_t* voice;
    const char16_t* appended;
    int next;
    bool resetsColours;
};
constexpr std::array<SplashStep, 8> SPLASH_STEPS = {{
    {11, 1, u"vo_phys\\basic_splash_2.wav", nullptr, 12, false},
    {12, 11, u"vo_phys\\basic_colors.wav", nullptr, 13, true},
    {14, 1, u"vo_phys\\adv_splash2.wav", nullptr, 15, false},
    {15, 14, u"vo_phys\\adv_colors.wav", nullptr, 16, true},
    {5, 2, u"data\\wavsonl\\b003.wav", nullptr, 6, false},
    {6, 5, u"data\\wavsonl\\b004.wav", u"data\\wavsonl\\b010.wav", 7, true},
    {8, 2, u"data\\wavsonl\\a002.wav", nullptr, 9, false},
    {9, 8, u"data\\wavsonl\\a003.wav", nullptr, 10, true},
}};

struct ColourPage {
    int id;
    int returnScreen;
    int mode;
    const char16_t* heading;
};
constexpr std::array<ColourPage, 4> COLOUR_PAGES = {{
    {13, 12, 1, u"FMT_COLOR_SELECT_BASIC"},
    {16, 15, 2, u"FMT_COLOR_SELECT_ADV"},
    {7, 6, 3, nullptr},
    {10, 9, 4, nullptr},
}};

int Load(const char16_t* path)
{
    GameDisplay* const display = GetGameDisplay();
    const std::u16string_view name(path);
    return name.ends_with(u".chp") ? display->LoadChpTexture(name) : display->LoadBitmapTexture(name);
}

int Width(int texture)
{
    const Raster* const raster = GetRaster();
    return raster != nullptr && texture >= 0 ? raster->GetTextureWidth(texture) : 0;
}

int Height(int texture)
{
    const Raster* const raster = GetRaster();
    return raster != nullptr && texture >= 0 ? raster->GetTextureHeight(texture) : 0;
}

bool Inside(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void Draw(int texture, const RasterRect& rect, float depth, std::uint32_t flags = 0)
{
    if (texture >= 0)
        GetRaster()->DrawTextureEx(texture, static_cast<float>(rect.left), static_cast<float>(rect.top),
                                   static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth, flags);
}

void ClientSize(int& width, int& height)
{
    width = s_ClientWidth;
    height = s_ClientHeight;
    if (width <= 0 || height <= 0) {
        RasterRect screen;
        GetRaster()->GetScreenRect(screen);
        width = screen.Width();
        height = screen.Height();
    }
}

// The menu backdrop with its frame pieces around the client area.
void DrawBackdrop(bool light)
{
    int width = 0;
    int height = 0;
    ClientSize(width, height);
    Raster* const raster = GetRaster();
    const int backdrop = light && s_Images.lightBackground >= 0 ? s_Images.lightBackground : s_Images.darkBackground;
    if (backdrop >= 0)
        raster->DrawTextureTiled(backdrop, 0.0f, 0.0f, static_cast<float>(width),
                                 static_cast<float>(height), DEPTH_BACKDROP, 0);
    const auto& b = s_Images.border;
    const int topH = Height(b[0]);
    const int bottomH = Height(b[5]);
    const int leftW = Width(b[3]);
    const int rightW = Width(b[4]);
    const auto tile = [&](int texture, int l, int t, int r, int bm) {
        if (texture >= 0 && r > l && bm > t)
            raster->DrawTextureTiled(texture, static_cast<float>(l), static_cast<float>(t), static_cast<float>(r),
                                     static_cast<float>(bm), DEPTH_IMAGES, PRIM_COLOR_KEY);
    };
    tile(b[0], Width(b[1]), 0, width - Width(b[2]), topH);
    tile(b[5], Width(b[6]), height - bottomH, width - Width(b[7]), height);
    tile(b[3], 0, Height(b[1]), leftW, height - Height(b[6]));
    tile(b[4], width - rightW, Height(b[2]), width, height - Height(b[7]));
    Draw(b[1], RasterRect{0, 0, Width(b[1]), Height(b[1])}, DEPTH_IMAGES, PRIM_COLOR_KEY);
    Draw(b[2], RasterRect{width - Width(b[2]), 0, width, Height(b[2])}, DEPTH_IMAGES, PRIM_COLOR_KEY);
    Draw(b[6], RasterRect{0, height - Height(b[6]), Width(b[6]), height}, DEPTH_IMAGES, PRIM_COLOR_KEY);
    Draw(b[7], RasterRect{width - Width(b[7]), height - Height(b[7]), width, height}, DEPTH_IMAGES, PRIM_COLOR_KEY);
}

void DrawFormatted(const char16_t* key, const RasterRect& rect, int font, std::uint32_t colour)
{
    FormattedText* const text = GetFormattedText(key);
    if (text == nullptr)
        return;
    Raster* const raster = GetRaster();
    const int depth = raster->GetTextDepth();
    raster->SetDepth(0);
    GetGameDisplay()->DrawWrappedText(text, rect, font, 1, colour, -1, 0, true);
    raster->SetDepth(depth);
}

bool TakePressInside(const RasterRect& rect)
{
    return MouseState.leftClicked != 0 && Inside(rect, MouseState.x, MouseState.y);
}

void DrawSplashPage(int id, const SplashRects& rects)
{
    Draw(s_Images.frame, rects.frame, DEPTH_IMAGES, PRIM_COLOR_KEY);
    // Screen 3 leads nowhere: it is left by the corner buttons only.
    if (id == 3) {
        DrawFormatted(u"FMT_MENU_OnlineOnly", rects.text, TEXT_FONT, WHITE);
        return;
    }
    const bool over = Inside(rects.next, MouseState.x, MouseState.y);
    Draw(over ? s_Images.nextOver : s_Images.next, rects.next, DEPTH_IMAGES, PRIM_COLOR_KEY);
    std::string key = (id == 14 || id == 15) ? "PRE_PHYSONLY_SplashText_" : "PRE_SplashText_";
    key += std::to_string(id);
    const bool formatted = id == 5 || id == 6 || id == 9 || id == 11 || id == 12 || id == 15;
    if (formatted) {
        key.replace(0, 3, "FMT");
        DrawFormatted(plat::FromUtf8(key).c_str(), rects.text, TEXT_FONT, WHITE);
        if (id == 5 || id == 11)
            Draw(s_Images.logo, rects.logo, DEPTH_IMAGES, PRIM_COLOR_KEY);
    } else if (const char16_t* text = GetString(plat::FromUtf8(key))) {
        GetRaster()->DrawText(text, rects.text, 1, TEXT_FONT, WHITE, false);
    }
}

void DrawColourPage(const ColourPage& page, const GameDisplay& display)
{
    const GameBlock& block = GetGameBlock();
    if (page.heading != nullptr) {
        RasterRect panel = display.m_ColorSelectFrame;
        panel.top -= 35;
        panel.bottom -= 35;
        DrawFormatted(page.heading, panel, COLOUR_FONT, BLACK);
    }
    const RasterRect& random = display.m_ColorSelectSquares[RANDOM_SQUARE];
    Draw(s_Images.random, random, DEPTH_IMAGES, PRIM_COLOR_KEY);
    DrawFormatted(u"FMT_COLOR_SELECT_AUTO",
                  RasterRect{random.left - 36, random.bottom, random.right + 36, random.bottom + 60}, COLOUR_FONT, BLACK);
    const bool large = GetLanguageManager()->GetTextScale() > 1.0f;
    const int margin = large ? 54 : 48;
    const int height = large ? 72 : 64;
    for (int colour = 0; colour < COLOUR_COUNT; ++colour) {
        const auto c = static_cast<std::size_t>(colour);
        const RasterRect& square = display.m_ColorSelectSquares[c];
        const bool chosen = block.menuWords[0] == colour || block.menuWords[1] == colour;
        Draw(chosen ? s_Images.selected[c] : s_Images.colours[c], square, DEPTH_IMAGES, PRIM_COLOR_KEY);
        DrawFormatted(COLOUR_KEYS[c],
                      RasterRect{square.left - margin, square.bottom, square.right + margin, square.bottom + height},
                      COLOUR_FONT, BLACK);
    }
}

} // namespace

SplashRects ComputeSplashRects()
{
    int width = 0;
    int height = 0;
    ClientSize(width, height);
    const int cx = width / 2;
    const int cy = height / 2;
    SplashRects rects;
    const int frameW = Width(s_Images.frame);
    const int frameH = Height(s_Images.frame);
    rects.frame = RasterRect{cx - frameW / 2, cy - frameH / 2 + 24, cx - frameW / 2 + frameW, cy - frameH / 2 + 24 + frameH};
    const int nextW = Width(s_Images.next);
    const int nextH = Height(s_Images.next);
    const int nextLeft = (rects.frame.left + rects.frame.right) / 2 - nextW / 2;
    rects.next = RasterRect{nextLeft, rects.frame.bottom - 16 - nextH, nextLeft + nextW, rects.frame.bottom - 16};
    rects.text = RasterRect{rects.frame.left + 16, rects.frame.top + 32, rects.frame.right - 16, rects.next.top - 8};
    const int logoW = Width(s_Images.logo);
    const int language = GetLanguageManager()->GetLanguageId();
    const int logoTop = rects.text.top + (language == 1 || language >= 8 ? 40 : 34);
    const int logoLeft = (rects.text.left + rects.text.right) / 2 - logoW / 2;
    rects.logo = RasterRect{logoLeft, logoTop, logoLeft + logoW, logoTop + Height(s_Images.logo)};
    return rects;
}

bool IsColorChoiceConfirmed()
{
    return s_bColorChoiceConfirmed;
}

void SetColorChoiceConfirmed(bool confirmed)
{
    s_bColorChoiceConfirmed = confirmed;
}

void GameDisplay::ResetColorSelect()
{
    s_bColorSelectSetUp = false;
    s_LastLook.fill(-1);
    // The scene load frees every texture: the pages' images, the corner buttons' among them, are loaded again.
    s_Images = Images{};
    m_CornerButtonImages[0].fill(-1);
    m_CornerButtonImages[2].fill(-1);
}

bool GameDisplay::IsColorSelectSetUp() const
{
    return s_bColorSelectSetUp;
}

void GameDisplay::LoadColorSelectImages()
{
    s_Images.darkBackground = Load(u"data\\backgrounds\\MenuDkgr.bmp");
    s_Images.lightBackground = Load(u"data\\backgrounds\\MenuLtgr.chp");
    for (std::size_t i = 0; i < BORDER_FILES.size(); ++i)
        s_Images.border[i] = Load(BORDER_FILES[i]);
    s_Images.frame = Load(u"data\\backgrounds\\splash_frame.bmp");
    constexpr std::array<std::array<const char16_t*, 3>, 2> CORNER = {{
        {u"data\\buttons\\Back0.bmp", u"data\\buttons\\Back1.bmp", u"data\\buttons\\Back2.bmp"},
        {u"data\\buttons\\Exit0.bmp", u"data\\buttons\\Exit1.bmp", u"data\\buttons\\Exit2.bmp"},
    }};
    // The corner buttons Back (0) and Exit (2).
    for (std::size_t look = 0; look < 3; ++look) {
        m_CornerButtonImages[0][look] = Load(CORNER[0][look]);
        m_CornerButtonImages[2][look] = Load(CORNER[1][look]);
    }
    s_Images.next = Load(u"data\\buttons\\PSok.chp");
    s_Images.nextOver = Load(u"data\\buttons\\PSokMO.chp");
    s_Images.random = Load(u"data\\special\\ChooseColor_auto.bmp");
    for (std::size_t c = 0; c < COLOUR_NAMES.size(); ++c) {
        const std::u16string base = std::u16string(u"data\\special\\ChooseColor_") + COLOUR_NAMES[c];
        s_Images.colours[c] = Load((base + u".bmp").c_str());
        s_Images.selected[c] = Load((base + u"_sel.bmp").c_str());
    }
    s_Images.logo = Load(u"data\\special\\varrowlogo_blk.bmp");
    s_bColorSelectSetUp = true;
    m_RelayoutRequested = true;
}

void GameDisplay::DrawMenuBackdrop()
{
    if (m_SceneTag != 0 || m_ScreenId < 5 || m_ScreenId > 16)
        return;
    bool colourPage = false;
    for (const ColourPage& page : COLOUR_PAGES)
        colourPage = colourPage || page.id == m_ScreenId;
    DrawBackdrop(colourPage);
}

bool GameDisplay::UpdateColorChoice()
{
    std::array<int, 5>& words = GetGameBlock().menuWords;
    int& first = words[0];
    int& second = words[1];
    if (first != -1 && second != -1) {
        if (s_bColorChoiceConfirmed) {
            std::size_t slot = 2;
            for (int colour = 0; colour < COLOUR_COUNT && slot < words.size(); ++colour) {
                if (colour != first && colour != second)
                    words[slot++] = colour;
            }
        }
        s_bColorChoiceConfirmed = false;
        return true;
    }
    if (MouseState.leftClicked == 0)
        return false;
    if (Inside(m_ColorSelectSquares[RANDOM_SQUARE], MouseState.x, MouseState.y)) {
        StopVoiceQueue();
        if (first == -1)
            first = plat::Rand() % COLOUR_COUNT;
        do {
            second = plat::Rand() % COLOUR_COUNT;
        } while (second == first);
        s_bColorChoiceConfirmed = true;
        return false;
    }
    for (int colour = 0; colour < COLOUR_COUNT; ++colour) {
        if (!Inside(m_ColorSelectSquares[static_cast<std::size_t>(colour)], MouseState.x, MouseState.y))
            continue;
        StopVoiceQueue();
        if (colour == first)
            first = -1;
        else if (first == -1)
            first = colour;
        else
            second = colour;
        break;
    }
    if (first != -1 && second != -1 && first != second)
        s_bColorChoiceConfirmed = true;
    return false;
}

void GameDisplay::UpdateColorSelect()
{
    if (m_SceneTag != 0)
        return;
    UpdateVoiceQueue();
    const int id = m_ScreenId;
    if (id != 3 && (id < 5 || id > 16))
        return;
    const SplashRects rects = ComputeSplashRects();
    if (id == 3) {
        // Screen 3 speaks of the online game's deck editor and collection, which this program lacks.
        if (s_LastLook[0] != 3) {
            s_LastLook = {3, 0, -1, -1};
            if (Raster* const raster = GetRaster())
                raster->Invalidate();
        }
        DrawBackdrop(false);
        DrawSplashPage(id, rects);
        UpdateCornerButtons();
        return;
    }
    for (const SplashStep& step : SPLASH_STEPS) {
        if (step.id != id)
            continue;
        m_ReturnScreenId = step.returnScreen;
        if (TakePressInside(rects.next)) {
            StopVoiceQueue();
            PlayEffect(30, 255, 0, 0, 0, nullptr);
            QueueVoice(step.voice, true);
            if (step.appended != nullptr)
                QueueVoice(step.appended, false);
            SetScreen(step.next, false);
            m_ReturnScreenId = step.id;
            if (step.resetsColours) {
                GetGameBlock().menuWords[0] = -1;
                GetGameBlock().menuWords[1] = -1;
            }
            MouseState.leftClicked = 0;
            ResetHover();
        }
    }
    for (const ColourPage& page : COLOUR_PAGES) {
        if (page.id != id)
            continue;
        m_ReturnScreenId = page.returnScreen;
        if (UpdateColorChoice() && s_GameMode != page.mode) {
            ResetTable(page.mode);
            if (page.mode <= 2)
                m_ReturnScreenId = 1;
            m_SceneTag = 1;
            // The raster stays inactive until the game's scene is loaded.
        }
    }
    if (m_SceneTag != 0)
        return;
    const int shown = m_ScreenId;
    // A page is drawn again when what it shows changes; the display redraws on its own after an expose.
    const GameBlock& block = GetGameBlock();
    const std::array<int, 4> look = {shown, Inside(rects.next, MouseState.x, MouseState.y) ? 1 : 0, block.menuWords[0],
                                     block.menuWords[1]};
    if (look != s_LastLook) {
        s_LastLook = look;
        if (Raster* const raster = GetRaster())
            raster->Invalidate();
    }
    for (const ColourPage& page : COLOUR_PAGES) {
        if (page.id == shown)
            DrawColourPage(page, *this);
    }
    for (const SplashStep& step : SPLASH_STEPS) {
        if (step.id == shown)
            DrawSplashPage(shown, rects);
    }
}
