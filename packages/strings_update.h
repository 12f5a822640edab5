#pragma once

#include <functional>

#include "platform/core/types.h"

namespace kw {

class TKwPkgStrings;
class TKwPkgLanguage;

// Progress of a system update: the caption ("Updating Label: 3"), position and maximum.
using TKwUpdateProgress = std::function<void(const String& caption, int position, int maximum)>;

// Brings `target` up to `source`, labels, then messages, then texts: a missing id is added, an
// item not marked protected takes the new text (and hint); nothing is deleted. Returns the
// number of items `source` holds.
int KwMergeSystemStrings(TKwPkgStrings& target, const TKwPkgStrings& source,
                         const TKwUpdateProgress& progress = {});

// Merges the System strings of the language file at `path` into those of `language`. When the
// file held any item, records the file's date and name (the bare name when it lies in the
// system packages folder), marks the package modified and returns true.
bool KwUpdateSystemStrings(TKwPkgLanguage& language, const String& path,
                           const TKwUpdateProgress& progress = {});

}  // namespace kw
