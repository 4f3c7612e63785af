// Limits of the Storage Kit.
#ifndef _STORAGE_DEFS_H
#define _STORAGE_DEFS_H

#define B_FILE_NAME_LENGTH 256
#define B_PATH_NAME_LENGTH 1024

#endif // _STORAGE_DEFS_H
