// The .xls reader of the reader process, on the input as a workbook file.
// FreeXL itself is known to read out of bounds and to leak on crafted files;
// that is why it only runs in the limited reader process. The checks of its
// calls into the C library and its leaks are left out here so that a fault
// of ours stands out; run it with -fork=1 -ignore_crashes=1 and sort what
// crashes by its stack.
#include "Entrada.h"

extern "C" const char* __asan_default_suppressions() { return "interceptor_via_lib:libfreexl.so\n"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:libfreexl.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::lerPlanilha(platform::planilha::readXlsCells, QStringLiteral("extrato.xls"), data, size);
    return 0;
}
