#include "tools/HeadlessScene.h"

#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

namespace datac {

namespace {

// The table's size: the display lays out its card size for it.
constexpr int DESKTOP_WIDTH = 800;
constexpr int DESKTOP_HEIGHT = 600;

const ScriptCommandEntry CARD_COMMANDS[] = {{u"loadcard", Parse_LoadCard}, {u"definecard", Parse_DefineCard}};

} // namespace

std::string AbsolutePath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    return plat::GetCurrentFolder() + "/" + path;
}

HeadlessScene::HeadlessScene(const std::string& installFolder) : m_previousFolder(plat::GetCurrentFolder())
{
    plat::Init(plat::BackendKind::Headless);
    plat::headless::SetDesktopMode(plat::DisplayMode{DESKTOP_WIDTH, DESKTOP_HEIGHT, 16, 60, 0xF800, 0x07E0, 0x001F});
    plat::WindowDesc desc;
    desc.width = DESKTOP_WIDTH;
    desc.height = DESKTOP_HEIGHT;
    plat::CreateMainWindow(desc);
    m_entered = plat::SetCurrentFolder(installFolder);
    CreatePrivateHeap();
    SetGameScriptCommands(CARD_COMMANDS);
    InitScriptCommands();
    SetScriptSections(true, true);
    GetGameDisplay()->InitDisplay(false);
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    ReleaseCardOverlays();
}

HeadlessScene::~HeadlessScene()
{
    ReleaseSmallCardAssets();
    ReleaseCardOverlays();
    DestroyAllActors();
    PurgeRemovedActors();
    GetGameDisplay()->Shutdown();
    SetGameScriptCommands({});
    InitScriptCommands();
    DestroyPrivateHeap();
    for (CARD& card : g_CardDefs)
        card = CARD();
    plat::SetCurrentFolder(m_previousFolder);
}

bool HeadlessScene::Ready() const
{
    return m_entered && GetGameDisplay()->IsInitialised();
}

} // namespace datac
