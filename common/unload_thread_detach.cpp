#include "common/unload_thread_detach.h"

void DetachThisThreadOnUnload(HMODULE module) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
    if (nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_TLS ||
        !entry.VirtualAddress || entry.Size < sizeof(IMAGE_TLS_DIRECTORY))
        return;
    const IMAGE_TLS_DIRECTORY* tls =
        reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
    // The addresses in the directory are relocated, as the loader uses them.
    PIMAGE_TLS_CALLBACK* callbacks =
        reinterpret_cast<PIMAGE_TLS_CALLBACK*>(tls->AddressOfCallBacks);
    for (; callbacks && *callbacks; ++callbacks)
        (*callbacks)(module, DLL_THREAD_DETACH, nullptr);
}
