// cc-manifest-check FILE...
// Reads each program's application manifest as Windows does (resource 1 of
// type 24, RT_MANIFEST) and checks its entries (ManifestRules.h). Prints one
// line per problem; exit code 0 when every file passed, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ManifestRules.h"

namespace {

bool ReadManifest(const char* path, std::string* text) {
    HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    bool found = false;
    if (HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL loaded = ::LoadResource(module, info);
        const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
        if (bytes) {
            text->assign(bytes, ::SizeofResource(module, info));
            found = true;
        }
    }
    ::FreeLibrary(module);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cc-manifest-check FILE...\n");
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::string text;
        if (!ReadManifest(argv[i], &text)) {
            std::printf("%s: no manifest (resource 1 of type 24)\n", argv[i]);
            ++failed;
            continue;
        }
        std::vector<std::string> problems = manifest::Problems(text);
        for (const std::string& p : problems) std::printf("%s: %s\n", argv[i], p.c_str());
        if (problems.empty()) std::printf("%s: manifest with every entry\n", argv[i]);
        failed += !problems.empty();
    }
    return failed == 0 ? 0 : 1;
}
