// Gives every test program the build's folders through the environment,
// before any test runs: where the programs and the add-on image are, the
// source tree, and where tests leave pictures for people to look at. A
// variable already set (by ctest or by hand) wins.

#include <stdlib.h>

namespace {

struct TestEnvironment
{
	TestEnvironment()
	{
		setenv("HEXDUMP_ADDON_PATH", HEXDUMP_ADDON_PATH_VALUE, 0);
		setenv("HEXDUMP_BIN_DIR", HEXDUMP_BIN_DIR_VALUE, 0);
		setenv("HEXDUMP_SOURCE_DIR", HEXDUMP_SOURCE_DIR_VALUE, 0);
		setenv("HEXDUMP_ARTIFACT_DIR", HEXDUMP_ARTIFACT_DIR_VALUE, 0);
	}
};

const TestEnvironment kTestEnvironment;

} // namespace
