#pragma once

#include <string>

// The notice shown while a table transfer blocks the user interface. The shell installs its notice
// window; without one the transfers run silently.
struct BusyNotice {
    virtual void Indication(const std::string& text) = 0;
    virtual void Extinction() = 0;
    virtual ~BusyNotice() = default;
};

void SetBusyNotice(BusyNotice* notice);
