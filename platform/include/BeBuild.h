// Export and import markers of the kits. Every one makes a symbol visible, so
// kit classes and an add-on's entry point stay reachable from a library built
// with -fvisibility=hidden.
#ifndef _BE_BUILD_H
#define _BE_BUILD_H

#define B_BEOS_VERSION_4 0x0400
#define B_BEOS_VERSION_5 0x0500
#define B_BEOS_VERSION B_BEOS_VERSION_5

#define _EXPORT __attribute__((visibility("default")))
#define _IMPORT __attribute__((visibility("default")))

#define _IMPEXP_ROOT _EXPORT
#define _IMPEXP_BE _EXPORT
#define _IMPEXP_TRACKER _EXPORT
#define _IMPEXP_MEDIA _EXPORT
#define _IMPEXP_TRANSLATION _EXPORT
#define _IMPEXP_DEVICE _EXPORT
#define _IMPEXP_NET _EXPORT
#define _IMPEXP_NETDEV _EXPORT
#define _IMPEXP_ATALK _EXPORT
#define _IMPEXP_MIDI _EXPORT
#define _IMPEXP_MAIL _EXPORT
#define _IMPEXP_GL _EXPORT
#define _IMPEXP_GAME _EXPORT
#define _IMPEXP_TEXTENCODING _EXPORT

#endif // _BE_BUILD_H
