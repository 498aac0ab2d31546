#pragma once
// A raw series carries no name of its own; the batch file written beside
// it does ("copy /b "data.001" + "data.002" "data.bin""). Read from there,
// an assembled raw series gets the name it was split from instead of its
// stem + "Unk".

#include <optional>
#include <string>
#include <string_view>

namespace vtq {

// The name the join line of a batch file's text writes, when that line
// joins fragments of the stem `baseStem` (a base name ending in "."); a
// base name, never a path.
std::optional<std::string> JoinedNameInBatchText(std::string_view text, std::string_view baseStem);

// The same for the batch file beside `firstFragment` (its stem + "BAT");
// nullopt when there is none or it names nothing usable.
std::optional<std::string> RawSeriesNameFromBatchFile(const std::string& firstFragment);

}  // namespace vtq
