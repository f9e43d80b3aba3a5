// ztgl-jetread FILE
// Reads a database file in Jet's own format (Access 97 to 2003) through libmdb, strictly read-only, for the
// program's engine. It writes the file's header on standard output, then answers the requests it reads on
// standard input, one per line, until that ends:
//   catalog        every table's definition, then End
//   rows TABLE     the table's definition, its rows, then End
// Answers are framed messages (ado/JetFileWire.h).
//
// The engine runs this program as a child process rather than reading the file itself: on a damaged file
// the library may crash or loop, and then only this process is lost (the engine stops it after a time of
// silence). A fault it notices itself goes out as a Failure message, and the program ends with code 3.
#include <sys/resource.h>
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "MdbDump.h"

namespace {

bool readLine(std::string* line) {
    line->clear();
    for (int c = fgetc(stdin); c != EOF; c = fgetc(stdin)) {
        if (c == '\n')
            return true;
        line->push_back(char(c));
    }
    return !line->empty();
}

}  // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZTGL_ASAN 1
// Built with AddressSanitizer, whose shadow memory alone is far beyond any limit of the address space: the
// sanitizer's allocator lets absurd requests fail instead.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=4096";
}
#endif
#endif

int main(int argc, char** argv) {
#ifndef ZTGL_ASAN
    // A damaged length can make the library ask for absurd amounts of memory: let such a request fail.
    constexpr rlim_t kAddressSpace = rlim_t(4) << 30;
    const rlimit limit{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
#endif
    setenv("MDB_ICONV", "UTF-8", 1);
    unsetenv("MDBPATH");  // the file named, never one found elsewhere
    if (argc != 2) {
        fputs("usage: ztgl-jetread FILE  (requests on standard input: catalog | rows TABLE)\n", stderr);
        return 2;
    }
    // The messages get standard output to themselves: the library prints to it now and then, which goes to
    // standard error instead.
    FILE* out = fdopen(dup(STDOUT_FILENO), "wb");
    if (!out || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 2;
    static char buffer[1 << 16];
    setvbuf(out, buffer, _IOFBF, sizeof buffer);
    ztgl::jetread::MdbDump dump(out);
    try {
        dump.open(QByteArray(argv[1]));
        fflush(out);
        std::string line;
        while (readLine(&line)) {
            if (line == "catalog")
                dump.catalog();
            else if (line.compare(0, 5, "rows ") == 0)
                dump.rows(QString::fromUtf8(line.c_str() + 5));
            else
                throw std::runtime_error("unknown request: " + line);
            fflush(out);
        }
    } catch (const std::exception& e) {
        ado::JetFileFrame f;
        f.tag = ado::JetFileFrame::Failure;
        f.message = QString::fromUtf8(e.what());
        dump.write(f);
        fflush(out);
        return 3;
    }
    return 0;
}
