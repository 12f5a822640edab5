#pragma once

#include <functional>

#include "platform/core/stream.h"
#include "platform/core/types.h"

namespace kw {

// The steps of a save that touch the disk, in the order they run.
enum class TSaveStep { sstCreate, sstWrite, sstChmod, sstSync, sstClose, sstRename };

// Writes `path` through `write` so that a failure at any step leaves the previous file as it was
// and no temporary file behind: the data goes to a new file beside the target, every write is
// checked, the file gets the mode of the file it replaces (a new file gets 0666 less the umask),
// is synced and closed, and only then renamed over the target. A symbolic link is followed, so
// the link stays and the file it points to receives the data.
// Raises EFCreateError (creation, rename, a target that is not a regular file) or EWriteError
// (write, mode, sync, close), naming the file and the system's reason.
void SaveFileSafely(const String& path, const std::function<void(TStream& file)>& write);

// The file a save of `path` replaces: `path` with every symbolic link followed (a dangling
// link gives the file it would create).
String SaveTargetOf(const String& path);

// For tests: called before each step of every save; a non-zero errno value makes that step fail
// as if the system had refused it (a failing close still releases the file). An empty hook, the
// default, lets every step run.
using TSaveFaultHook = std::function<int(TSaveStep step)>;
void SetSaveFaultHook(TSaveFaultHook hook);

}  // namespace kw
