#pragma once

#include <string_view>

namespace bivox {

// The literals of the length rules, in the order they are tried: the rules and the length
// scanner that follows them read the same lists.
inline constexpr std::string_view kNoteValues[] = {"64", "32", "16", "8", "4", "2", "1", "0"};
inline constexpr std::string_view kDots[] = {"..", "."};
inline constexpr std::string_view kSlashSuffixes[] = {"////", "///.", "///", "//.", "//",
                                                      "/...", "/..",  "/.",  "/"};

}  // namespace bivox
