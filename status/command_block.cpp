#include "status/command_block.h"

namespace parvel {

void FormatLength8(char* destination, int32_t v) {
    int32_t scale = 10'000'000;
    destination[0] = static_cast<char>('0' + v / scale);
    for (int k = 1; k < 8; ++k) {
        scale /= 10;
        destination[k] = static_cast<char>('0' + (v / scale) % 10);
    }
}

}  // namespace parvel
