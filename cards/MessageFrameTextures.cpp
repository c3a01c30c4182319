// The frame pieces of the display's message windows, given by each scene load.
#include "engine/scene/GameDisplay.h"
#include "gui/OldDialog.h"

void GameDisplay::SetMessageFrameTextures(const std::array<int, FRAME_TEXTURE_COUNT>& textures)
{
    for (const auto& [key, dialog] : m_MessageDialogs) {
        if (dialog == nullptr)
            continue;
        dialog->SetFrameTextures(textures[0], textures[1], textures[2], textures[3], textures[4], textures[5],
                                 textures[6], textures[7], textures[8]);
    }
    m_FrameTextures = textures;
}
