// script_seeds FOLDER [COUNT]: writes the script fuzzer's seed corpus: the
// first COUNT (default 48) scripts of the redraw property test's seeds, cut
// to the fuzzer's 64 lines, one file each.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "RandomScripts.h"

int main(int argc, char** argv)
{
	if (argc < 2 || argc > 3) {
		fprintf(stderr, "usage: script_seeds FOLDER [COUNT]\n");
		return 2;
	}
	const std::string folder = argv[1];
	const int count = argc == 3 ? atoi(argv[2]) : 48;
	for (int i = 0; i < count; i++) {
		// The property test's seeds, test face first, then FreeType.
		const int sequence = i % 200;
		const uint32 seed = uint32(sequence + 1) * 7919u + uint32(i / 200);
		ScriptGenerator generator(seed);
		RandomItems(generator.Random());
		const std::string path = folder + "/seed-" + std::to_string(seed) + ".script";
		std::ofstream file(path);
		for (const std::string& line : generator.Make(64))
			file << line << '\n';
		if (!file) {
			fprintf(stderr, "script_seeds: cannot write %s\n", path.c_str());
			return 1;
		}
	}
	return 0;
}
