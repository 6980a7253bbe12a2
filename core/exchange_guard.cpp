#include "core/exchange_guard.h"

namespace {

// How many claims are held, and how deep in event handling inside an exchange the first of them
// was taken. Single-threaded by design: the user-interface thread makes every printer call.
int Claims = 0;
int ClaimDepth = 0;
int EventDepth = 0;

}  // namespace

ExchangeClaim::ExchangeClaim() : granted_(Claims == 0 || EventDepth == ClaimDepth) {
    if (!granted_) return;
    if (Claims == 0) ClaimDepth = EventDepth;
    ++Claims;
}

ExchangeClaim::~ExchangeClaim() {
    if (granted_) --Claims;
}

EventsDuringExchange::EventsDuringExchange() {
    ++EventDepth;
}

EventsDuringExchange::~EventsDuringExchange() {
    --EventDepth;
}

bool PrinterBusy() {
    return Claims > 0 && EventDepth != ClaimDepth;
}
