#pragma once
// How the program asks the C library for memory.

namespace morvane::LargeBlocks {

// From here on, every block of 256 KiB or more is mapped on its own and given
// back to the system when freed. The C library otherwise raises that
// threshold to the size of each large block freed, after which large blocks
// come from the heap and stay resident when freed: a rename of a million
// files kept the folder's names as read, the sort keys and the named texts
// as resident pages long after it had freed them (a peak of 292 MiB instead
// of 241). For a program's main, before its first large allocation.
void returnToTheSystemWhenFreed();

} // namespace morvane::LargeBlocks
