#include "core/requests.h"

#include <algorithm>

#include "core/command_blocks.h"
#include "core/exchange_guard.h"
#include "core/parvel_link.h"

namespace Module2 {

int32_t Request(std::string_view command, std::string_view parameter) {
    const ExchangeClaim claim;
    if (!claim) return -1;
    BuildCommandHeader(command, parameter, -1);
    try {
        return Parvel::JmGetCommandEX(PortHandle, SendBuffer.data(), HeaderSize,
                                      ReceiveBuffer.data(), BufferSize - 1);
    } catch (const Parvel::Unavailable&) {
        return -1;
    }
}

std::string ReplyText(int32_t length, uint8_t terminator) {
    if (length < 1) return "";
    const auto begin = ReceiveBuffer.begin();
    const auto end = begin + std::min<int32_t>(length, BufferSize - 1);
    return FromAnsi(std::string(begin, std::find(begin, end, terminator)));
}

}  // namespace Module2
