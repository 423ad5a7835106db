// Share modes on POSIX: Windows lets a file be open for reading many times or for
// writing once, and refuses the open that would break that. Open file description locks
// give the same here between processes and between opens within one process.
#pragma once

namespace plat::posix {

enum class Share {
  Read,  // readers share the file with other readers
  None,  // a writer has it alone
};

// How long an open waits for a conflicting one to close before failing with 32. A
// rewrite holds its file for milliseconds; a reader that waited longer than this would
// rather hear that the file is busy.
constexpr int kShareWaitMilliseconds = 2000;

// Takes `share` for the descriptor, which must be open for reading (Read) or for writing
// (None). A waiting writer shuts new readers out, so a stream of readers cannot starve it.
// Without lock support in the file system the file is used unshared, as before.
bool TakeShare(int fd, Share share);

// Holding a working file: a lock far from the share locks, so reading and rewriting the
// file stay open to everyone while RemoveUnheldFile can tell a live file from a stale one.
// TryHold answers true when it took the hold, false with 32 when another has it, and false
// with 50 (not supported) when the file system keeps no locks.
bool TryHold(int fd);

}  // namespace plat::posix
