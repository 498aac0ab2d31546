#pragma once
// libgcrypt's start-up, for every part of a module that uses it.

namespace vtq::base {

// Starts libgcrypt once per module that holds a copy of it (kavrolib.dll
// holds its own): checks that it is at least the version compiled against,
// turns its secure memory off (the digests hold nothing secret, and
// kavrolib wipes its keys itself) and finishes its initialisation. Safe from several threads at
// once. False when the library is older than its header; then it must not be used.
bool StartGcrypt();

}  // namespace vtq::base
