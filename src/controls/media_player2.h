// The Windows Media Player 6.4 control {22D6F312-B0F6-11D0-94AB-0080C74C7E95}, called by
// dispatch id. Its events are not used.
#pragma once
#include <string>

#include "framework/activex_site.h"

class CMediaPlayer2 : public fw::AxControl {
public:
    CMediaPlayer2() : fw::AxControl(nullptr) {}

    // A Boolean property of the player, dispatch id 23; what it governs is the player's own
    // business (whether a movie starts by itself rests with the player's state).
    HRESULT PutProperty23(bool value);
    // Method 2010: opens the file.
    HRESULT Open(const std::string& file);
};
