#pragma once
// What a command asks before it writes over something that is not the same
// as what it writes: a split over the fragments of another series (the
// series left behind would be a mix of two), an assembly over a different
// file of the same name.

#include <optional>
#include <string>

#include "engine/globals.h"

namespace vtq {

inline constexpr const char* kReplaceFragmentsTitle = "Replace fragments?";
inline constexpr const char* kReplaceFileTitle = "Replace file?";

// The source name that the first fragment standing at `firstFragment`
// records when its header (the own format's) names another file than
// `sourceName`; nullopt when it names that file, or tells nothing (absent,
// unreadable, raw data, the older format's prefix, which raw data can look
// like). A series of the same file in another size is the
// user's own to replace: its header says how many fragments it has, so no
// mix arises.
std::optional<std::string> OtherSeriesAt(Globals& globals, const std::string& firstFragment,
                                         const std::string& sourceName);

std::string ReplaceFragmentsQuestion(const std::string& firstFragment,
                                     const std::string& otherSource);
std::string ReplaceFileQuestion(const std::string& file);

// Whether the two files hold the same bytes.
bool SameContents(const std::string& one, const std::string& other);

}  // namespace vtq
