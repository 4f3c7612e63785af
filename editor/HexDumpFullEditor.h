// HexDumpFullEditor: the full editor the host shows for one resource item.
// It is a host editor and the view "HexEditor" that holds the scroll view
// "StringScroll" around the dump view. It owns fData, the working copy of
// the item's bytes, and keeps it and the host's item in step both ways.
// Built on any host thread; afterwards it runs on its window's thread, except
// Retarget, which any thread may call.
#ifndef HEX_DUMP_FULL_EDITOR_H
#define HEX_DUMP_FULL_EDITOR_H

#include <FullItemEditor.h>
#include <ResourceAddonArgs.h>
#include <ResourceHandle.h>
#include <String.h>
#include <SupportDefs.h>
#include <View.h>

class BMessage;
class BResourceCollection;
class BResourceItem;
class HexDumpView;

class HexDumpFullEditor : public BFullItemEditor, public BView
{
public:
	HexDumpFullEditor(const BResourceAddonArgs& args, BResourceHandle item);
	virtual ~HexDumpFullEditor();

	// BFullItemEditor
	virtual status_t Retarget(BResourceHandle item);
	virtual BView* View();

	// BView
	virtual void MessageReceived(BMessage* message);
	virtual void DetachedFromWindow();
	virtual void MakeFocus(bool focus = true);
	virtual void GetPreferredSize(float* width, float* height);

	void PickUpDataChange(const BResourceCollection* collection, BResourceHandle& item,
	                      uint32 changes);

	void ModifyCharAt(uint32 offset, uchar value, const char* undoName, bool notify);
	void DeleteRange(uint32 start, uint32 end, const char* undoName, bool notify);
	void Insert(uint32 offset, const char* bytes, uint32 length, const char* undoName, bool notify);
	void SetData(const char* bytes, uint32 length, bool notify);

	uint32 Size() const;
	const char* Data() const;

	HexDumpView* DumpView() const { return fHexView; }

private:
	// Copies the primary item's data into the working copy and tells the
	// view: as a change of some of its bytes when the item is the one shown
	// before, as new bytes when it is another.
	void ReloadWorkingCopy(const BResourceItem* primary, bool sameItem);

	HexDumpView* fHexView;
	BString fData;
};

#endif // HEX_DUMP_FULL_EDITOR_H
