// editing_soak: plays random editing streams (2,000 events each, seeds from
// --seed on) against the editing rules' model until --events events have run
// or --seconds have passed, whichever comes first; stops at the first
// failure with its seed and shrunk stream. With --pictures on, the window is
// also compared with a full redraw after every event (slower).

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <string>

#include "RandomEditing.h"

int main(int argc, char** argv)
{
	unsigned long long events = 1000000;
	double seconds = 0;
	uint32 seed = 1000;
	bool pictures = false;
	for (int i = 1; i + 1 < argc; i += 2) {
		if (strcmp(argv[i], "--events") == 0)
			events = strtoull(argv[i + 1], NULL, 10);
		else if (strcmp(argv[i], "--seconds") == 0)
			seconds = atof(argv[i + 1]);
		else if (strcmp(argv[i], "--seed") == 0)
			seed = uint32(strtoul(argv[i + 1], NULL, 10));
		else if (strcmp(argv[i], "--pictures") == 0)
			pictures = strcmp(argv[i + 1], "on") == 0;
		else {
			fprintf(stderr, "usage: editing_soak [--events N] [--seconds S] [--seed N] "
			                "[--pictures on|off]\n");
			return 2;
		}
	}

	const size_t kStream = 2000;
	const auto start = std::chrono::steady_clock::now();
	unsigned long long run = 0;
	uint32 streams = 0;
	while (run < events) {
		const double elapsed =
		    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
		if (seconds > 0 && elapsed >= seconds)
			break;
		const std::string failure = RandomEditing::PlaySeed(seed + streams, kStream, pictures);
		if (!failure.empty()) {
			fprintf(stderr, "editing_soak: failure after %llu events\n%s", run, failure.c_str());
			return 1;
		}
		run += kStream;
		streams++;
	}
	const double elapsed =
	    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
	printf("editing_soak: %llu events in %u streams (seeds %u to %u), no failure, %.0f s\n", run,
	       streams, seed, seed + streams - 1, elapsed);
	return 0;
}
