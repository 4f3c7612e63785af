// BPath: the path of an entry_ref, from the directory record.
#include <Path.h>

#include "DirectoryRecord.h"

#include <string.h>

BPath::BPath() : fStatus(B_NO_INIT) {}

BPath::BPath(const BPath& path) : fPath(path.fPath), fStatus(path.fStatus) {}

BPath::BPath(const entry_ref* ref) : fStatus(B_NO_INIT)
{
	SetTo(ref);
}

BPath::~BPath() {}

status_t BPath::InitCheck() const
{
	return fStatus;
}

status_t BPath::SetTo(const entry_ref* ref)
{
	Unset();
	if (ref == NULL || ref->name == NULL || ref->name[0] == '\0' || strchr(ref->name, '/') != NULL)
		return fStatus = B_BAD_VALUE;
	std::string directory;
	if (status_t status = BPrivate::FindDirectory(ref->device, ref->directory, &directory);
	    status != B_OK)
		return fStatus = status;
	if (std::string(ref->name) == ".")
		fPath = directory;
	else
		fPath = directory == "/" ? "/" + std::string(ref->name) : directory + "/" + ref->name;
	return fStatus = B_OK;
}

void BPath::Unset()
{
	fPath.clear();
	fStatus = B_NO_INIT;
}

const char* BPath::Path() const
{
	return fStatus == B_OK ? fPath.c_str() : NULL;
}

const char* BPath::Leaf() const
{
	if (fStatus != B_OK)
		return NULL;
	return fPath.c_str() + fPath.rfind('/') + 1;
}

BPath& BPath::operator=(const BPath& path)
{
	fPath = path.fPath;
	fStatus = path.fStatus;
	return *this;
}
