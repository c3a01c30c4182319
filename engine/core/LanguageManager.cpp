#include "engine/core/LanguageManager.h"

#include "engine/core/RegistrySettings.h"
#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

struct LanguageInfo {
    int id;
    std::u16string_view dataFolder;
    // The C library's character-type locale of the language. The C library's locale is left as it is here:
    // text is UTF-16 handled by the program's own helpers, so the name is kept for reference only.
    std::u16string_view localeName;
    int charset;
    float textScale;
};

// Row 0 (English) also stands for every id not listed.
constexpr LanguageInfo LANGUAGES[] = {
    {LANG_ENGLISH, u"data_en\\", u"English_USA", 0, 1.0f},
    {LANG_FRENCH, u"data_fr\\", u"French", 0, 1.25f},
    {LANG_GERMAN, u"data_de\\", u"German", 0, 1.25f},
    {LANG_SPANISH, u"data_es\\", u"Spanish", 0, 1.25f},
    {LANG_PORTUGUESE, u"data_pt\\", u"Portuguese_Brazil", 0, 1.25f},
    {LANG_ITALIAN, u"data_it\\", u"Italian", 0, 1.25f},
    {LANG_RUSSIAN, u"data_ru\\", u"Russian", 204, 1.25f},
    {LANG_JAPANESE, u"data_jp\\", u"Japanese", 128, 1.25f},
    {LANG_CHINESE_SIMPLIFIED, u"data_chs\\", u"Chinese.936", 134, 1.0f},
    {LANG_CHINESE_TRADITIONAL, u"data_cht\\", u"Chinese.950", 136, 1.0f},
    {LANG_KOREAN, u"data_kn\\", u"Korean", 1, 1.25f},
};

bool IsListedLanguage(int id)
{
    return id >= LANG_ENGLISH && id <= LANG_KOREAN;
}

const LanguageInfo& LanguageInfoOf(int id)
{
    return IsListedLanguage(id) ? LANGUAGES[id - LANG_ENGLISH] : LANGUAGES[0];
}

// Compared with the start of a name in this order; the first word that the name begins with wins.
struct LanguageWord {
    std::u16string_view word;
    int id;
};

constexpr LanguageWord LANGUAGE_WORDS[] = {
    {u"German", LANG_GERMAN},
    {u"Spanish", LANG_SPANISH},
    {u"French", LANG_FRENCH},
    {u"Italian", LANG_ITALIAN},
    {u"Portuguese", LANG_PORTUGUESE},
    {u"Russian", LANG_RUSSIAN},
    {u"Japanese", LANG_JAPANESE},
    {u"Chinese", LANG_CHINESE_SIMPLIFIED},
    {u"Korean", LANG_KOREAN},
};

// An InstallType of 2 makes "Chinese" mean traditional Chinese.
constexpr int INSTALL_TYPE_TRADITIONAL_CHINESE = 2;

// GetLocaleInfo's English language name is read into 64 units.
constexpr std::size_t LOCALE_NAME_CAPACITY = 64;

constexpr std::u16string_view LANGUAGE_DATA_FILES[] = {u"res_str_phys_u.txt", u"cards_phys_u.cfg"};

constexpr std::u16string_view STARTUP_MESSAGE_KEY = u"PRE_APP_MESSAGE_";
constexpr std::u16string_view PUNCTUATION_KEY = u"STR_PUNCT";
constexpr std::u16string_view PUNCTUATION_KEY_GERMAN = u"STR_PUNCT_DE";

using StartupMessages = std::array<std::u16string_view, STARTUP_MESSAGE_COUNT>;

struct BuiltInMessages {
    int id;
    StartupMessages texts;
};

