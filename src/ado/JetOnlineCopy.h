#pragma once

#include <QString>
#include <functional>

namespace ado {

class Connection;

// Told after every step of a copy: pages copied so far and pages in all.
using CopyProgress = std::function<void(int done, int total)>;

// Copies the whole database of `from` into `to`, both open on the embedded engine, with the
// engine's online backup: the copy is one consistent state of `from` even while other connections
// write it. It goes a few hundred pages at a time; when writers keep restarting it, the rest goes
// in one step, during which they wait. `to` takes the copy as one transaction, so a failed copy
// leaves it as it was, and other connections of `to` see the old or the new database, never a mix.
// The copy is checked by the engine afterwards (quick_check). Throws ztgl::RuntimeError: 3251 when
// either connection is not the embedded engine's, 3045 when `from` stays locked, the engine's error
// otherwise.
void JetOnlineCopy(Connection& from, Connection& to, const CopyProgress& progress = {});
// The same into a new working file `file` that is read right after and then thrown away: written
// without the engine's journal and without waiting for the disk. Throws 3204 when it exists.
void JetOnlineCopyToFile(Connection& from, const QString& file, const CopyProgress& progress = {});

}  // namespace ado
