#pragma once
// The program's users are not root, and the program makes its memory
// non-dumpable before anything else: a test of the reader that passes only
// as root, or only with a dumpable test process, proves nothing. These run a
// test program's cases again as the program runs.
#include <QString>
#include <sys/types.h>

namespace testsupport {

// The ordinary user a run as root drops to.
inline constexpr uid_t kUsuarioComum = 65534;
inline constexpr gid_t kGrupoComum = 65534;

// First thing in the tests' main. In a child started by
// rodarComoUsuarioComum: drops to the ordinary user and group with no
// supplementary groups (when running as root) and protects the memory as
// the program's main does; ends the process when the drop fails.
void prepararComoOPrograma();

// Whether this process is such a child.
bool comoUsuarioComum();

// Runs the cases of this test program that `filtro` selects (gtest's
// filter) in a child that is this program again, prepared as above, with
// the test programs and files it needs copied where the ordinary user
// reads them. Its output goes to ours; its exit code is returned (0: every
// case passed).
int rodarComoUsuarioComum(const QString& filtro);

// A program or folder of the build or source tree the tests use (given by
// its path at build time), or its copy in such a child.
QString deTeste(const char* caminho);

} // namespace testsupport
