#include "cards/LifeToken.h"

#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/PlayerActors.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "platform/Platform.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

constexpr int TRACK_COLUMNS = 5;
constexpr int TRACK_ROWS = 4;
constexpr int ACTOR_STATE_13 = 13;

std::array<std::unique_ptr<LifeToken>, 2> s_Tokens;

// The token's track lies on the player's mat: zone 1 for the human, zone 0 for the CPU.
const RasterRect& Panel(int player)
{
    return GetGameDisplay()->GetZoneRectByIndex(player == PLAYER_HUMAN ? 1 : 0);
}

int Row(int life)
{
    return 3 - (life - 1) / TRACK_COLUMNS;
}

int Column(int life)
{
    return 4 - (life - 1) % TRACK_COLUMNS;
}

// A box waits while the human has pending cards or a player actor is missing or in state 13.
bool MayShowBox()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return human != nullptr && cpu != nullptr && human->GetState() != ACTOR_STATE_13 &&
           cpu->GetState() != ACTOR_STATE_13 && CountPendingCards(PLAYER_HUMAN) == 0;
}

std::u16string_view ChangeKeyBase(int reason, bool gained)
{
    if (reason == 0)
        return u"PHYS_TakingDamage";
    return gained ? u"PHYS_GainingLife" : u"PHYS_LossOfLife";
}

std::u16string_view ChangeVoice(int reason, bool gained, bool above20)
{
    if (reason == 0)
        return u"vo_phys\\LifeToken_TakingDamage.wav";
    if (gained)
        return above20 ? u"vo_phys\\LifeToken_GainingLife_Above20.wav" : u"vo_phys\\LifeToken_GainingLife.wav";
    return u"vo_phys\\LifeToken_LossOfLife.wav";
}

} // namespace

LifeToken::LifeToken() = default;

LifeToken::~LifeToken()
{
    DeleteBox();
}

bool LifeToken::IsReady() const
{
    return actor != nullptr && actor->GetState() == TOKEN_SETTLED && !IsBoxShown();
}

bool LifeToken::IsBoxShown() const
{
    return box != nullptr && GetGameDisplay()->IsWindowRegistered(box.get());
}

void LifeToken::DeleteBox()
{
    if (box == nullptr)
        return;
    GetGameDisplay()->UnregisterWindow(box.get());
    box.reset();
}

int WrapLifeToTrack(int life)
{
    if (life < 1)
        return 1;
    if (life <= LIFE_TRACK_CELLS)
        return life;
    const int wrapped = life % LIFE_TRACK_CELLS;
    return wrapped == 0 ? LIFE_TRACK_CELLS : wrapped;
}

RasterRect GetLifeTrackCell(int player, int life)
{
    const int v = std::clamp(life, 1, LIFE_TRACK_CELLS);
    const RasterRect& panel = Panel(player);
    RasterRect cell;
    if (player == PLAYER_HUMAN) {
        cell.left = panel.left + 6 + Column(v) * 25;
        cell.top = panel.top + 11 + static_cast<int>(static_cast<float>(Row(v)) * 25.5f);
        cell.right = cell.left + LIFE_TOKEN_SIZE;
        cell.bottom = cell.top + LIFE_TOKEN_SIZE;
    } else {
        cell.right = panel.right - 6 - Column(v) * 25;
        cell.bottom = panel.bottom - 11 - static_cast<int>(static_cast<float>(Row(v)) * 25.5f);
        cell.left = cell.right - LIFE_TOKEN_SIZE;
        cell.top = cell.bottom - LIFE_TOKEN_SIZE;
    }
    return cell;
}

void GetLifeTokenTarget(int player, int life, int& x, int& y)
{
    const int v = WrapLifeToTrack(life);
    const RasterRect& panel = Panel(player);
    const float column = static_cast<float>(Column(v));
    const float row = static_cast<float>(Row(v));
    if (player == PLAYER_HUMAN) {
        x = panel.left + 6 + static_cast<int>(column * 25.25f);
        y = panel.top + 11 + static_cast<int>(row * 25.25f);
    } else {
        x = panel.right - 28 - static_cast<int>(column * 25.2f);
        y = panel.bottom - 33 - static_cast<int>(row * 25.2f);
    }
}

int GetLifeAtTokenRect(int player, const RasterRect& rect)
{
    const RasterRect& panel = Panel(player);
    const int dx = player == PLAYER_HUMAN ? rect.left - panel.left - 6 : panel.right - rect.right - 6;
    const int dy = player == PLAYER_HUMAN ? rect.top - panel.top - 11 : panel.bottom - rect.bottom - 11;
    const int column = std::clamp((dx + 11) / 25, 0, TRACK_COLUMNS - 1);
    const int row = std::clamp((dy + 11) / 25, 0, TRACK_ROWS - 1);
    return LIFE_TRACK_CELLS - (row * TRACK_COLUMNS + column);
}

LifeToken* GetLifeToken(int player)
{
    if (player < 0 || player > 1)
        return nullptr;
    return s_Tokens[static_cast<std::size_t>(player)].get();
}

