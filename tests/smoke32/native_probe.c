/* Asks whether the kernel runs 32-bit x86 programs itself. cmake/setup-wine32.sh
 * builds this as a static Linux i386 program (clang, no C library) and runs it:
 * exit code 0 means the kernel ran it natively, and 32-bit Wine needs no
 * emulator. A kernel without 32-bit support refuses to start it at all. An
 * emulator registered for i386 programs through binfmt_misc would start it
 * too, so the program also asks the kernel for its machine name: a 64-bit
 * kernel answers "x86_64" to a native 32-bit process, while qemu's user-mode
 * emulator answers with the emulated processor ("i686"). Exit code 2 means
 * emulated, 3 that the question failed. */

struct old_utsname {
    char sysname[65], nodename[65], release[65], version[65], machine[65];
};

static long syscall1(long number, long argument) {
    long result;
    __asm__ volatile("int $0x80" : "=a"(result) : "a"(number), "b"(argument) : "memory");
    return result;
}

enum { sys_exit = 1, sys_uname = 122 };

void _start(void) {
    struct old_utsname names;
    int code = 3;
    if (syscall1(sys_uname, (long)&names) == 0) {
        const char* machine = names.machine;
        code = machine[0] == 'x' && machine[1] == '8' && machine[2] == '6' && machine[3] == '_' &&
                       machine[4] == '6' && machine[5] == '4' && machine[6] == '\0'
                   ? 0
                   : 2;
    }
    syscall1(sys_exit, code);
    for (;;) {
    }
}
