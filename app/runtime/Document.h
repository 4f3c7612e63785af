// Document: the host's document: an ordered list of items (type code, id,
// name, data), one reader-writer lock, named undo steps made of changes
// (byte edits, items added, removed, info changed), a modified flag against
// the last save point, and a change queue per watcher (every add-on base with
// a change target). Owns every item it ever held until it goes: a removed
// item lives on for the undo step that may bring it back, so a handle never
// names another item. Owned by the session or a test; any thread may call it.
// It must outlive every add-on base made with its AddonArgs().
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
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

class BHandler;
class BResourceAddonBase;

// What changed in an item, as change notices and listeners carry it. Data
// is the add-on interface's own bit; the others are the host's.
enum
{
	kItemDataChanged = B_RESOURCE_DATA_CHANGED,
	kItemInfoChanged = 0x10,
	kItemAdded = 0x20,
	kItemRemoved = 0x40
};

// The longest item name, in bytes.
const size_t kMaxItemNameLength = 255;

class Document
{
public:
	Document();
	~Document();
	Document(const Document&) = delete;
	Document& operator=(const Document&) = delete;

	// One item's changes, kItem* bits OR-ed.
	struct ItemChange
	{
		BResourceHandle item;
		uint32 changes;
	};

	// Adds an item with a copy of data at the end, as a file is read; not an
	// undoable step.
	BResourceHandle AddItem(type_code type, int32 id, const char* name, const void* data,
	                        size_t length);
	// The live items, in list order.
	int32 CountItems() const;
	// An invalid handle for an index out of range.
	BResourceHandle ItemAt(int32 index) const;
	// -1 for a handle that names no live item.
	int32 IndexOf(const BResourceHandle& item) const;
	// The live items in list order, read at once.
	std::vector<BResourceHandle> Items() const;
	// Hashes handles by the item they name, for sets of handles.
	struct HandleHash
	{
		size_t operator()(const BResourceHandle& item) const;
	};

	// The operations below are each one undo step, named "add item",
	// "remove item", "item info" and "import"; every watcher is told of the
	// items they change. On a refusal they change nothing and, when error
	// is given, put one line there that says why.
	// Inserts an item before index (CountItems() appends): B_NAME_IN_USE when
	// an item of the type has the id, B_NAME_TOO_LONG for a name of more
	// than kMaxItemNameLength bytes, B_BAD_INDEX for an index out of range,
	// B_NO_MEMORY for data beyond the item size limit.
	status_t InsertItem(int32 index, type_code type, int32 id, const char* name, const void* data,
	                    size_t length, BResourceHandle* added = NULL, std::string* error = NULL);
	// Removes the items, in the order given; B_BAD_VALUE, with nothing
	// removed, when one names no live item or none is given.
	status_t RemoveItems(const std::vector<BResourceHandle>& items, std::string* error = NULL);
	// Gives the item a new type, id and name, refused as InsertItem refuses.
	status_t SetItemInfo(const BResourceHandle& item, type_code type, int32 id, const char* name,
	                     std::string* error = NULL);
	// Replaces the item's data with a copy of these bytes.
	status_t ReplaceItemData(const BResourceHandle& item, const void* data, size_t length,
	                         std::string* error = NULL);
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
	// order they were added, with the items changed (none when only the undo
	// state, the modified flag or a refusal changed). AddListener returns the
	// id RemoveListener takes.
	typedef std::function<void(const std::vector<ItemChange>& changes)> Listener;
	int32 AddListener(Listener listener);
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

	// Deletes an item, whose destructor is the host's.
	struct ItemDeleter
	{
		void operator()(BResourceItem* item) const;
	};
	typedef std::unique_ptr<BResourceItem, ItemDeleter> OwnedItem;

	// One change of a step; applying it the other way takes it back.
	struct Edit
	{
		enum Kind
		{
			kBytes,
			kAdd,
			kRemove,
			kInfo
		};
		Kind kind;
		BResourceItem* item;
		// kBytes: bytes inserted at position, or removed from there.
		bool insertion;
		off_t position;
		std::string bytes;
		// kAdd, kRemove: the item's index in the list once added, or before
		// it went.
		int32 index;
		// kInfo: the info the item does not have now; applying the change
		// swaps it with the item's.
		type_code type;
		int32 id;
		std::string name;
	};
	// One user step: the changes of one or more write locks, or of one
	// operation, in order. Byte edits of one run are folded together as
	// they are added (see AppendEdit).
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
	// Applies one change, forward or back; the list must have room for an
	// added item (see Reserve).
	void Apply(Edit& edit, bool forward);
	// Applies the step's changes in order, or their inverses last first.
	void ApplyStep(Step& step, bool forward);
	// Makes room so that replaying step cannot run out of memory midway.
	void Reserve(const Step& step);
	// Runs an operation's step: applies it under the write lock, keeps it
	// for undo as a step of its own and tells watchers and listeners.
	status_t RunStep(Step&& step, std::string* error);
	// Why an item may not take this type, id and name (other than except),
	// or B_OK; under the lock.
	status_t CheckInfo(type_code type, int32 id, const char* name, const BResourceItem* except,
	                   std::string* error) const;
	static uint32 ChangeBits(const Edit& edit, bool forward);
	static void NoteChange(std::vector<ItemChange>& changes, BResourceItem* item, uint32 bits);
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
	void NotifyListeners(const std::vector<ItemChange>& changes = {});
	// Whether growing item to size bytes passes the limit; a refusal is
	// counted and reported to listeners when the write lock is released.
	bool RefusesGrowth(BResourceItem* item, size_t size);
	// Whether length bytes are more than the size limit lets an item hold;
	// error then says why.
	bool RefusesData(size_t length, std::string* error) const;

	mutable std::shared_mutex fLock;
	// Guards the undo history, the watchers and the settings below; never
	// held while waiting for fLock.
	mutable std::mutex fStateLock;

	// Every item made, live or removed.
	std::vector<OwnedItem> fOwned;
	// The live items in list order.
	std::vector<BResourceItem*> fItems;
	// Whether each item made is in the list: an entry is made with the item,
	// so that adding and removing it later allocates nothing.
	std::unordered_map<const BResourceItem*, bool> fLive;
	BResourceCollection* fCollection;

	// The write lock's open step, and whose writes it holds.
	Step fOpenStep;
	std::map<BResourceItem*, const BResourceAddonBase*> fOpenWriters;
	// What the open write step changed, for listeners.
	std::vector<ItemChange> fOpenChanges;

	std::vector<Step> fUndo;
	std::vector<Step> fRedo;
	// The top of fUndo may take a step of its name that continues its
	// last edit.
	bool fMergeOpen;
	// The depth of fUndo at the last save; -1 once that state cannot return.
	int32 fSavedDepth;

	std::map<const BResourceAddonBase*, Watcher> fWatchers;

	std::vector<std::pair<int32, Listener>> fListeners;
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
