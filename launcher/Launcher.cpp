#include "launcher/Launcher.h"

#include "engine/core/RegistrySettings.h"
#include "engine/core/TextHelpers.h"

#include <algorithm>

namespace {

constexpr char INSTANCE_NAME[] = "TESSEL_DORVANE";
constexpr int TITLE_TOP = 109;
constexpr int ICON_ID = 107;
constexpr int CLICK_SOUND_ID = 222;
constexpr int MAIN_BACKGROUND_ID = 130;
constexpr int MAIN_TITLE_ID = 131;
constexpr int LANGUAGE_BACKGROUND_ID = 146;
constexpr int LANGUAGE_TITLE_ID = 147;
// The settings store's strings are cut where the original's buffers ended.
constexpr std::size_t INSTALL_PATH_MAX = 259;
constexpr std::size_t INSTALL_LANG_MAX = 31;
constexpr std::u16string_view OWN_RESOURCES = u"res_common";
constexpr std::u16string_view STRING_FILE = u"res_str.txt";
// The argument the installers are given: the program that started them.
constexpr std::u16string_view CALLER_ARGUMENT = u"Dorvane.exe";

struct ProgramFile {
    std::u16string_view name;
    std::u16string_view file;
};

constexpr ProgramFile PROGRAM_FILES[] = {
    {u"tessel.exe", u"Tessel"},
    {u"install.exe", u"install"},
    {u"langpack.exe", u"langpack"},
};

// Where a button's pictures come from: the launcher's own folder or the interface language's.
enum Source { OWN, LIBRARY };

struct ButtonLayout {
    int normal;
    int hover;
    int installed;  // 0: none
    Source source;
    int x;          // the right edge when rightAligned
    int y;
    bool rightAligned;
};

constexpr ButtonLayout MAIN_LAYOUT[] = {
    {134, 135, 0, LIBRARY, 451, 180, false},            // Install
    {138, 139, 0, LIBRARY, 451, 247, false},            // Uninstall
    {136, 137, 0, LIBRARY, 451, 180, false},            // Play
    {224, 223, 0, LIBRARY, 451, 373, false},            // Language packs
    {140, 141, 0, LIBRARY, LAUNCHER_WIDTH, 542, true},  // Browse the disc
    {132, 133, 0, LIBRARY, LAUNCHER_WIDTH, 12, true},   // Exit
};

constexpr int LANGUAGE_TOP = 168;
constexpr int LANGUAGE_STEP = 38;

struct PackLayout {
    int normal;  // hover and installed follow
    std::u16string_view discFolder;
    std::u16string_view dataFolder;
};

constexpr PackLayout PACK_LAYOUT[LANGUAGE_PACKS] = {
    {160, u"German", u"data_de"},  {150, u"English", u"data_en"},     {163, u"Spanish", u"data_es"},
    {166, u"French", u"data_fr"},  {169, u"Italian", u"data_it"},     {172, u"Portuguese", u"data_pt"},
    {175, u"Chinese", u"data_chs"},
};
constexpr int CHINESE_PACK = 6;
constexpr ButtonLayout BACK_LAYOUT = {148, 149, 0, LIBRARY, LAUNCHER_WIDTH, 12, true};
constexpr int PACK_LEFT = 487;

bool EndsWithSeparator(std::u16string_view path)
{
    return !path.empty() && (path.back() == u'/' || path.back() == u'\\');
}

std::u16string Joined(std::u16string_view folder, std::u16string_view name)
{
    std::u16string path(folder);
    if (!EndsWithSeparator(path))
        path += u'/';
    path += name;
    return path;
}

// A folder name the uninstall folder may be built from: one plain name below the disc folder.
bool IsPlainFolderName(std::u16string_view name)
{
    return !name.empty() && name.find(u'/') == std::u16string_view::npos &&
           name.find(u'\\') == std::u16string_view::npos && name.find(u"..") == std::u16string_view::npos;
}

// The language's name as the install prompt shows it: a text from the disc's table, cut so that the prompt stays
// narrower than the screen. A pair of surrogates is never split.
std::u16string BoundedLanguageName(std::u16string name)
{
    if (name.size() <= LANGUAGE_NAME_MAX)
        return name;
    std::size_t length = LANGUAGE_NAME_MAX;
    if (name[length - 1] >= 0xD800 && name[length - 1] <= 0xDBFF)
        --length;
    name.resize(length);
    return name;
}

LauncherRect Union(const LauncherRect& a, const LauncherRect& b)
{
    if (a.right <= a.left || a.bottom <= a.top)
        return b;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

} // namespace

std::u16string_view LauncherProgramFile(std::u16string_view name)
{
    for (const ProgramFile& entry : PROGRAM_FILES) {
        if (EqualsAsciiNoCase(entry.name, name))
            return entry.file;
    }
    return name;
}

bool ChinesePackOffered(bool windows2000OrLater, int dataLanguage)
{
    return windows2000OrLater || dataLanguage == LAUNCHER_CHINESE;
}

Launcher::Launcher() : m_Frame(static_cast<std::size_t>(LAUNCHER_WIDTH) * LAUNCHER_HEIGHT, 0) {}

Launcher::~Launcher()
{
    if (m_bRunning)
        LauncherShutdown();
    if (m_bLocked)
        plat::ReleaseInstanceLock();
}

bool Launcher::Start()
{
    if (!plat::AcquireInstanceLock(INSTANCE_NAME))
        return false;
    m_bLocked = true;

    m_DiscFolder = plat::FromUtf8(plat::GetCurrentFolder());
    if (!EndsWithSeparator(m_DiscFolder))
        m_DiscFolder += u'/';

    const LauncherLanguages detected = DetectLanguages(plat::SystemAnsiCodePage(), plat::UserLocaleLanguageName(),
                                                       plat::SystemLocaleLanguageName(), IsWindows2000OrLater());
    m_UiLanguage = SettleResourceLanguage(detected.ui, m_DiscFolder);
    m_ResourceFolder = m_DiscFolder + std::u16string(LanguageResourceFolder(m_UiLanguage)) + u'/';
    m_DataLanguage = detected.data;
    m_DataLanguageFolder = m_DiscFolder + std::u16string(LanguageFolderName(m_DataLanguage)) + u'/';
    if (!plat::IsDirectory(m_DataLanguageFolder)) {
        m_DataLanguage = LAUNCHER_ENGLISH;
        m_DataLanguageFolder = m_DiscFolder + std::u16string(LanguageFolderName(LAUNCHER_ENGLISH)) + u'/';
    }
    m_DataLanguageKey = LanguageStringKey(m_DataLanguage);

    if (!m_Strings.Load(m_DiscFolder + std::u16string(STRING_FILE)))
        plat::OutputDebugStringA("Dorvane: res_str.txt cannot be read; the built-in English texts stand in\n");
    plat::ReadFileBytes(Joined(m_DiscFolder + std::u16string(OWN_RESOURCES), IntToWString(CLICK_SOUND_ID) + u".wav"),
                        m_ClickSound);
    CreateLauncherButtons();
    EnterMenuState(MENU_MAIN);

    plat::WindowDesc desc;
    desc.title = LAUNCHER_TITLE;
    desc.width = LAUNCHER_WIDTH;
    desc.height = LAUNCHER_HEIGHT;
    desc.resizable = false;
    desc.maximizeBox = false;
    desc.centred = true;
    if (const LauncherBitmap icon = LoadOwnBitmap(ICON_ID)) {
        desc.iconWidth = icon->width;
        desc.iconHeight = icon->height;
        desc.iconPixels = icon->pixels;
    }
    if (!plat::CreateMainWindow(desc)) {
        LauncherShutdown();
        return false;
    }
    plat::AudioOpen();
    m_bRunning = true;
    InvalidateAll();
    Paint();
    return true;
}

int Launcher::Run()
{
    plat::Event event;
    while (m_bRunning && plat::WaitEvent(event)) {
        HandleEvent(event);
        if (m_bRunning)
            Paint();
    }
    if (m_bRunning)
        DestroyLauncherWindow();
    return 0;
}

LauncherBitmap Launcher::LoadOwnBitmap(int id) const
{
    auto bitmap = std::make_unique<RasterBitmap>();
    if (!LoadBitmapFile(Joined(m_DiscFolder + std::u16string(OWN_RESOURCES), IntToWString(id) + u".bmp"), *bitmap))
        return nullptr;
    return bitmap;
}

LauncherBitmap Launcher::LoadLibraryBitmap(int id) const
{
    auto bitmap = std::make_unique<RasterBitmap>();
    if (!LoadBitmapFile(m_ResourceFolder + IntToWString(id) + u".bmp", *bitmap))
        return nullptr;
    return bitmap;
}

LauncherButton* Launcher::ButtonAt(int menu, int index)
{
    if (menu < 0 || menu > 1 || index < 0 || index >= LAUNCHER_BUTTONS)
        return nullptr;
    return m_Buttons[menu][index].get();
}

const LauncherButton* Launcher::GetButton(int menu, int index) const
{
    if (menu < 0 || menu > 1 || index < 0 || index >= LAUNCHER_BUTTONS)
        return nullptr;
    return m_Buttons[menu][index].get();
}

std::u16string Launcher::Text(std::u16string_view key) const
{
    return LauncherText(m_Strings, m_UiLanguage, key);
}

void Launcher::CreateLauncherButtons()
{
    const auto make = [this](const ButtonLayout& layout) {
        auto button = std::make_unique<LauncherButton>();
        const auto load = [&](int id) { return layout.source == OWN ? LoadOwnBitmap(id) : LoadLibraryBitmap(id); };
        button->SetBitmap(0, load(layout.normal));
        button->SetBitmap(1, load(layout.hover));
        if (layout.installed != 0)
            button->SetBitmap(2, load(layout.installed));
        if (layout.rightAligned)
            button->SetRightAligned(layout.x, layout.y);
        else
            button->SetPosition(layout.x, layout.y);
        return button;
    };
    for (auto& menu : m_Buttons) {
        for (auto& button : menu)
            button.reset();
    }
    for (int i = 0; i < LANGUAGE_PACKS; ++i) {
        const int id = PACK_LAYOUT[i].normal;
        m_Buttons[MENU_LANGUAGE][i] =
            make({id, id + 1, id + 2, OWN, PACK_LEFT, LANGUAGE_TOP + LANGUAGE_STEP * i, false});
        m_Buttons[MENU_LANGUAGE][i]->SetDisabled(true);
    }
    m_Buttons[MENU_LANGUAGE][LANGUAGE_BACK] = make(BACK_LAYOUT);
    m_Buttons[MENU_LANGUAGE][LANGUAGE_BACK]->SetDisabled(true);
    for (int i = 0; i <= MAIN_EXIT; ++i)
        m_Buttons[MENU_MAIN][i] = make(MAIN_LAYOUT[i]);
    m_Buttons[MENU_MAIN][MAIN_INSTALL]->SetDisabled(m_bInstalled);
    for (const int index : {MAIN_PLAY, MAIN_UNINSTALL, MAIN_LANGUAGE_PACKS})
        m_Buttons[MENU_MAIN][index]->SetDisabled(!m_bInstalled);
}

void Launcher::EnterMenuState(int state)
{
    m_MenuState = state;
    m_Background.reset();
    m_Title.reset();
    if (state == MENU_MAIN) {
        ProbeInstallations();
        m_Background = LoadOwnBitmap(MAIN_BACKGROUND_ID);
        m_Title = LoadLibraryBitmap(MAIN_TITLE_ID);
    } else {
        ProbeLanguagePacks();
        m_Background = LoadOwnBitmap(LANGUAGE_BACKGROUND_ID);
        m_Title = LoadLibraryBitmap(LANGUAGE_TITLE_ID);
    }
    for (int i = 0; i <= MAIN_EXIT; ++i) {
        bool disabled = state != MENU_MAIN;
        if (i == MAIN_INSTALL)
            disabled = disabled || m_bInstalled;
        else if (i == MAIN_UNINSTALL)
            disabled = disabled || !m_bInstalled || m_UninstallFolder.empty();
        else if (i == MAIN_PLAY || i == MAIN_LANGUAGE_PACKS)
            disabled = disabled || !m_bInstalled;
        m_Buttons[MENU_MAIN][i]->SetDisabled(disabled);
    }
    for (int i = 0; i < LAUNCHER_BUTTONS; ++i) {
        const bool offered = i != CHINESE_PACK || ChinesePackOffered(IsWindows2000OrLater(), m_DataLanguage);
        m_Buttons[MENU_LANGUAGE][i]->SetDisabled(state != MENU_LANGUAGE || !offered);
    }
    HitStoredPointer();
    InvalidateAll();
}

void Launcher::ProbeInstallations()
{
    m_bInstalled = false;
    m_UninstallFolder.clear();
    std::u16string path;
    if (!plat::RegGetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallPath", path))
        return;
    m_InstallPath = path.substr(0, INSTALL_PATH_MAX);
    if (!plat::IsReadable(Joined(m_InstallPath, LauncherProgramFile(u"tessel.exe"))))
        return;
    m_bInstalled = true;
    std::u16string language;
    plat::RegGetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallLang", language);
    language.resize(std::min(language.size(), INSTALL_LANG_MAX));
    // The value names a folder of the disc; anything that would lead elsewhere leaves Uninstall off.
    if (IsPlainFolderName(language))
        m_UninstallFolder = m_DiscFolder + language;
}

void Launcher::ProbeLanguagePacks()
{
    for (int i = 0; i < LANGUAGE_PACKS; ++i) {
        const bool installed = plat::IsDirectory(Joined(m_InstallPath, PACK_LAYOUT[i].dataFolder));
        m_Buttons[MENU_LANGUAGE][i]->SetInstalled(installed);
        const bool offered = i != CHINESE_PACK || ChinesePackOffered(IsWindows2000OrLater(), m_DataLanguage);
        m_Buttons[MENU_LANGUAGE][i]->SetDisabled(m_MenuState != MENU_LANGUAGE || !offered);
    }
}

void Launcher::LauncherOnMouseMove(int x, int y)
{
    m_MouseX = x;
    m_MouseY = y;
    m_Hovered = -1;
    for (int i = 0; i < LAUNCHER_BUTTONS; ++i) {
        LauncherButton* const button = ButtonAt(m_MenuState, i);
        if (button == nullptr)
            continue;
        if (button->HitTest(x, y)) {
            m_Hovered = i;
            button->SetState(BUTTON_HOVER);
        } else {
            const bool installed = m_MenuState == MENU_LANGUAGE && button->IsInstalled();
            button->SetState(installed ? BUTTON_INSTALLED : BUTTON_NORMAL);
        }
        if (button->NeedsRedraw())
            Invalidate(button->GetRect());
    }
}

void Launcher::HitStoredPointer()
{
    m_Hovered = -1;
    m_Pressed = -1;
    LauncherOnMouseMove(m_MouseX, m_MouseY);
}

void Launcher::HandleEvent(const plat::Event& event)
{
    switch (event.type) {
    case plat::EventType::Quit:
        DestroyLauncherWindow();
        break;
    case plat::EventType::MouseMove:
        LauncherOnMouseMove(event.x, event.y);
        break;
    case plat::EventType::ButtonDown:
    case plat::EventType::DoubleClick:
        if (event.button == plat::BUTTON_LEFT) {
            plat::SetMouseCapture(true);
            m_Pressed = m_Hovered;
        }
        break;
    case plat::EventType::ButtonUp:
        if (event.button == plat::BUTTON_LEFT) {
            const int pressed = m_Pressed;
            m_Pressed = -1;
            plat::SetMouseCapture(false);
            // A click counts only when released over the enabled button it was pressed on.
            if (pressed >= 0 && pressed == m_Hovered)
                OnLauncherButton(pressed);
        }
        break;
    case plat::EventType::Paint:
    case plat::EventType::Size:
        InvalidateAll();
        break;
    default:
        break;
    }
}

bool Launcher::LauncherMessageBox(std::u16string_view text, bool ask) const
{
    const std::uint32_t flags = plat::MB_ICONINFORMATION | (ask ? plat::MB_OKCANCEL : plat::MB_OK);
    return plat::MessageBox(text, LAUNCHER_TITLE, flags) == plat::IDOK;
}

void Launcher::ShowError(std::u16string_view text) const
{
    plat::MessageBox(text, LAUNCHER_TITLE, plat::MB_OK | plat::MB_ICONERROR);
}

void Launcher::ShowStartFailure(std::u16string_view program) const
{
    ShowError(FillPrompt(Text(u"STR_START_FAILED"), program));
}

void Launcher::OnLauncherButton(int index)
{
    if (!m_ClickSound.empty())
        plat::AudioPlayClip(m_ClickSound.data(), m_ClickSound.size());
    if (m_MenuState == MENU_LANGUAGE) {
        if (index == LANGUAGE_BACK)
            EnterMenuState(MENU_MAIN);
        else if (index >= 0 && index < LANGUAGE_PACKS)
            OnLanguagePack(index);
        return;
    }
    switch (index) {
    case MAIN_INSTALL: {
        const std::u16string language = BoundedLanguageName(Text(m_DataLanguageKey));
        const std::u16string prompt = FillPrompt(Text(u"STR_INSTALL_PROMPT"), language);
        if (!LauncherMessageBox(prompt, true))
            return;
        const std::u16string program = m_DataLanguageFolder + std::u16string(LauncherProgramFile(u"install.exe"));
        plat::MinimizeMainWindow();
        const int result = plat::SpawnAndWait(program, {std::u16string(CALLER_ARGUMENT)});
        EnterMenuState(MENU_MAIN);
        plat::RestoreMainWindow();
        HitStoredPointer();
        if (result < 0)
            ShowStartFailure(program);
        else if (result != 0 || !m_bInstalled)
            ShowError(Text(u"STR_INSTALL_FAILED"));
        return;
    }
    case MAIN_UNINSTALL: {
        if (!LauncherMessageBox(Text(u"STR_UNINSTALL_PROMPT"), true))
            return;
        const std::u16string program = Joined(m_UninstallFolder, LauncherProgramFile(u"install.exe"));
        if (!plat::StartProcess(program, {u"/X"}, m_UninstallFolder)) {
            ShowStartFailure(program);
            return;
        }
        DestroyLauncherWindow();
        return;
    }
    case MAIN_PLAY: {
        const std::u16string program = Joined(m_InstallPath, LauncherProgramFile(u"tessel.exe"));
        if (!plat::StartProcess(program, {}, m_InstallPath)) {
            ShowStartFailure(program);
            return;
        }
        DestroyLauncherWindow();
        return;
    }
    case MAIN_LANGUAGE_PACKS:
        EnterMenuState(MENU_LANGUAGE);
        return;
    case MAIN_BROWSE:
        if (!plat::OpenFolder(m_DiscFolder))
            ShowError(FillPrompt(Text(u"STR_OPEN_FAILED"), m_DiscFolder));
        return;
    case MAIN_EXIT:
        DestroyLauncherWindow();
        return;
    default:
        return;
    }
}

void Launcher::OnLanguagePack(int index)
{
    const std::u16string program = m_DiscFolder + std::u16string(PACK_LAYOUT[index].discFolder) + u'/' +
                                   std::u16string(LauncherProgramFile(u"langpack.exe"));
    plat::MinimizeMainWindow();
    const int result = plat::SpawnAndWait(program, {std::u16string(CALLER_ARGUMENT)});
    ProbeLanguagePacks();
    plat::RestoreMainWindow();
    HitStoredPointer();
    InvalidateAll();
    // The completion is reported only when the pack's installer ran.
    if (result < 0)
        ShowStartFailure(program);
    else
        LauncherMessageBox(Text(u"STR_LANGINST_COMPLETE"), false);
}

void Launcher::DestroyLauncherWindow()
{
    plat::DestroyMainWindow();
    LauncherShutdown();
}

void Launcher::LauncherShutdown()
{
    m_Background.reset();
    m_Title.reset();
    for (const int menu : {MENU_LANGUAGE, MENU_MAIN}) {
        for (auto& button : m_Buttons[menu]) {
            if (button)
                button->ReleaseBitmaps();
            button.reset();
        }
    }
    m_Strings.Clear();
    m_bRunning = false;
}

void Launcher::Invalidate(const LauncherRect& rect)
{
    const LauncherRect clipped = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, LAUNCHER_WIDTH),
                                  std::min(rect.bottom, LAUNCHER_HEIGHT)};
    if (clipped.right > clipped.left && clipped.bottom > clipped.top)
        m_Dirty = Union(m_Dirty, clipped);
}

