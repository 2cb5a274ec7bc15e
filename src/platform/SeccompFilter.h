#pragma once
// Building seccomp filters as allow-lists: the launcher's filter for a
// confined program (Confinement.cpp) and the narrower one the spreadsheet
// reader adds to itself once it holds its input (planilha/trava.cpp).
// Header only: the reader links neither the platform library nor Qt's GUI.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <vector>

namespace platform::seccomp {

#if defined(__x86_64__)
constexpr std::uint32_t kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr std::uint32_t kAuditArch = AUDIT_ARCH_AARCH64;
#else
#error "seccomp filter: unknown architecture"
#endif

constexpr std::uint32_t refuse(int error = EPERM) { return SECCOMP_RET_ERRNO | std::uint32_t(error); }
constexpr std::uint32_t kAllow = SECCOMP_RET_ALLOW;

// The two 32-bit halves of argument n (both architectures are little-endian).
inline std::uint32_t argLow(int n) { return std::uint32_t(offsetof(seccomp_data, args) + 8 * n); }
inline std::uint32_t argHigh(int n) { return argLow(n) + 4; }

struct Filter {
    std::vector<sock_filter> code;
    std::vector<std::size_t> pidSlots;  // instructions that compare with the process's own pid

    void add(std::uint16_t op, std::uint32_t k, std::uint8_t jt = 0, std::uint8_t jf = 0)
    {
        code.push_back(sock_filter{op, jt, jf, k});
    }
    void ret(std::uint32_t action) { add(BPF_RET | BPF_K, action); }
    void load(std::uint32_t offset) { add(BPF_LD | BPF_W | BPF_ABS, offset); }

    // Checks the architecture and loads the call's number; x32 calls on
    // x86_64 are refused whole.
    void begin()
    {
        load(offsetof(seccomp_data, arch));
        add(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0);
        ret(SECCOMP_RET_KILL_PROCESS);
        load(offsetof(seccomp_data, nr));
#if defined(__x86_64__)
        add(BPF_JMP | BPF_JGE | BPF_K, 0x40000000u, 0, 1);
        ret(refuse());
#endif
    }

    // When the call is `nr`, run `block`, which must end in a return and
    // leaves the call's number loaded again for what follows.
    template <typename Block>
    void on(long nr, Block block)
    {
        const std::size_t at = code.size();
        add(BPF_JMP | BPF_JEQ | BPF_K, std::uint32_t(nr), 0, 0);
        block();
        code[at].jf = std::uint8_t(code.size() - at - 1);
    }
    void allow(long nr)
    {
        on(nr, [&] { ret(kAllow); });
    }
    void deny(long nr, int error = EPERM)
    {
        on(nr, [&] { ret(refuse(error)); });
    }

    // Jumps over the next `skip` instructions unless argument `arg` (its low
    // 32 bits) is the process's own pid, filled in once it is known.
    void unlessArgIsSelf(int arg, std::uint8_t skip)
    {
        load(argLow(arg));
        pidSlots.push_back(code.size());
        add(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, skip);
    }

    // Allowed only when argument `arg` (as an int) is the process itself.
    void onlySelf(long nr, int arg)
    {
        on(nr, [&] {
            unlessArgIsSelf(arg, 1);
            ret(kAllow);
            ret(refuse());
        });
    }
    // Allowed only when argument `arg` is 0 or the process itself, the two
    // ways of naming oneself.
    void onlySelfOrZero(long nr, int arg)
    {
        on(nr, [&] {
            load(argLow(arg));
            add(BPF_JMP | BPF_JEQ | BPF_K, 0, 2, 0);
            pidSlots.push_back(code.size());
            add(BPF_JMP | BPF_JEQ | BPF_K, 0, 1, 0);
            ret(refuse());
            ret(kAllow);
        });
    }
    // Allowed only when argument `arg` (its low 32 bits) is one of `values`.
    void onlyValues(long nr, int arg, std::initializer_list<std::uint32_t> values, int error = EPERM)
    {
        on(nr, [&] {
            load(argLow(arg));
            std::uint8_t left = std::uint8_t(values.size());
            for (const std::uint32_t v : values)
                add(BPF_JMP | BPF_JEQ | BPF_K, v, left--, 0);
            ret(refuse(error));
            ret(kAllow);
        });
    }
    // A mapping that is shared and writable changes the file under it.
    void mmapNotSharedWritable()
    {
        on(SYS_mmap, [&] {
            load(argLow(2));
            add(BPF_JMP | BPF_JSET | BPF_K, PROT_WRITE, 0, 3);
            load(argLow(3));
            add(BPF_JMP | BPF_JSET | BPF_K, MAP_SHARED, 0, 1);
            ret(refuse());
            ret(kAllow);
        });
    }

    // The rest is refused.
    std::vector<sock_filter> end(std::uint32_t action = refuse())
    {
        ret(action);
        return code;
    }
};

} // namespace platform::seccomp
