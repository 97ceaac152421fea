// Writing a whole file or nothing: the text goes to a temporary file beside
// the target, which replaces the target only once everything is written.
#pragma once

#include <functional>
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
// to a temporary ".quarvel.XXXXXX" beside the target; either is named so
// only for the moment before it replaces the target. A name left by a
// process that died meanwhile is removed by the next write to the directory.
bool writeFileAtomically(const std::string& path, const std::function<bool(const ChunkSink&)>& produce,
                         FileError* error);

// The same for a text already in memory.
bool writeFileAtomically(const std::string& path, std::string_view text, FileError* error);

}  // namespace quarvel
