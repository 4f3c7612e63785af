// Kernel kit calls: the system clock, sleeping, thread identity.
#ifndef _OS_H
#define _OS_H

#include <SupportDefs.h>

typedef int32 thread_id;
typedef int32 team_id;
typedef int32 sem_id;
typedef int32 port_id;
typedef int32 area_id;

#define B_INFINITE_TIMEOUT (9223372036854775807LL)

#define B_OS_NAME_LENGTH 32

// Microseconds since an arbitrary point, never going backwards. Tests may
// replace it with a manual clock (see the testing library).
_IMPEXP_ROOT bigtime_t system_time();

// Sleeps the calling thread for the given number of microseconds (real time).
_IMPEXP_ROOT status_t snooze(bigtime_t microseconds);

// NULL: the calling thread. Otherwise the thread of this team with that name,
// or B_NAME_NOT_FOUND.
_IMPEXP_ROOT thread_id find_thread(const char* name);

#endif // _OS_H
