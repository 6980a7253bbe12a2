#include "status/command_block.h"

#include <algorithm>
#include <cstring>

namespace parvel {

namespace {
void PutPadded(unsigned char* destination, const char* text, size_t width) {
    const size_t n = std::min(std::strlen(text), width);
    std::memcpy(destination, text, n);
    std::memset(destination + n, ' ', width - n);
}
}  // namespace

void FormatBlockHeader(unsigned char* destination, const char* command, const char* parameter,
                       const char* lengthField) {
    destination[0] = 0x1B;
    destination[1] = 'P';
    PutPadded(destination + 2, command, 6);
    PutPadded(destination + 8, parameter, 16);
    PutPadded(destination + 24, lengthField, 8);
}

void FormatLength8(char* destination, int32_t v) {
    int32_t scale = 10'000'000;
    destination[0] = static_cast<char>('0' + v / scale);
    for (int k = 1; k < 8; ++k) {
        scale /= 10;
        destination[k] = static_cast<char>('0' + (v / scale) % 10);
    }
}

}  // namespace parvel
