#pragma once
// Counts every heap allocation of the calling thread while armed: malloc and its
// kin and operator new, from the test or from any library it calls.

namespace standin_test {
void CountAllocations(bool on);
long Allocations();
// Whether the counter sees an allocation made while it is armed: a count of 0 means
// something only when this holds.
bool CountsAnAllocation();
}  // namespace standin_test
