// BPath: an absolute path, made from an entry_ref. The ref's directory must
// be one this process has named by path before (get_ref_for_path records
// it) and must still be there. A plain value.
#ifndef _PATH_H
#define _PATH_H

#include <Entry.h>
#include <SupportDefs.h>

#include <string>

class _IMPEXP_BE BPath
{
public:
	BPath();
	BPath(const BPath& path);
	BPath(const entry_ref* ref);
	virtual ~BPath();

	// B_NO_INIT until set; B_BAD_VALUE for a NULL ref; B_ENTRY_NOT_FOUND when
	// the ref's directory is unknown or gone.
	status_t InitCheck() const;
	status_t SetTo(const entry_ref* ref);
	void Unset();

	// NULL while not initialised.
	const char* Path() const;
	// The last component ("" for the root); NULL while not initialised.
	const char* Leaf() const;

	BPath& operator=(const BPath& path);

private:
	std::string fPath;
	status_t fStatus;
};

#endif // _PATH_H