// Message 1 is not used.
constexpr BuiltInMessages BUILT_IN_MESSAGES[] = {
    {LANG_ENGLISH,
     {u"Learn to Play the Varrow Game",
      u"",
      u"You must install DirectX 3.0 or above.",
      u"Desktop resolution must be set to 800 by 600 or greater.",
      u"Video display must be set to 16-bit color depth or higher.",
      u"Video display must support RGB color mode with at least 5 bits per color channel.",
      u"Error Starting DirectX.",
      u"Unknown DirectDraw Error.",
      u"Your current display settings may have undesirable effects.\n"
      u"Please make sure your display is set to High Color (16-bit),\n"
      u"with a resolution of 800x600 or greater.",
      u"The program could not find language data. You may need to re-install the program."}},
    {LANG_FRENCH,
     {u"Apprendre à jouer au jeu Varrow",
      u"",
      u"Vous devez installer DirectX 3.0 ou une version ultérieure.",
      u"La résolution de l'écran doit être réglée sur 800 x 600 ou plus.",
      u"L'affichage doit être réglé sur une profondeur de couleur de 16 bits ou plus.",
      u"L'affichage doit prendre en charge le mode de couleur RVB avec au moins 5 bits par canal de couleur.",
      u"Erreur au démarrage de DirectX.",
      u"Erreur DirectDraw inconnue.",
      u"Vos paramètres d'affichage actuels peuvent avoir des effets indésirables.\n"
      u"Veuillez vérifier que l'affichage est réglé sur Couleurs moyennes (16 bits),\n"
      u"avec une résolution de 800x600 ou plus.",
      u"Le programme ne trouve pas les données de langue. Vous devrez peut-être réinstaller le programme."}},
    {LANG_GERMAN,
     {u"Lernen Sie das Varrow-Spiel",
      u"",
      u"Sie müssen DirectX 3.0 oder höher installieren.",
      u"Die Bildschirmauflösung muss auf mindestens 800 x 600 eingestellt sein.",
      u"Die Anzeige muss auf eine Farbtiefe von mindestens 16 Bit eingestellt sein.",
      u"Die Anzeige muss den RGB-Farbmodus mit mindestens 5 Bit pro Farbkanal unterstützen.",
      u"Fehler beim Starten von DirectX.",
      u"Unbekannter DirectDraw-Fehler.",
      u"Ihre aktuellen Anzeigeeinstellungen können unerwünschte Auswirkungen haben.\n"
      u"Bitte stellen Sie sicher, dass die Anzeige auf High Color (16 Bit)\n"
      u"mit einer Auflösung von mindestens 800x600 eingestellt ist.",
      u"Das Programm konnte die Sprachdaten nicht finden. Möglicherweise müssen Sie das Programm neu "
      u"installieren."}},
    {LANG_SPANISH,
     {u"Aprenda a jugar al juego Varrow",
      u"",
      u"Debe instalar DirectX 3.0 o una versión posterior.",
      u"La resolución del escritorio debe ser de 800 x 600 o superior.",
      u"La pantalla debe estar configurada con una profundidad de color de 16 bits o superior.",
      u"La pantalla debe admitir el modo de color RGB con al menos 5 bits por canal de color.",
      u"Error al iniciar DirectX.",
      u"Error de DirectDraw desconocido.",
      u"La configuración actual de la pantalla puede producir efectos no deseados.\n"
      u"Asegúrese de que la pantalla esté configurada en Color de alta densidad (16 bits),\n"
      u"con una resolución de 800x600 o superior.",
      u"El programa no encontró los datos de idioma. Es posible que deba volver a instalar el programa."}},
    {LANG_PORTUGUESE,
     {u"Aprenda a jogar o jogo Varrow",
      u"",
      u"Você precisa instalar o DirectX 3.0 ou superior.",
      u"A resolução da área de trabalho deve ser de 800 x 600 ou superior.",
      u"O vídeo deve estar configurado com profundidade de cor de 16 bits ou superior.",
      u"O vídeo deve suportar o modo de cor RGB com pelo menos 5 bits por canal de cor.",
      u"Erro ao iniciar o DirectX.",
      u"Erro desconhecido do DirectDraw.",
      u"As configurações de vídeo atuais podem causar efeitos indesejados.\n"
      u"Verifique se o vídeo está configurado para High Color (16 bits),\n"
      u"com resolução de 800x600 ou superior.",
      u"O programa não encontrou os dados de idioma. Talvez seja necessário reinstalar o programa."}},
    {LANG_ITALIAN,
     {u"Impara a giocare al gioco Varrow",
      u"",
      u"È necessario installare DirectX 3.0 o versione successiva.",
      u"La risoluzione del desktop deve essere impostata su 800 x 600 o superiore.",
      u"Lo schermo deve essere impostato su una profondità di colore di almeno 16 bit.",
      u"Lo schermo deve supportare la modalità colore RGB con almeno 5 bit per canale di colore.",
      u"Errore durante l'avvio di DirectX.",
      u"Errore DirectDraw sconosciuto.",
      u"Le impostazioni correnti dello schermo potrebbero causare effetti indesiderati.\n"
      u"Assicurarsi che lo schermo sia impostato su High Color (16 bit),\n"
      u"con una risoluzione di 800x600 o superiore.",
      u"Il programma non ha trovato i dati della lingua. Potrebbe essere necessario reinstallare il programma."}},
};

