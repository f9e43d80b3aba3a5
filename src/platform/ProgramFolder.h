#pragma once

#include <QString>

namespace ztgl {

// The environment variable that names another program folder, for both programs: an
// installation whose own folder (say /opt/ztgl) is not the operator's to write keeps its
// configuration and databases elsewhere.
inline constexpr char kProgramFolderVariable[] = "ZTGL_HOME";

// The program folder with exactly one trailing native separator: the folder named by
// ZTGL_HOME when it is set and not empty, otherwise the folder of the running program.
QString ProgramFolder();

// The rule behind ProgramFolder(), for any executable and ZTGL_HOME value. The executable's
// folder is that of its real file: started through a link (/usr/bin/ztgl -> /opt/ztgl/ztgl),
// the program is at home where the link points. A relative ZTGL_HOME is taken from the
// current folder.
QString ProgramFolderFor(const QString& executable, const QString& home);

// The same rule for any folder text.
QString WithTrailingSeparator(const QString& folder);

// Whether the current user may create and replace files in `folder`.
bool FolderIsWritable(const QString& folder);

// The message for a program folder the current user may not write into: names the folder and
// the two ways out (write permission, or another folder through ZTGL_HOME).
QString FolderNotWritableText(const QString& folder);

}  // namespace ztgl
