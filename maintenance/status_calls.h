#pragma once
// The dialogs call the status library's getters directly. A library without
// the export cannot read the printer: the call then gives what a failed
// exchange gives, and each dialog shows that as it shows any failed read.
#include <cstdint>

#include "core/parvel_link.h"

template <typename Call>
int32_t CallOrFailure(Call call, int32_t failure = -1) {
    try {
        return call();
    } catch (const Parvel::Unavailable&) {
        return failure;
    }
}
