/* Load configuration of the 32-bit image.
 *
 * GNU ld links this record but does not point data directory 10 at it;
 * tools/harden_pe.py does that after the link.  It is the only way to give
 * the x86 loader a security cookie and a table of safe exception handlers.
 * The 64-bit image needs neither (its handlers live in .pdata), so this file
 * is empty there.
 */
#if defined(__i386__)

#include <stddef.h>
#include <windows.h>

/* The stack-protector guard (libssp).  libssp's start-up constructor fills
   it from CryptGenRandom before wWinMain; the loader leaves it alone because
   it does not hold the compiler's default cookie value. */
extern void *__stack_chk_guard;

/* Nothing in the image registers an SEH frame (GCC's i686 code unwinds with
   DWARF tables, and the run-time only uses the unhandled-exception filter and
   vectored handlers), so the honest table has no entries.  The address must
   still be non-zero: a zero address reads as "no table at all".  The one
   slot is never read because the count is 0. */
static const DWORD kSafeHandlerTable[1] = { 0 };

/* The record as the oldest SafeSEH loaders know it: fields up to
   SEHandlerCount, 0x48 bytes.  Those loaders read the cookie and the table
   only when Size covers SEHandlerCount, while the directory entry itself
   must say 0x40 (set by the post-link step). */
struct LoadConfig32
{
    DWORD Size;
    DWORD TimeDateStamp;
    WORD MajorVersion;
    WORD MinorVersion;
    DWORD GlobalFlagsClear;
    DWORD GlobalFlagsSet;
    DWORD CriticalSectionDefaultTimeout;
    DWORD DeCommitFreeBlockThreshold;
    DWORD DeCommitTotalFreeThreshold;
    DWORD LockPrefixTable;
    DWORD MaximumAllocationSize;
    DWORD VirtualMemoryThreshold;
    DWORD ProcessHeapFlags;
    DWORD ProcessAffinityMask;
    WORD CSDVersion;
    WORD DependentLoadFlags;
    DWORD EditList;
    void **SecurityCookie;        /* VAs: pointers, so ld emits base relocations */
    const DWORD *SEHandlerTable;
    DWORD SEHandlerCount;
};

/* Same offsets as the system header's record, so the loader reads what we mean. */
_Static_assert(sizeof(struct LoadConfig32) == 0x48, "record size");
_Static_assert(offsetof(struct LoadConfig32, SecurityCookie)
                   == offsetof(IMAGE_LOAD_CONFIG_DIRECTORY32, SecurityCookie),
               "SecurityCookie offset");
_Static_assert(offsetof(struct LoadConfig32, SEHandlerTable)
                   == offsetof(IMAGE_LOAD_CONFIG_DIRECTORY32, SEHandlerTable),
               "SEHandlerTable offset");
_Static_assert(offsetof(struct LoadConfig32, SEHandlerCount)
                   == offsetof(IMAGE_LOAD_CONFIG_DIRECTORY32, SEHandlerCount),
               "SEHandlerCount offset");

/* The name the loader's tooling expects; the link keeps it with
   --require-defined so it cannot be dropped silently. */
const struct LoadConfig32 _load_config_used = {
    .Size = sizeof(struct LoadConfig32),
    .SecurityCookie = &__stack_chk_guard,
    .SEHandlerTable = kSafeHandlerTable,
    .SEHandlerCount = 0,
};

#else
/* Keeps the translation unit non-empty for -Wpedantic on other targets. */
typedef int load_config_not_used_here;
#endif
