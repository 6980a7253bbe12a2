#pragma once
// Control API of the emulated printers, for tests: reset, script faults and
// settings, and read back what the printers were given.
//
// A NULL port means every emulated printer, including those that the first
// exchange on a new port name creates later on (until the next reset).

#include <cstdint>

#include "platform/quillet/quillet.h"

extern "C" {

enum {
    QUILLET_REPLY_SHORT = 1,         // payload cut to arg bytes, the header says so
    QUILLET_REPLY_OVERSIZED = 2,     // the header claims arg bytes more than are sent
    QUILLET_REPLY_UNTERMINATED = 3,  // the trailing CR (or CR LF) is left off
    QUILLET_REPLY_DELAY = 4,         // the reply would come arg ms past the timeout: the
                                     // exchange fails at once, as it would at the timeout
    QUILLET_REPLY_EMPTY = 5,         // "00000000"
};

// Every emulated printer back to its factory state; faults, scripted replies,
// the received log and the block log cleared. The logs are kept only from the
// first reset on, so a process that never resets (the program) keeps none.
QUILLET_EXPORT void quillet_reset(void);
// The status code that "STATUS" answers ("0" idle, "1010", "FU101", ...); NULL code = "0".
QUILLET_EXPORT void quillet_set_status(const char16_t* port, const char* code);
// The next n exchanges (MonitorIoControl calls, any port) fail.
QUILLET_EXPORT void quillet_fail_next(int n);
// The next `pass` exchanges go through, then n fail: a failure in the middle of a sequence.
QUILLET_EXPORT void quillet_fail_after(int pass, int n);
// Queues a fault for the next reply of an emulated printer (one fault a reply, in order).
QUILLET_EXPORT void quillet_fault_next_reply(int kind, int arg);

// Every MonitorIoControl call since the reset, accepted or not, but for the questions of the brief
// wait, which reach no printer.
QUILLET_EXPORT int quillet_received_count(void);
// Copies up to bufSize bytes of call `index` and its port name (NUL-terminated, cut to
// portUnits); returns the call's whole input length, or -1 for an index out of range.
QUILLET_EXPORT int quillet_received(int index, uint32_t* controlCode, unsigned char* buf,
                                    int bufSize, char16_t* port, int portUnits);
// Complete command blocks (header and data) the emulated printers accepted since the reset.
QUILLET_EXPORT int quillet_block_count(void);
// Copies up to bufSize bytes of block `index`; returns its whole length, or -1.
QUILLET_EXPORT int quillet_block(int index, unsigned char* buf, int bufSize);

// Pins sensor slot 1..13 to a raw reading (-99..999); any other reading lets it drift again.
// Returns 1, or 0 for a slot out of range.
QUILLET_EXPORT int quillet_set_sensor(const char16_t* port, int slot, int raw);
// Sets one setting of the printer by key (see the emulator's description for the keys:
// "media", "counter_a", "serial", ...). Returns 1, or 0 for an unknown key or a bad value.
QUILLET_EXPORT int quillet_set_setting(const char16_t* port, const char* key, const char* value);
// Copies the setting's text with its terminator (cut to outSize); returns its length, or -1
// for an unknown key or a NULL port.
QUILLET_EXPORT int quillet_get_setting(const char16_t* port, const char* key, char* out,
                                       int outSize);
// From now on the request (command, parameter; both without padding) is answered with
// exactly these payload bytes; a NULL payload gives the printer its own answer back.
QUILLET_EXPORT void quillet_set_reply(const char16_t* port, const char* command,
                                      const char* parameter, const unsigned char* payload,
                                      int length);
// Copies the payload the printer holds for a table parameter ("HeadTemp_Y", "Version",
// ...); returns its whole length, or -1 for an unknown parameter or a NULL port.
QUILLET_EXPORT int quillet_table(const char16_t* port, const char* parameter, unsigned char* buf,
                                 int bufSize);
}
