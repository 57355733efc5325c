/* The loader's configuration of the MinGW-w64 build, for its DependentLoadFlags alone: Windows 10 1607 and later
   look for the DLLs the program imports in System32 only, never beside it, so an administrator who starts it from
   Downloads is given no DLL planted there. GNU ld leaves the header's entry for it empty; cmake/load_config.py points
   it at this section. MSVC's runtime brings a configuration of its own, which /DEPENDENTLOADFLAG fills. */
#include <windows.h>

__attribute__((section(".ldcfg"), used)) const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32, /* DependentLoadFlags, by its newer name */
};
