// Counts every heap allocation of the test program that links it: linking
// the library replaces the global operator new.
#pragma once

namespace plyvane::test {

long HeapAllocations();
long HeapAllocatedBytes();

}  // namespace plyvane::test