void Launcher::InvalidateAll()
{
    Invalidate({0, 0, LAUNCHER_WIDTH, LAUNCHER_HEIGHT});
}

void Launcher::Blit(const RasterBitmap& bitmap, int left, int top, const LauncherRect& clip)
{
    const int x0 = std::max(left, clip.left);
    const int y0 = std::max(top, clip.top);
    const int x1 = std::min(left + bitmap.width, clip.right);
    const int y1 = std::min(top + bitmap.height, clip.bottom);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            m_Frame[static_cast<std::size_t>(y) * LAUNCHER_WIDTH + x] = bitmap.At(x - left, y - top);
    }
}

void Launcher::LauncherPaintBackground(const LauncherRect& rect)
{
    if (m_Background) {
        Blit(*m_Background, 0, 0, rect);
    } else {
        for (int y = rect.top; y < rect.bottom; ++y)
            std::fill_n(m_Frame.begin() + static_cast<std::ptrdiff_t>(y) * LAUNCHER_WIDTH + rect.left,
                        rect.right - rect.left, 0xFFFFFFu);
    }
    if (m_Title)
        Blit(*m_Title, LAUNCHER_WIDTH - m_Title->width, TITLE_TOP, rect);
}

void Launcher::LauncherPaintButtons(const LauncherRect& rect)
{
    for (auto& slot : m_Buttons[m_MenuState]) {
        LauncherButton* const button = slot.get();
        if (button == nullptr || !button->IsEnabled() || button->IsEmpty())
            continue;
        if (!button->NeedsRedraw() && !button->IntersectsRect(rect))
            continue;
        if (const RasterBitmap* bitmap = button->CurrentBitmap()) {
            const LauncherRect own = button->GetRect();
            Blit(*bitmap, own.left, own.top, rect);
        }
        button->MarkDrawn();
    }
}

void Launcher::Paint()
{
    if (!m_bRunning || m_Dirty.right <= m_Dirty.left || m_Dirty.bottom <= m_Dirty.top)
        return;
    const LauncherRect rect = m_Dirty;
    m_Dirty = {};
    LauncherPaintBackground(rect);
    LauncherPaintButtons(rect);
    m_Present.resize(m_Frame.size());
    for (std::size_t i = 0; i < m_Frame.size(); ++i) {
        const std::uint32_t pixel = m_Frame[i];
        m_Present[i] = static_cast<std::uint16_t>(((pixel >> 8) & 0xF800) | ((pixel >> 5) & 0x07E0) | ((pixel >> 3) & 0x1F));
    }
    plat::PresentFrame(m_Present.data(), LAUNCHER_WIDTH, LAUNCHER_HEIGHT, LAUNCHER_WIDTH * 2, plat::PixelFormat::Rgb565);
}

int RunLauncher()
{
    Launcher launcher;
    if (!launcher.Start())
        return 0;
    return launcher.Run();
}