// Every language without messages of its own uses English (the first row).
const StartupMessages& BuiltInMessagesOf(int id)
{
    for (const BuiltInMessages& messages : BUILT_IN_MESSAGES) {
        if (messages.id == id)
            return messages.texts;
    }
    return BUILT_IN_MESSAGES[0].texts;
}

// The C library's wide white space: the ASCII controls and space, and the breaking Unicode spaces
// (no-break spaces are not white space).
bool IsWhiteSpace(char16_t ch)
{
    if ((ch >= 0x09 && ch <= 0x0D) || ch == 0x20)
        return true;
    if (ch < 0x1680)
        return false;
    return ch == 0x1680 || (ch >= 0x2000 && ch <= 0x2006) || (ch >= 0x2008 && ch <= 0x200A) || ch == 0x2028 ||
           ch == 0x2029 || ch == 0x205F || ch == 0x3000;
}

// Languages whose text breaks between any two ideographs.
bool BreaksAnywhere(int id)
{
    return id == LANG_JAPANESE || id == LANG_CHINESE_SIMPLIFIED || id == LANG_CHINESE_TRADITIONAL;
}

std::u16string_view LookUp(std::u16string_view key)
{
    const StringLookupHook hook = GetStringLookupHook();
    if (hook == nullptr)
        return {};
    const char16_t* const text = hook(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

StringLookupHook s_pStringLookupHook = nullptr;
LanguageChangeActions s_ChangeActions;
std::unique_ptr<LanguageManager> s_pLanguageManager;

} // namespace

void SetStringLookupHook(StringLookupHook hook)
{
    s_pStringLookupHook = hook;
}

StringLookupHook GetStringLookupHook()
{
    return s_pStringLookupHook;
}

void SetLanguageChangeActions(const LanguageChangeActions& actions)
{
    s_ChangeActions = actions;
}

LanguageManager::LanguageManager() = default;

void LanguageManager::SetLanguage(int id, bool applyFonts)
{
    if (id == LANG_CHOOSE) {
        const std::u16string_view installLang = GetRegistrySettings()->GetString(u"InstallLang", REGISTRY_PRODUCT_KEY);
        id = installLang.empty() ? GetUserLocaleLanguageId() : LanguageIdFromName(installLang);
    } else {
        // An id that is not a language (a damaged setting) is English, as its data folder already is.
        if (!IsListedLanguage(id))
            id = LANG_ENGLISH;
        if (applyFonts && id != m_LanguageId)
            m_bChanged = true;
    }

    const LanguageInfo& language = LanguageInfoOf(id);
    m_LanguageId = id;
    m_TextScale = language.textScale;
    m_DataFolder = language.dataFolder;
    if (s_ChangeActions.SetLanguageDirectory != nullptr)
        s_ChangeActions.SetLanguageDirectory(m_DataFolder.c_str());

    // Every system this runs on counts as NT 5.1 or later.
    if (applyFonts && s_ChangeActions.SetupRasterFonts != nullptr)
        s_ChangeActions.SetupRasterFonts(id, language.charset, RASTER_FONTS_NEWER_SYSTEM | RASTER_FONTS_SYSTEM_XP);
}

int LanguageManager::GetCharset(int id) const
{
    return LanguageInfoOf(id == 0 ? m_LanguageId : id).charset;
}

char16_t* LanguageManager::GetLocalizedPath(char16_t* buffer, std::size_t& capacity, const char16_t* name) const
{
    const std::u16string_view fileName = name != nullptr ? std::u16string_view(name) : std::u16string_view();
    const std::size_t length = m_DataFolder.size() + fileName.size();
    if (buffer == nullptr || length >= capacity)
        return nullptr;
    char16_t* const end = std::copy(m_DataFolder.begin(), m_DataFolder.end(), buffer);
    *std::copy(fileName.begin(), fileName.end(), end) = u'\0';
    capacity = length;
    return buffer;
}

std::u16string LanguageManager::GetLocalizedPath(std::u16string_view name) const
{
    if (m_DataFolder.size() + name.size() >= LANGUAGE_FOLDER_CAPACITY)
        return {};
    return m_DataFolder + std::u16string(name);
}

std::u16string LanguageManager::GetStartupMessage(int n) const
{
    if (n < 0 || n >= STARTUP_MESSAGE_COUNT)
        return {};
    std::u16string key(STARTUP_MESSAGE_KEY);
    key += static_cast<char16_t>(u'0' + n);
    const std::u16string_view text = LookUp(key);
    if (!text.empty())
        return std::u16string(text);
    return std::u16string(BuiltInMessagesOf(m_LanguageId)[static_cast<std::size_t>(n)]);
}

bool LanguageManager::IsLineBreakChar(char16_t ch, int* keptLength) const
{
    const bool breaks = (BreaksAnywhere(m_LanguageId) && ch >= 256) || IsWhiteSpace(ch);
    // The breaking character stays with the text before it.
    if (breaks && keptLength != nullptr)
        *keptLength = 0;
    return breaks;
}

bool LanguageManager::IsPunctuationChar(char16_t ch) const
{
    if (ch == 0)
        return false;
    const std::u16string_view punctuation =
        LookUp(m_LanguageId == LANG_GERMAN ? PUNCTUATION_KEY_GERMAN : PUNCTUATION_KEY);
    return punctuation.find(ch) != std::u16string_view::npos;
}

LanguageManager* GetLanguageManager()
{
    if (!s_pLanguageManager)
        s_pLanguageManager = std::make_unique<LanguageManager>();
    return s_pLanguageManager.get();
}

void DeleteLanguageManager()
{
    s_pLanguageManager.reset();
}

int LanguageIdFromName(std::u16string_view name)
{
    for (const LanguageWord& entry : LANGUAGE_WORDS) {
        if (!StartsWithAsciiNoCase(name, entry.word))
            continue;
        if (entry.id == LANG_CHINESE_SIMPLIFIED &&
            GetRegistrySettings()->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY) == INSTALL_TYPE_TRADITIONAL_CHINESE)
            return LANG_CHINESE_TRADITIONAL;
        return entry.id;
    }
    return LANG_ENGLISH;
}

int GetUserLocaleLanguageId()
{
    const std::u16string name = plat::UserLocaleLanguageName();
    return LanguageIdFromName(std::u16string_view(name).substr(0, LOCALE_NAME_CAPACITY - 1));
}

int GetUserLocaleCharset()
{
    return LanguageInfoOf(GetUserLocaleLanguageId()).charset;
}

bool HasLanguageData(int id)
{
    const std::u16string_view folder = LanguageDataFolder(id);
    return std::all_of(std::begin(LANGUAGE_DATA_FILES), std::end(LANGUAGE_DATA_FILES),
                       [folder](std::u16string_view file) {
                           return plat::IsReadable(std::u16string(folder) + std::u16string(file));
                       });
}

std::u16string_view LanguageDataFolder(int id)
{
    return LanguageInfoOf(id).dataFolder;
}
