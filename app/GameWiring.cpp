#include "app/GameWiring.h"

#include "cards/CameraBehaviour.h"
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardCommands.h"
#include "cards/CardPicking.h"
#include "cards/CardWindows.h"
#include "cards/LifeToken.h"
#include "engine/core/LanguageManager.h"
#include "engine/raster/RasterFonts.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gui/DialogManager.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/GameWindowRegistry.h"
#include "gui/OldDialog.h"
#include "gui/SpriteList.h"
#include "gui/WordBalloon.h"
#include "lessons/ActorTypes.h"
#include "lessons/CardLists.h"
#include "lessons/LessonCalls.h"
#include "lessons/PlayerResponse.h"
#include "rules/GameGlobals.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "screens/ScreenSwitch.h"
#include "screens/SettingsMenu.h"

#include <array>

namespace {

constexpr std::array<ScriptCommandEntry, 2> CARD_SCRIPT_COMMANDS = {{
    {u"loadcard", Parse_LoadCard},
    {u"definecard", Parse_DefineCard},
}};

void ClearGuiWindows()
{
    // The menu screens hold textures too: they are made again for the next scene.
    DeleteAllScreens();
    if (GUI_Manager* const manager = GetGUIManager()) {
        manager->Clear();
    }
}

void ReloadGuiTextures()
{
    if (GUI_Manager* const manager = GetGUIManager()) {
        manager->OnDeviceLost();
        manager->ReloadTextures();
    }
}

void ClearSprites()
{
    if (SpriteList* const sprites = GetSpriteList()) {
        sprites->Clear();
    }
}

// The card a library row shows at the offset past the next draw; the texture map compares names lower-cased.
int GetLibraryCardTexture(int player, int offset)
{
    const PlayerState* const state = GetPlayerState(player);
    if (state == nullptr)
        return -1;
    const int index = state->m_NextDrawIndex + offset;
    if (offset < 0 || index < 0 || index >= state->m_LibraryCount || index >= LIBRARY_CAPACITY)
        return -1;
    const int id = state->m_Library[static_cast<std::size_t>(index)];
    if (id <= CD_INVALID || id >= CD_NUMBER_OF_CARD_DEFS)
        return -1;
    return GetTextureByName(g_CardDefs[id].GetIdName());
}

int GetLibraryScroll()
{
    const PlayerState* const human = GetPlayerState(0);
    return human != nullptr ? human->m_LibraryScroll : 0;
}

} // namespace

void BindGameToEngine()
{
    FillLessonCalls();
    GetCameraSteps().ShowSettingsExplanation = ShowSettingsExplanation;
    ActorGameActions actors;
    actors.NewCardActor = NewCardActor;
    actors.FindBehaviour = FindBehaviour;
    actors.GetHumanPlayerActor = GetHumanPlayerActor;
    actors.GetCpuPlayerActor = GetCpuPlayerActor;
    actors.StampLessonTime = [] { StampLessonTime(); };
    actors.RaiseState13Flag = SetState13Flag;
    actors.PostDialogEvent = PostDialogEvent;
    actors.ClearCardFromLists = ClearCardFromLists;
    actors.OnCardActorRemoved = OnCardActorRemoved;
    actors.ReleaseActorCardWindow = ReleaseActorCardWindow;
    actors.RebuildCardLists = RebuildCardLists;
    actors.ResetGameState = ResetGameState;
    actors.ClearGuiWindows = ClearGuiWindows;
    actors.ClearSprites = ClearSprites;
    actors.DestroyIntro = DestroyIntro;
    SetActorGameActions(actors);

    SetGameScriptCommands(CARD_SCRIPT_COMMANDS);

    DialogGameQueries dialogs;
    dialogs.CountPendingCards = CountPendingCards;
    dialogs.IsLifeTokenReady = IsLifeTokenReady;
    SetDialogGameQueries(dialogs);

    WordBalloonQueries balloons;
    balloons.IsSituationChanged = IsSituationChanged;
    balloons.IsTaggedActorBusy = IsTaggedActorBusy;
    balloons.CanPlayerRespond = CanPlayerRespond;
    SetWordBalloonQueries(balloons);

    DisplayGameActions display;
    display.SetScreen = &GameDisplay::SetScreen;
    display.ClearGuiWindows = ClearGuiWindows;
    display.ReloadGuiTextures = ReloadGuiTextures;
    SetDisplayGameActions(display);

    GameWindowActions windows;
    windows.IsIntroFinished = IsIntroFinished;
    SetGameWindowActions(windows);

    OldDialogActions oldDialogs;
    oldDialogs.GetLibraryCardTexture = GetLibraryCardTexture;
    oldDialogs.GetLibraryScroll = GetLibraryScroll;
    SetOldDialogActions(oldDialogs);

    LanguageChangeActions language;
    language.SetupRasterFonts = SetupRasterFonts;
    language.SetLanguageDirectory = GUI_System::SetLanguageDirectory;
    SetLanguageChangeActions(language);
}
