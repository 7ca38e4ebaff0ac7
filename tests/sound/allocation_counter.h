// Counts the test program's allocations through the global operator new, which
// allocation_counter.cpp replaces.
#pragma once

long allocations_made();
