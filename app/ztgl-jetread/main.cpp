// ztgl-jetread FILE [--catalog] [--rows TABLE]...
// Reads a database file in Jet's own format (Access 97 to 2003) through libmdb, strictly read-only, and
// writes what it finds on standard output as framed messages (ado/JetFileWire.h): the header, then the
// table definitions (--catalog) or one table's definition and rows (--rows), in the order asked.
//
// The engine runs this program as a child process rather than reading the file itself: on a damaged file
// the library may crash or loop, and then only this process is lost (the engine stops it after a time of
// silence). A fault it notices itself goes out as a Failure message, with exit code 3.
#include <sys/resource.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "MdbDump.h"

int main(int argc, char** argv) {
    // A damaged length can make the library ask for absurd amounts of memory: let such a request fail.
    constexpr rlim_t kAddressSpace = rlim_t(4) << 30;
    const rlimit limit{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
    setenv("MDB_ICONV", "UTF-8", 1);
    unsetenv("MDBPATH");  // the file named, never one found elsewhere
    if (argc < 2) {
        fputs("usage: ztgl-jetread FILE [--catalog] [--rows TABLE]...\n", stderr);
        return 2;
    }
    static char buffer[1 << 16];
    setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    ztgl::jetread::MdbDump dump(stdout);
    try {
        dump.open(QByteArray(argv[1]));
        for (int i = 2; i < argc; ++i) {
            if (strcmp(argv[i], "--catalog") == 0) {
                dump.catalog();
            } else if (strcmp(argv[i], "--rows") == 0 && i + 1 < argc) {
                dump.rows(QString::fromUtf8(argv[++i]));
            } else {
                fprintf(stderr, "ztgl-jetread: unknown argument %s\n", argv[i]);
                return 2;
            }
        }
    } catch (const std::exception& e) {
        ado::JetFileFrame f;
        f.tag = ado::JetFileFrame::Failure;
        f.message = QString::fromUtf8(e.what());
        dump.write(f);
        fflush(stdout);
        return 3;
    }
    fflush(stdout);
    return 0;
}
