// Writing a whole file or nothing: the text goes to a temporary file beside
// the target, which replaces the target only once everything is written.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "wing/CpFiles.h"

namespace quarvel {

// Takes one chunk of the file's text; false stops the writing.
using ChunkSink = std::function<bool(std::string_view chunk)>;

// Writes to path what produce hands to its sink, chunk by chunk. Returns
// false and fills *error when the file could not be written (or produce
// returned false); an existing file is then left as it was and no partial
// file stays behind. A symbolic link is followed and the file it points to
// replaced in its own directory; a replaced file keeps its permissions, and
// its owner and group where the process may set them. A read-only target is
// not replaced (error->readOnly). The new text is complete on disk, the
// directory's entry included, before this returns true.
//
// The text goes to an unnamed file where the file system has them, otherwise
// to a new temporary ".quarvel.XXXXXX" beside the target; either is named so
// only for the moment before it replaces the target. A write removes no file
// but its own temporary one: a file of the user's that looks like one (or
// one left by a write that was killed on a file system without unnamed
// files) stays.
bool writeFileAtomically(const std::string& path, const std::function<bool(const ChunkSink&)>& produce,
                         FileError* error);

// The same for a text already in memory.
bool writeFileAtomically(const std::string& path, std::string_view text, FileError* error);

// What a write is about to replace: the real path of a file (its links
// followed; the path as given when there is no such file), the time it was
// last changed (nothing when there is no such file) and that time as a
// person reads it, local, "2026-12-07 10:31:05".
std::string realPathOf(const std::string& path);
std::optional<timespec> modificationTime(const std::string& path);
std::string formatLocalTime(const timespec& time);
// a was changed after b.
bool changedAfter(const timespec& a, const timespec& b);

}  // namespace quarvel
