#include "logstore/PlatformLibrary.h"

#if defined(_WIN32)
#include <windows.h>

void* OpenLoggerModule() { return reinterpret_cast<void*>(LoadLibraryA("vireon50.dll")); }

void* FindLoggerSymbol(void* module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void CloseLoggerModule(void* module) {
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

#else
#include <dlfcn.h>
#include <climits>
#include <cstdlib>

// The library is looked for in the current directory only, as the Windows
// program finds it beside the log. It is opened by its full path: a library
// of C++ code often stays mapped after dlclose, and the loader would hand
// that one back for the same relative name even from another folder.
void* OpenLoggerModule() {
    char path[PATH_MAX];
    if (!realpath("./vireon50.so", path)) return nullptr;
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* FindLoggerSymbol(void* module, const char* name) {
    if (!module) return nullptr;
    return dlsym(module, name);
}

void CloseLoggerModule(void* module) {
    if (module) dlclose(module);
}
#endif
