#pragma once
// Replacing a file by a completely written new one in a single step, so that
// a failed save never leaves the old file half overwritten. The new contents
// go to a scratch file beside the file they replace, on the same volume.
#include <cstdio>
#include <string>

namespace vel {

struct TSaveTarget {
  // Where the bytes go: a symbolic link's target (so the link stays a link
  // and its target is updated), the name itself otherwise.
  std::string Path;
  // The file exists and is marked read-only: it is not to be replaced.
  bool ReadOnly = false;
};
TSaveTarget ResolveSaveTarget(const std::string& Path);

// Creates a new empty file beside Target, under a name no other file has,
// and answers its name (empty when none could be made). Scratch files that a
// killed save left beside Target are removed first.
std::string CreateScratchBeside(const std::string& Target);

// Puts what was written to File so far on the disk: a large file written in
// steps and flushed after each leaves little for the final replace to wait on.
bool FlushToDisk(std::FILE* File);

// Moves Source over Target (replacing it when it exists) once Source is on
// the disk, keeping Target's attributes. False on failure; Target is then
// unchanged.
bool ReplaceFileWith(const std::string& Source, const std::string& Target);

// The name pattern of Target's scratch files: Target + kScratchInfix + a
// unique part + ".tmp".
inline constexpr char kScratchInfix[] = ".~vel";

}  // namespace vel
