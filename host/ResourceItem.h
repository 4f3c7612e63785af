// BResourceItem: one item of a host document: type code, id, name and data
// bytes. Owned by its document; read under the host's read lock, changed
// through RemoveData and InsertData under its write lock.
#ifndef _RESOURCE_ITEM_H
#define _RESOURCE_ITEM_H

#include <BeBuild.h>
#include <DataIO.h>
#include <String.h>
#include <SupportDefs.h>

class Document;

class _EXPORT BResourceItem
{
public:
	type_code Type() const;
	int32 ID() const;
	const char* Name() const;
	const BMallocIO& DataIO() const;

	// B_BAD_VALUE, and nothing changed, for a run that does not lie within
	// the data (removal) or a position past its end (insertion);
	// B_NO_MEMORY, and nothing changed, when the data cannot grow.
	virtual status_t RemoveData(off_t position, size_t length);
	virtual status_t InsertData(off_t position, const void* bytes, size_t length);

private:
	friend class Document;

	BResourceItem(Document* owner, type_code type, int32 id, const char* name, const void* data,
	              size_t length);
	virtual ~BResourceItem();
	BResourceItem(const BResourceItem&);
	BResourceItem& operator=(const BResourceItem&);

	// Apply a change without recording it; the document's undo and redo
	// replay through these. Each moves the bytes after the change once,
	// within the data's own buffer. Insert fails, changing nothing, when
	// the buffer cannot grow.
	void Remove(off_t position, size_t length);
	status_t Insert(off_t position, const void* bytes, size_t length);
	// Moves the bytes after the run down over it and shrinks the data.
	void MoveOut(off_t position, size_t length);
	// Moves the bytes from position on up by length, into room already
	// made, and writes the run there.
	void MoveIn(off_t position, const void* bytes, size_t length, size_t oldSize);
	// Writes an insertion over the pending removal it replaces.
	status_t Replace(off_t position, const void* bytes, size_t length);

	// A removal is recorded at once but its bytes stay until anything else
	// touches the data: an insertion of as many bytes at the same place (a
	// replaced byte) then writes over them without moving the tail at all;
	// anything else, a read, or the end of the write lock, takes them out
	// first. Only the writer can see them, so a read casts the const away
	// (items are never made const).
	void TakeOutPendingRemoval() const;

	Document* fOwner;
	type_code fType;
	int32 fID;
	BString fName;
	BMallocIO fData;
	bool fRemovalPending;
	off_t fPendingPosition;
	size_t fPendingLength;
};

#endif // _RESOURCE_ITEM_H
