#pragma once

// One printer exchange at a time. The printer puts a block sent in pieces back together and drops
// it when a request comes between the pieces, and every exchange shares SendBuffer, ReceiveBuffer
// and the status library's buffers. All printer work runs on the user-interface thread, so the
// only way a second exchange can start inside a first is an event handled while the first hands
// control to the event loop, as the busy notice does before and after each exchange it shows.
//
// So every printer call of the program runs inside an ExchangeClaim, taken before it touches a
// buffer. A claim taken while another is held is granted to the same piece of work (the further
// exchanges of a transfer in pieces) and refused to an event handled meanwhile: the refused call
// does nothing and fails as an exchange with a silent printer would.

class ExchangeClaim {
public:
    ExchangeClaim();
    ~ExchangeClaim();
    ExchangeClaim(const ExchangeClaim&) = delete;
    ExchangeClaim& operator=(const ExchangeClaim&) = delete;

    // False when another exchange is in progress: the caller must not start.
    explicit operator bool() const { return granted_; }

private:
    bool granted_;
};

// Held around each point at which an exchange lets the event loop run (the busy notice's message
// processing); the printer calls of the events handled meanwhile are refused.
class EventsDuringExchange {
public:
    EventsDuringExchange();
    ~EventsDuringExchange();
    EventsDuringExchange(const EventsDuringExchange&) = delete;
    EventsDuringExchange& operator=(const EventsDuringExchange&) = delete;
};

// True while a claim would be refused, so that periodic work (the sensor monitor's poll) can skip
// a turn quietly instead of failing.
bool PrinterBusy();
