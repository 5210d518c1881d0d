#pragma once
// Handing freed heap memory back to the system. The heap keeps freed blocks for reuse;
// a caller that has just released a large part of its data for good (a document whose
// pages went to a paging file) calls this so that the process's resident memory shrinks
// too. Nothing happens until more than `keepFreeBytes` were freed since the last time
// memory was handed back (small amounts are reused soon); then the free memory is
// returned, which costs a walk over the heap: call it after megabytes, not bytes.
// Not thread-safe: the report library runs on one thread.

#include <cstddef>

void ReturnFreedMemoryToSystem(size_t keepFreeBytes);
