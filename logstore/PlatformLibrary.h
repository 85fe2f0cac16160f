// The one place that knows how the operating system loads a library: Windows
// loads "vireon50.dll" by bare name with LoadLibraryA, the native build opens
// "./vireon50.so" with dlopen. Everything above it is the same on both.
#pragma once

void* OpenLoggerModule();                              // null when it cannot be loaded
void* FindLoggerSymbol(void* module, const char* name);   // null when the name is absent
void CloseLoggerModule(void* module);
