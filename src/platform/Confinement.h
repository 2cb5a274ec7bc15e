#pragma once
// Running a helper program on a file that came from outside, confined
// before its first instruction. Between fork and exec the child takes the
// limits below and every confinement the kernel gives an unprivileged
// program, so whatever the program file is (a parser subverted by its
// input, or a program put in its place) it can read the input it was given
// on its standard input and the libraries it links, write to its standard
// output and exit:
//   - resource limits: memory, CPU time, no file written (RLIMIT_FSIZE 0),
//     no core dump; no descriptor of the program but stdin (the input, or
//     /dev/null), stdout (a pipe) and stderr (/dev/null) survives the exec;
//   - a session of its own, killed whole when the run ends;
//   - a new user and network namespace where the kernel allows one: no
//     network, not even the loopback, and no abstract Unix sockets;
//   - Landlock where the kernel has it: every file operation is refused but
//     reading the library folders and running the program file; on newer
//     kernels also TCP, abstract Unix sockets and signals out of the
//     sandbox;
//   - PR_SET_NO_NEW_PRIVS and a seccomp filter that refuses every system
//     call but those a reader needs to load and to read: files opened for
//     reading only, written only to its standard output; no socket; no
//     process or thread made, so the memory limit bounds the whole program;
//     signals only to itself; its limits read, never set; no priority,
//     scheduling, name, lock, watch, namespace or mount;
//   - a seccomp listener the launcher keeps for the whole run (Linux 5.5
//     and later): the one exec of the program is let through, every later
//     one refused; an open is made by the launcher itself, beneath the
//     program, the loader and the library folders and never through a link
//     out of them, and the descriptor handed in (Linux 5.9 and later); a
//     stat by name is refused, whether or not Landlock is there.
// Where the kernel would leave the user's files within the program's reach
// (a listener whose names the launcher cannot read, or neither a listener
// nor Landlock), the program is not run: it is stopped at its first request
// after the exec, before it has opened a file.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// The layers of confinement; tests lift some to see what each one refuses.
enum ConfinementLayer : unsigned {
    kSeccompLayer = 1,
    kLandlockLayer = 2,
    kNamespaceLayer = 4,
    kListenerLayer = 8,  // the seccomp listener (with the seccomp filter only)
    // The launcher reading the names the program asks for; lifted, the
    // launcher acts as under a kernel that keeps the program's memory from
    // it (Yama's ptrace_scope 3, or 2 without user namespaces).
    kNameReadingLayer = 16,
    kAllLayers = 31,
};

struct ConfinedCommand {
    QString program;
    QStringList arguments;
    int input = -1;             // the program's standard input (/dev/null when -1); stays the caller's
    qint64 memoryBytes = 0;     // address space
    int seconds = 0;            // CPU time, and wall time of the whole run
    qint64 maxOutputBytes = 0;  // more on its standard output stops the run
    unsigned layers = kAllLayers;
};

struct ConfinedRun {
    // Whether the program ended on its own, in time, within the output bound.
    bool ended = false;
    bool exitedNormally = false;  // not by a signal
    int exitCode = -1;
    QByteArray output;
    // The layers that were in place (a kernel may lack some), and the
    // Landlock ABI version of the kernel (0: none).
    unsigned applied = 0;
    int landlockAbi = 0;
    // Whether the launcher checked every name the program opened or
    // stat'ed (a kernel with the seccomp listener that lets it read them).
    bool namesChecked = false;
    // Not run: what the kernel gives would leave the user's files within the
    // program's reach (a listener whose names cannot be read, or neither a
    // listener nor Landlock). Nothing it wrote is kept.
    bool unsafe = false;
};

// What a confined program may open by name: its own file, the dynamic
// loader, the loader's cache, and whatever lies beneath the system's library
// folders. A fixed list of root's places: a library the running program
// loaded from anywhere else (a plugin or theme in the user's home, a
// preloaded one) adds nothing to it.
struct ReadablePlaces {
    QByteArray program;
    QByteArray loader;
    std::vector<QByteArray> files;    // the program, the loader's cache, the loader
    std::vector<QByteArray> folders;
};
ReadablePlaces readablePlaces(const QString& program);

// Runs the command and waits for it. Where an application object exists the
// wait runs an event loop that leaves out user input: windows keep painting,
// and nothing the user does reaches a handler before the run is over. A
// program that runs out of time or writes too much is killed. Without a
// layer it asks for that the kernel has, the program is not run.
ConfinedRun runConfined(const ConfinedCommand& command);

} // namespace platform
