// The number of global operator new calls so far in this test program.
#pragma once

namespace qv::test {

long AllocationCount();

}  // namespace qv::test
