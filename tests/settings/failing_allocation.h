// Allocations that fail on purpose. This test program replaces operator new
// (the editor's classes are linked in statically, so their allocations come
// here too) with a countdown that throws std::bad_alloc once.
#pragma once

// From now on, count allocations succeed and the next one fails.
void FailAllocationAfter(long count);
// Stops the countdown; true when an allocation failed since it was set.
bool StopFailingAllocations();
