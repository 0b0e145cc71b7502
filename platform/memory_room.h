#pragma once
// How much more memory the machine can give this process. Large pictures are counted against it
// before they are made, so that running out is a refusal with the runtime's message rather than
// the end of the program.
#include <cstdint>

// The least of: what the system can still hand out (available memory and free swap; under
// strict overcommit, what is left of the commit limit), the room left under the process's
// address-space limit and the room left under its data limit, less a spare share kept for what
// nobody counts (fonts, widgets, the decoders' small tables).
std::uint64_t MemoryRoom();

// Throws OutOfMemoryError when bytes more would not fit in MemoryRoom().
void CheckMemoryRoom(std::uint64_t bytes);
