// The program's version, used by the version resource and by the About box.
#pragma once

#define HORLOMAT_VERSION_MAJOR 1
#define HORLOMAT_VERSION_MINOR 0
#define HORLOMAT_VERSION_REVISION 0
#define HORLOMAT_VERSION_BUILD 0
#define HORLOMAT_VERSION_TEXT "1.0.0.0"
