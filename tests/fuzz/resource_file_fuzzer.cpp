// libFuzzer target for the resource file reader and the locator of
// resources in executables: any bytes either parse or give an error
// message; what parses writes out again behind the same leading bytes (an
// executable's image unchanged), and that file reads back to the same
// items and writes out to the same bytes.

#include <cstdlib>
#include <cstdio>

#include "ResourceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	ResourceFile file;
	if (file.Parse(data, size) != B_OK) {
		if (file.ErrorMessage().empty() || !file.Items().empty())
			abort();
		return 0;
	}

	std::string written;
	if (file.Flatten(written) != B_OK)
		return 0;
	if (written.compare(0, file.LeadingBytes().size(), file.LeadingBytes()) != 0)
		abort();
	ResourceFile reread;
	if (reread.Parse(written.data(), written.size()) != B_OK) {
		fprintf(stderr, "written file does not read back: %s\n", reread.ErrorMessage().c_str());
		abort();
	}
	std::string rewritten;
	if (reread.Items() != file.Items() || reread.FileKind() != file.FileKind() ||
	    reread.IsBigEndian() != file.IsBigEndian() || reread.Flatten(rewritten) != B_OK ||
	    rewritten != written)
		abort();
	return 0;
}
