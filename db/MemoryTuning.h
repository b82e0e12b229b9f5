#pragma once

// Tunes the C library's allocator for the program's grids, called first thing in main().
// A grid of a search holds every cell as its own small objects; clearing 100,000 rows frees
// over a million of them at once. glibc keeps such chunks in "fast bins" unmerged, and the next
// large allocation then walks all of them (malloc_consolidate): a search after a large one
// took three times as long as the same search after a small one. Without fast bins the freed
// chunks merge as they are freed; the per-thread cache still serves the common small sizes.
void TuneMemoryAllocator();
