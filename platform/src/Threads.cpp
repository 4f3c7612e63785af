// Kernel kit thread calls: sleeping and thread identity.
#include <OS.h>

#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

status_t snooze(bigtime_t microseconds)
{
	if (microseconds <= 0)
		return B_OK;
	timespec delay = {time_t(microseconds / 1000000), long(microseconds % 1000000) * 1000};
	// A signal interrupts the sleep: sleep the rest.
	while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {
	}
	return B_OK;
}

thread_id find_thread(const char* name)
{
	if (name == NULL) {
		// Asked on every lock: ask the kernel once per thread.
		static thread_local const thread_id sSelf = thread_id(syscall(SYS_gettid));
		return sSelf;
	}

	// Linux keeps each thread's name in /proc/self/task/<tid>/comm.
	DIR* tasks = opendir("/proc/self/task");
	if (tasks == NULL)
		return B_NAME_NOT_FOUND;
	thread_id found = B_NAME_NOT_FOUND;
	while (dirent* entry = readdir(tasks)) {
		if (entry->d_name[0] == '.')
			continue;
		char path[300];
		snprintf(path, sizeof(path), "/proc/self/task/%s/comm", entry->d_name);
		FILE* file = fopen(path, "r");
		if (file == NULL)
			continue;
		char comm[B_OS_NAME_LENGTH] = "";
		if (fgets(comm, sizeof(comm), file) != NULL)
			comm[strcspn(comm, "\n")] = '\0';
		fclose(file);
		if (strcmp(comm, name) == 0) {
			found = thread_id(atoi(entry->d_name));
			break;
		}
	}
	closedir(tasks);
	return found;
}
