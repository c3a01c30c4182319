#include "lessons/CardDialogRoster.h"

#include "cards/CardIds.h"
#include "engine/scene/FrameState.h"
#include "gui/DialogManager.h"
#include "lessons/AdvancedCardPrompts.h"
#include "lessons/CardDialogs.h"

#include <memory>
#include <vector>

namespace {

constexpr int BASIC_LESSON = 1;
constexpr int ADVANCED_LESSON = 2;
constexpr const char16_t* BASIC_FALLBACK_VOICE = u"vo_phys\\basic_playsorcery.wav";

void Arm(std::unique_ptr<CardSpecificDialog> dialog, const char16_t* voice = nullptr,
         const char16_t* fallback = u"")
{
    if (voice != nullptr)
        dialog->SetVoice(voice, fallback);
    AddArmedDialog(std::move(dialog));
}

void BuildFirstAppearanceDialogs()
{
    for (const CardSpecificDialogRow& row : FIRST_APPEARANCE_ROWS) {
        std::vector<int> links;
        for (const int link : row.links) {
            if (link != -1)
                links.push_back(link);
        }
        auto dialog = std::make_unique<FirstAppearanceDialog>(row.cardId, row.owner, row.key, links);
        dialog->SetVoice(row.voice, u"");
        AddArmedDialog(std::move(dialog));
    }
}

void BuildBasicLessonDialogs()
{
    constexpr const char16_t* FOR_WIN = u"vo_phys\\basic_cardspecific_playcardtowin.wav";
    Arm(std::make_unique<BasicCreaturePlayedDialog>());
    Arm(std::make_unique<CanPlayCardForWinDialog>(CD_DOVANRIC, -1), FOR_WIN);
    Arm(std::make_unique<CanPlayCardForWinDialog>(CD_VEKINDAL, -1), FOR_WIN);
    Arm(std::make_unique<CanPlayCardForWinDialog>(CD_DRAUMBER, -1), FOR_WIN);
    Arm(std::make_unique<DovanricReminderDialog>(-1), u"vo_phys\\basic_cardspecific_dovanrichint.wav");
    Arm(std::make_unique<CanPlayCardToKillWoundedCreatureDialog>(CD_DOVANRIC, CD_BRAANDRE, -1),
        u"vo_phys\\basic_cardspecific_playtokillwounded.wav");
    Arm(std::make_unique<CanPlayCardDialog>(CD_VEKINDAL, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOSTEALLIFE",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_vekindal.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardDialog>(CD_DRAUMBER, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODEALDAMAGE",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_damage.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardDialog>(CD_GALUMSK, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODESTROYLAND",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_galumsk.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardToGainLifeDialog>(CD_GALURWYN, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE",
                                                      u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE_OVER20",
                                                      std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_galurwyn.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardDialog>(CD_NODUMBER, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODESTROYTAPPEDCREATURE",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_nodumber.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardToDiscardCardsDialog>(CD_ESKINRIC, 0,
                                                          u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDCARDS",
                                                          u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDLASTCARD",
                                                          std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_eskinric.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardDialog>(CD_PELOTDRE, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODRAWCARDS",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_pelotdre.wav", BASIC_FALLBACK_VOICE);
    Arm(std::make_unique<CanPlayCardDialog>(CD_ZOLAKSAR, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGETEXTRALAND",
                                            std::span<const int>(), 1),
        u"vo_phys\\basic_couldplay_zolaksar.wav", BASIC_FALLBACK_VOICE);
}

void BuildAdvancedLessonPrompts()
{
    Arm(std::make_unique<CanTapCelisberToPlayCardDialog>(1), u"vo_phys\\adv_celisber_taphint.wav");
    Arm(std::make_unique<CanSaveTavengastDialog>(1));
    Arm(std::make_unique<CanPlaySelevmarDialog>(1), u"vo_phys\\adv_couldplay_selevmar.wav");
    Arm(std::make_unique<CanPlayKelolvinDialog>(1), u"vo_phys\\adv_couldplay_kelolvin.wav");
    Arm(std::make_unique<CanPlayPrailgastDialog1>(1), u"vo_phys\\adv_coulduse_prailgast.wav");
    Arm(std::make_unique<CanPlayPrailgastDialog2>(1));
    Arm(std::make_unique<CanPlayHosurberDialog>(1), u"vo_phys\\adv_couldplay_hosurber.wav");
    Arm(std::make_unique<CanPumpBelunvinDialog>());
    Arm(std::make_unique<CanSaveBelunvinDialog>(1));
    Arm(std::make_unique<CanPlayCardAtEndOfCPUTurnDialog>(CD_FALARSAR, u"PHYSDLG_CARDSPECIFIC_FALARSARPROMPT", 1),
        u"vo_phys\\adv_couldplay_falarsar.wav");
    Arm(std::make_unique<CanActivateNesismarDialog>());
    Arm(std::make_unique<CanPlaySavotnelDialog>());
    Arm(std::make_unique<CanPlayToredberDialog>(1), u"vo_phys\\adv_couldplay_toredber.wav");
    Arm(std::make_unique<CanPlayCardAtEndOfCPUTurnDialog>(CD_WENARWYN, u"PHYSDLG_CARDSPECIFIC_WENARWYNPROMPT", 1),
        u"vo_phys\\adv_couldplay_wenarwyn.wav");
    Arm(std::make_unique<CanActivateDraisnelDialog1>(1), u"vo_phys\\adv_coulduse_draisnel.wav");
    Arm(std::make_unique<CanActivateDraisnelDialog2>(1));
    Arm(std::make_unique<CanActivateDraisnelDialog3>(1), u"vo_phys\\adv_draisnel_killwounded.wav");
    Arm(std::make_unique<CanActivateRalevthDialog>(1));
    // The flyer dialogs carry their clips from their constructors.
    Arm(std::make_unique<FlyingBlockDialog>(0, 1));
    Arm(std::make_unique<FlyingBlockDialog>(1, 1));
    Arm(std::make_unique<PlayedLumottonDialog>());
}

} // namespace

const std::array<CardSpecificDialogRow, FIRST_APPEARANCE_ROW_COUNT> FIRST_APPEARANCE_ROWS = {{
    {CD_TAVENGAST, -1, u"PHYSDLG_CARDSPECIFIC_TAVENGAST", u"vo_phys\\adv_cardspecific_tavengast.wav", {2, 4, -1, -1}},
    {CD_HOSUNMEL, -1, u"PHYSDLG_CARDSPECIFIC_HOSUNMEL", u"", {3, -1, -1, -1}},
    {CD_GREURSK, -1, u"PHYSDLG_CARDSPECIFIC_GREURSK", u"", {3, -1, -1, -1}},
    {CD_SELEVMAR, -1, u"PHYSDLG_CARDSPECIFIC_SELEVMAR", u"vo_phys\\adv_cardspecific_selevmar.wav", {0, 1, -1, -1}},
    {CD_KELOLVIN, -1, u"PHYSDLG_CARDSPECIFIC_KELOLVIN", u"vo_phys\\adv_cardspecific_kelolvin.wav", {4, -1, -1, -1}},
    {CD_PRAUMGAST, -1, u"PHYSDLG_CARDSPECIFIC_PRAUMGAST", u"", {3, -1, -1, -1}},
    {CD_ISTUNBER, -1, u"PHYSDLG_CARDSPECIFIC_ISTUNBER", u"", {3, -1, -1, -1}},
    {CD_PRAILGAST, -1, u"PHYSDLG_CARDSPECIFIC_PRAILGAST", u"vo_phys\\adv_cardspecific_prailgast.wav", {2, -1, -1, -1}},
    {CD_TAVEVVIN, -1, u"PHYSDLG_CARDSPECIFIC_TAVEVVIN", u"", {3, -1, -1, -1}},
    {CD_HOSURBER, -1, u"PHYSDLG_CARDSPECIFIC_HOSURBER", u"vo_phys\\adv_cardspecific_hosurber.wav", {4, -1, -1, -1}},
    {CD_NODOTRIC, -1, u"PHYSDLG_CARDSPECIFIC_NODOTRIC", u"", {3, -1, -1, -1}},
    {CD_BELUNVIN, -1, u"PHYSDLG_CARDSPECIFIC_BELUNVIN", u"vo_phys\\adv_cardspecific_belunvin.wav", {2, 4, -1, -1}},
    {CD_FALARSAR, -1, u"PHYSDLG_CARDSPECIFIC_FALARSAR", u"vo_phys\\adv_cardspecific_falarsar.wav", {4, 6, -1, -1}},
    {CD_NESISMAR, 0, u"PHYSDLG_CARDSPECIFIC_NESISMAR1", u"vo_phys\\adv_cardspecific_nesismar.wav", {0, 1, 2, 4}},
    {CD_NESISMAR, 1, u"PHYSDLG_CARDSPECIFIC_NESISMAR2", u"vo_phys\\adv_cardspecific_nesismar_opp.wav", {0, 1, 2, 4}},
    {CD_SAVOTNEL, -1, u"PHYSDLG_CARDSPECIFIC_SAVOTNEL", u"vo_phys\\adv_cardspecific_savotnel.wav", {4, -1, -1, -1}},
    {CD_CELISBER, -1, u"FMT_PHYSDLG_CARDSPECIFIC_CELISBER", u"vo_phys\\adv_cardspecific_celisber.wav", {2, 4, -1, -1}},
    {CD_TOREDBER, 0, u"PHYSDLG_CARDSPECIFIC_TOREDBER1", u"vo_phys\\adv_cardspecific_toredber.wav", {0, 1, -1, -1}},
    {CD_TOREDBER, 1, u"PHYSDLG_CARDSPECIFIC_TOREDBER2", u"vo_phys\\adv_cardspecific_toredber_opp.wav", {0, 1, -1, -1}},
    {CD_WENARWYN, -1, u"PHYSDLG_CARDSPECIFIC_WENARWYN", u"vo_phys\\adv_cardspecific_wenarwyn.wav", {4, 7, 0, -1}},
    {CD_DRAISNEL, -1, u"PHYSDLG_CARDSPECIFIC_DRAISNEL", u"vo_phys\\adv_cardspecific_draisnel.wav", {2, 4, 7, -1}},
    {CD_RALEVTH, 0, u"PHYSDLG_CARDSPECIFIC_RALEVTH1", u"vo_phys\\adv_cardspecific_ralevth.wav", {7, 2, 4, -1}},
    {CD_RALEVTH, 1, u"PHYSDLG_CARDSPECIFIC_RALEVTH2", u"vo_phys\\adv_cardspecific_ralevth_opp.wav", {7, 2, 4, -1}},
}};

void BuildCardSpecificDialogs()
{
    DestroyAllDialogs();
    if (s_GameMode == ADVANCED_LESSON)
        BuildFirstAppearanceDialogs();
    if (s_GameMode == BASIC_LESSON)
        BuildBasicLessonDialogs();
    if (s_GameMode == ADVANCED_LESSON)
        BuildAdvancedLessonPrompts();
}
