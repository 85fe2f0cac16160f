// The program's name and version, shown in its caption and version box and
// carried by its version resource.
#pragma once
#define CC_PROGRAM_NAME     "CallsignCheck"
#define CC_VERSION_MAJOR    1
#define CC_VERSION_MINOR    0
#define CC_VERSION_PATCH    0
#define CC_VERSION_TEXT     "1.0.0"
#define CC_CAPTION          "CallsignCheck Ver 1.0.0"   // one literal: resource compilers do not join strings
#define CC_COPYRIGHT_YEAR   "2026"
