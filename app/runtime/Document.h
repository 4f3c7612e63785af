// Document: the host's document: an ordered set of items (type code, id,
// name, data), one reader-writer lock, named undo steps, a modified flag
// against the last save point, and a change queue per watcher (every add-on
// base with a change target). Owned by the program or a test; any thread may
// call it. It must outlive every add-on base made with its AddonArgs().
#ifndef DOCUMENT_H
#define DOCUMENT_H

#include <ResourceAddonArgs.h>
#include <ResourceCollection.h>
#include <ResourceHandle.h>
#include <ResourceItem.h>
#include <SupportDefs.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

class BHandler;
class BResourceAddonBase;

class Document
{
public:
	Document();
	~Document();
	Document(const Document&) = delete;
	Document& operator=(const Document&) = delete;

	// Adds an item with a copy of data; not an undoable step.
	BResourceHandle AddItem(type_code type, int32 id, const char* name, const void* data,
	                        size_t length);
	int32 CountItems() const;
	// An invalid handle for an index out of range.
	BResourceHandle ItemAt(int32 index) const;
	// NULL for an invalid handle or one of another document. Read it while
	// no other thread writes (the program's thread, a test), or through
	// ReadItem.
	const BResourceItem* Item(const BResourceHandle& item) const;
	// Calls reader with the item under the read lock, so that no window's
	// edit changes it meanwhile; B_BAD_VALUE for an invalid handle.
	status_t ReadItem(const BResourceHandle& item,
	                  const std::function<void(const BResourceItem&)>& reader) const;

	BResourceAddonArgs AddonArgs();

	// Undo and Redo take the write lock and replay one user step; every
	// watcher is told of the items it touched. B_ERROR when there is none.
	status_t Undo();
	status_t Redo();
	bool CanUndo() const;
	bool CanRedo() const;
	// The name of the step Undo or Redo would replay ("typing"), or empty
	// when there is none.
	std::string UndoName() const;
	std::string RedoName() const;
	// The item the step Undo or Redo would replay changes first, or an
	// invalid handle when there is none.
	BResourceHandle UndoItem() const;
	BResourceHandle RedoItem() const;
	// Ends the run of edits that the next step could join: the user did
	// something else between them (a click, a cursor move).
	void EndUndoRun();

	bool IsModified() const;
	void MarkSaved();

	// Listeners are called after every change of items, undo state or
	// modified flag, on the thread that made it, with no lock held, in the
	// order they were added. AddListener returns the id RemoveListener takes.
	int32 AddListener(std::function<void()> listener);
	void RemoveListener(int32 id);
	// Called whenever an add-on base asks for the write lock, before it is
	// granted or refused, with the undo name: lets tests see the order of
	// events around a write.
	void SetWriteLockObserver(std::function<void(const char* undoName)> observer);
	// While set, add-on bases get NULL from ReadLock or WriteLock.
	void SetRefuseReadLock(bool refuse);
	void SetRefuseWriteLock(bool refuse);
	// While above 0, no item grows beyond this many bytes (the most the
	// program can open again, or memory running out in a test): InsertData
	// then fails with B_NO_MEMORY, and listeners hear of the refusal.
	void SetItemSizeLimit(size_t limit);
	size_t ItemSizeLimit() const { return fItemSizeLimit; }
	// How many insertions the limit has refused, and the item of the last.
	uint32 CountRefusedGrowths() const;
	BResourceHandle LastRefusedItem() const;

private:
	friend class BResourceAddonBase;
	friend class BResourceCollection;
	friend class BResourceItem;

	struct Edit
	{
		BResourceItem* item;
		bool insertion;
		off_t position;
		std::string bytes;
	};
	// One user step: the edits of one or more write locks, in order. Edits
	// of one run are folded together as they are added (see AppendEdit).
	struct Step
	{
		std::string name;
		std::vector<Edit> edits;
	};
	struct Watcher
	{
		BHandler* target;
		// Items in the order of their first change, bits OR-ed.
		std::vector<std::pair<BResourceItem*, uint32>> pending;
	};

	// Add-on base side, called through BResourceAddonBase.
	const BResourceCollection* LockForReading();
	void UnlockForReading();
	BResourceCollection* LockForWriting(const char* undoName);
	void UnlockForWriting();
	void SetWatcher(const BResourceAddonBase* who, BHandler* target);
	void RemoveWatcher(const BResourceAddonBase* who);

	// Collection and item side, under the lock.
	BResourceItem* Resolve(const BResourceHandle& item) const;
	void BeginItemWrite(BResourceItem* item, const BResourceAddonBase* who);
	void RecordEdit(BResourceItem* item, bool insertion, off_t position, const void* bytes,
	                size_t length);
	BResourceHandle TakeNextChange(const BResourceAddonBase* who, uint32* changes);

	// Keeps a closed write step for undo, merged with the last one when it
	// continues it.
	void RecordStep(Step& step);
	// Applies the inverse of the step's edits, last first.
	static void TakeBack(const Step& step);
	// Adds an edit to a step's edits, folded into the last one when it
	// continues it (a typed run, a run of Backspaces or Deletes).
	static void AppendEdit(std::vector<Edit>& edits, Edit&& edit);
	// Whether edit carries on where last left off: at the end of or inside
	// an inserted run, against the start of a removed one, or inserting
	// where a removed one was.
	static bool Continues(const Edit& last, const Edit& edit);
	void QueueChange(BResourceItem* item, uint32 bits, const BResourceAddonBase* except);
	status_t Replay(bool undo);
	void PostNotices();
	void NotifyListeners();
	// Whether growing item to size bytes passes the limit; a refusal is
	// counted and reported to listeners when the write lock is released.
	bool RefusesGrowth(BResourceItem* item, size_t size);

	mutable std::shared_mutex fLock;
	// Guards the undo history, the watchers and the settings below; never
	// held while waiting for fLock.
	mutable std::mutex fStateLock;

	// Owned: deleted by the destructor (their destructors are the host's).
	std::vector<BResourceItem*> fItems;
	BResourceCollection* fCollection;

	// The write lock's open step, and whose writes it holds.
	Step fOpenStep;
	std::map<BResourceItem*, const BResourceAddonBase*> fOpenWriters;

	std::vector<Step> fUndo;
	std::vector<Step> fRedo;
	// The top of fUndo may take a step of its name that continues its
	// last edit.
	bool fMergeOpen;
	// The depth of fUndo at the last save; -1 once that state cannot return.
	int32 fSavedDepth;

	std::map<const BResourceAddonBase*, Watcher> fWatchers;

	std::vector<std::pair<int32, std::function<void()>>> fListeners;
	int32 fNextListener;
	std::function<void(const char*)> fWriteLockObserver;
	bool fRefuseRead;
	bool fRefuseWrite;
	std::atomic<size_t> fItemSizeLimit;
	uint32 fRefusedGrowths;
	BResourceItem* fLastRefused;
	// Set under the write lock when the open step saw a refusal.
	bool fOpenRefused;
};

#endif // DOCUMENT_H
