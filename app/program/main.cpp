// reshost: a host for resource add-ons; shows the hex dump editor for files.

#include "HostProgram.h"

int main(int argc, char** argv)
{
	HostProgram program;
	return program.Run(argc, argv);
}
