#pragma once
// Counts every heap allocation of the process while armed: malloc and its kin
// and operator new, from the test or from any library it calls.

namespace standin_test {
void CountAllocations(bool on);
long Allocations();
}  // namespace standin_test