void CreateLifeTokens()
{
    for (int player = 0; player < 2; ++player) {
        auto token = std::make_unique<LifeToken>();
        token->texture = GetTextureByName(player == PLAYER_HUMAN ? u"token_gold" : u"token_silver");
        token->actor = SpawnActor(player == PLAYER_HUMAN ? u"player_life" : u"cpu_life", player, LifeTokenBehaviour,
                                  0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        if (token->actor != nullptr)
            token->actor->m_BehaviourData = reinterpret_cast<std::intptr_t>(token.get());
        if (player != PLAYER_HUMAN) {
            token->hand = std::make_unique<Sprite>();
            token->hand->SetTexture(GetTextureByName(u"hand_up"));
            token->hand->SetDepth(150.0f);
            token->hand->SetSyncWindow(false);
            token->hand->SetColorKeyed(true);
        }
        token->lastActivity = plat::TimeGetTime();
        s_Tokens[static_cast<std::size_t>(player)] = std::move(token);
    }
}

void DestroyLifeTokens()
{
    for (auto& token : s_Tokens)
        token.reset();
}

void MarkLifeTokenChanged()
{
    if (LifeToken* const token = GetLifeToken(PLAYER_HUMAN))
        token->lastActivity = plat::TimeGetTime();
}

void ShowHumanLifeChange(int reason, int previousLife)
{
    ChangeLifeTotal(GetLifeToken(PLAYER_HUMAN), reason, previousLife);
}

bool IsLifeTokenReady()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    return token == nullptr || token->IsReady();
}

bool IsLifeTokenIdle()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    return token == nullptr || token->IsIdle();
}

void ChangeLifeTotal(LifeToken* token, int reason, int previousLife)
{
    if (token == nullptr)
        return;
    token->reason = reason;
    token->lastActivity = plat::TimeGetTime();
    const int newLife = PlayerState::GetLife(PLAYER_HUMAN);
    if (newLife == previousLife || newLife < 1)
        return;
    const int cellOld = WrapLifeToTrack(previousLife);
    const int cellNew = WrapLifeToTrack(newLife);
    const bool noChange = cellOld == cellNew;
    const bool above20 = newLife >= 21;
    const bool gained = newLife > previousLife;
    const int amount = gained ? newLife - previousLife : previousLife - newLife;
    std::u16string key(ChangeKeyBase(reason, gained));
    if (noChange)
        key += u"_NoChange";
    if (above20)
        key += u"_Above20";
    token->voiceName = std::u16string(ChangeVoice(reason, gained, above20));
    const std::u16string unitKey = reason == 0 ? u"STR_damage" : u"STR_lifepoints";
    const std::u16string amountText = IntToWString(amount);
    const std::u16string previousText = IntToWString(previousLife);
    const std::u16string newText = IntToWString(newLife);
    const std::u16string oldCellText = IntToWString(cellOld);
    const std::u16string newCellText = IntToWString(cellNew);
    // One box per token, reused by every change; a new one opens where the lesson boxes do.
    const bool newBox = token->box == nullptr;
    if (newBox)
        token->box = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
    Messagebox& box = *token->box;
    box.Reset();
    box.SetScaledSize(300, 200);
    token->boxKey = key;
    // Looked up after the box is made: making one may load its skin, which can move the string table's texts.
    const char16_t* const format = GetString(key);
    const char16_t* const unit = GetPluralString(unitKey, amount);
    box.CopyText(FormatString(format != nullptr ? format : u"", {amountText, previousText, newText, oldCellText,
                                                                  newCellText, unit != nullptr ? unit : u""}));
    if (noChange) {
        box.CreateButtons(0);
    } else {
        if (token->actor != nullptr)
            token->actor->SetState(TOKEN_MISPLACED);
        token->boxPending = true;
    }
    box.AutoSize();
    // Unplaced, it would open in the corner, and its closing would send every later lesson box there.
    if (newBox)
        GetGameDisplay()->PlaceAdviceWindow(&box);
    if (MayShowBox() && !token->IsBoxShown()) {
        GetGameDisplay()->RegisterWindow(&box);
        if (HintRegistry* const hints = GetHintRegistry())
            hints->PlayVoiceLimited(token->voiceName, -1, true);
    }
}

void ShowBadLifeBox(LifeToken* token)
{
    if (token == nullptr)
        return;
    const bool newBox = token->box == nullptr;
    if (newBox)
        token->box = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
    Messagebox& box = *token->box;
    box.Reset();
    box.SetScaledSize(220, 200);
    token->boxKey = u"PHYS_Error_BadLife";
    const char16_t* const format = GetString(token->boxKey);
    const std::u16string life = IntToWString(WrapLifeToTrack(PlayerState::GetLife(PLAYER_HUMAN)));
    box.CopyText(FormatString(format != nullptr ? format : u"", {life}));
    box.AutoSize();
    if (newBox)
        GetGameDisplay()->PlaceAdviceWindow(&box);
    token->voiceName = u"vo_phys\\Error_BadLife.wav";
    if (MayShowBox() && !token->IsBoxShown()) {
        GetGameDisplay()->RegisterWindow(&box);
        if (HintRegistry* const hints = GetHintRegistry())
            hints->PlayVoiceLimited(token->voiceName, -1, true);
    }
    token->boxPending = true;
}
