// A menu overlay: a box centred over a full-screen backdrop whose answer the owner polls; every showing starts
// unanswered.
#pragma once

#include "screens/GameInterface.h"

class OverlayInterface : public GameInterface {
public:
    void OnActivate() override;
    void OnAdded() override;
    void Refresh() override;
    void OnResize(int width, int height) override;

    void CenterBox();

    // -1 while unanswered, else what the overlay's buttons mean.
    int m_Result = -1;
};
