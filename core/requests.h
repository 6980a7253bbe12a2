#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The information reads of the command layer share one request and one rule for the text of a
// reply. Neither shows the busy notice.
namespace Module2 {

// Sends a request without data (command, parameter, blank length field) built in SendBuffer and
// takes the reply payload into ReceiveBuffer. Its length, or -1 when the exchange failed, the
// status library cannot be loaded or another exchange is in progress (then nothing is touched).
int32_t Request(std::string_view command, std::string_view parameter);

// The text of the reply just received, up to its terminator. The search stays inside the reply,
// so a reply without a terminator gives its whole payload, never bytes an earlier, longer reply
// left in ReceiveBuffer; an empty or failed reply (length < 1) gives "".
std::string ReplyText(int32_t length, uint8_t terminator);

}  // namespace Module2
