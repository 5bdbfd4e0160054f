// What the process holds in memory, split as the kernel counts it: pages
// backed by a file (libraries, the font file, mapped data), shared memory
// (the window's pixels) and anonymous pages (heaps and stacks).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

struct CResidentMemory {
    size_t fileBytes = 0;
    size_t shmemBytes = 0;
    size_t anonBytes = 0;
    size_t Total() const { return fileBytes + shmemBytes + anonBytes; }
};

// The RssFile, RssShmem and RssAnon lines of a /proc/<pid>/status text;
// nullopt when any of the three is missing or not a number of kB.
std::optional<CResidentMemory> ParseResidentMemory(std::string_view statusText);

// This process's figures now; nullopt where the system does not say.
std::optional<CResidentMemory> ReadResidentMemory();

// Called first in main: the threads allocate from four heaps at most, and
// blocks of 128 kB and more (pictures, surfaces, replies) are mapped on
// their own and given back when freed. With a heap per thread, and the
// threshold rising as the C library does by itself, what the request
// workers and the built-in server's threads free stays held, and the
// program grows by megabytes over a session for a few hundred kB in use.
// Not one heap: the start's threads (the font's, the keys', the server's,
// the worker's) allocate at once, and on one heap's lock they took twice as
// long (about 0.15 MB less held after every screen).
// Up to half a megabyte free at the heap's top is kept for the next screen.
void KeepHeapSmall();
