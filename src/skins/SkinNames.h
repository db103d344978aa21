// Where external skins live and what they are called: the skin directory resolved against the
// program's folder, the package file of a skin name, and the list of skin names.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

inline constexpr std::u16string_view kDefaultSkinDirectory = u"c:\\Skins";
inline constexpr std::u16string_view kSkinPackageExtension = u".asz";
inline constexpr std::u16string_view kSkinOptionFile = u"Options.dat";

enum class TacSkinTypes { stUnpacked, stPacked, stAllSkins };

// The skin directory text resolved against the program's folder (which ends in "\"): a
// parent ("..\x"), the program's folder ("." or ".\x" or "./x"), a relative path (neither ":"
// nor "\\" in it), or the text itself. No separator is added at the end.
std::u16string ResolveSkinDirectory(std::u16string_view programDir, std::u16string_view text);

// The name without a final ".asz" (any letter case) when it is longer than that; otherwise
// the name itself.
std::u16string StripPackageExtension(std::u16string_view name);

// dir + "\" (unless dir already ends in one) + name.
std::u16string JoinSkinPath(std::u16string_view dir, std::u16string_view name);

// The package file of a skin name in the resolved directory: dir\N.asz.
std::u16string SkinPackagePath(std::u16string_view dir, std::u16string_view name);

// One entry of the skin directory, as its listing gives it.
struct SkinDirectoryEntry {
  std::u16string name;
  bool isDirectory = false;
  bool holdsOptionFile = false;  // a folder with an Options.dat in it
};

// Orders names for the player: negative, 0 or positive. The Windows layer passes the
// user's locale-aware comparison.
using SkinNameCompare = std::function<int(std::u16string_view, std::u16string_view)>;

// Without regard to the case of ASCII and basic Cyrillic letters, code unit by code unit.
int CompareSkinNames(std::u16string_view a, std::u16string_view b);

struct SkinListing {
  std::vector<std::u16string> names;  // sorted; duplicates stay
  std::u16string first;               // the first name found, before sorting; "" for none
};

// The catalogue names in catalogue order, then the external skins among the entries (in
// their listing order) of the kinds asked for: folders holding an option file under their
// own name, files ending exactly in ".asz" under their name up to its first ".". Entries
// beginning with "." are skipped. The whole list is then sorted by `compare`, stably.
SkinListing ListSkinNames(const std::vector<std::u16string>& catalogue,
                          const std::vector<SkinDirectoryEntry>& entries, TacSkinTypes type,
                          const SkinNameCompare& compare = CompareSkinNames);

}  // namespace kq
