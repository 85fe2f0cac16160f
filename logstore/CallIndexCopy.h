// The program's own copy of the logging program's call index. The logging
// program adds every new QSO to vireon.dx0; the exact lookup reads call.idx,
// a copy of it, so that it never opens the logger's live file while that
// one may be written. The copy follows the original: before every exact
// lookup and at start, when the two differ in last-write time or size, the
// original is copied over the copy (to a temporary name in the same folder,
// then put in its place, so that a failed copy never leaves half a file).
// call.idx is the program's own file: it never takes the original's
// read-only mark, and one marked read-only is replaced all the same, so
// that the copy never stops following.
#pragma once
#include <cstdint>

constexpr char kLoggerIndexName[] = "vireon.dx0";
constexpr char kCallIndexCopyName[] = "call.idx";

// What the program knows of an index file without opening it.
struct IndexFileStamp {
    bool Present = false;
    uint64_t Size = 0;
    uint64_t WriteTime = 0;   // last write, in the system's own units
};

// Whether the copy is to be made anew from the logger's index: the logger's
// index is there and the copy is missing or differs from it in time or
// size.
bool CallIndexCopyIsStale(const IndexFileStamp& logger, const IndexFileStamp& copy);

// The index file the exact lookup opens: the copy when there is one; the
// logger's own index when there is no copy but that one exists (the folder
// does not let the copy be made); else the copy's name, which then fails to
// open as it always has.
const char* CallIndexToOpen(bool copyPresent, bool loggerPresent);

// Both steps on the files of the current folder: refreshes call.idx when it
// is stale (a failure leaves the old copy and says nothing) and returns the
// name the lookup opens.
const char* PrepareCallIndex();

// The stamp of a file in the current folder (Present false when there is no
// such file), and the refresh on its own: true when call.idx now holds a
// whole copy of vireon.dx0 with its last-write time and normal attributes.
IndexFileStamp StampOfIndexFile(const char* name);
bool RefreshCallIndexCopy();
