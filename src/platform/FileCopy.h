#pragma once

#include <QString>

namespace ztgl {

// Copies `from` to `to` so that `to` appears only complete: the bytes go to `to` + ".part" and
// are on the disk before that file is renamed to `to`, and the new name is on the disk when the
// copy returns true. A failure (a full disk, a folder in the way)
// removes the ".part" file and leaves `to` as it was; a process killed meanwhile leaves at most the
// ".part" file, which the next copy to `to` starts afresh. `to` must not exist. The kill point
// "copy" lies after the first block is written.
bool CopyFileWhole(const QString& from, const QString& to);

}  // namespace ztgl
